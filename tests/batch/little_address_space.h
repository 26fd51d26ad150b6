// Confining a child process to 1 GiB of address space with 8 MiB thread
// stacks, so that it cannot start 1024 threads: for the tests that a batch
// survives threads the system refuses.
#ifndef WHEELSOIL_TESTS_BATCH_LITTLE_ADDRESS_SPACE_H
#define WHEELSOIL_TESTS_BATCH_LITTLE_ADDRESS_SPACE_H

#include <sys/resource.h>

// Sanitizer runtimes reserve more address space than the limit leaves.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define WHEELSOIL_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define WHEELSOIL_SANITIZED 1
#endif
#endif

inline void limit_address_space() {
  const rlimit stack{8u << 20, 8u << 20};
  const rlimit space{1u << 30, 1u << 30};
  setrlimit(RLIMIT_STACK, &stack);
  setrlimit(RLIMIT_AS, &space);
}

#endif
