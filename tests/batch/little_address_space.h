// Confining a child process to the address space it already uses and a
// MiB more, so that the system refuses to start any
// further thread: for the tests that a batch survives threads it cannot have.
#ifndef WHEELSOIL_TESTS_BATCH_LITTLE_ADDRESS_SPACE_H
#define WHEELSOIL_TESTS_BATCH_LITTLE_ADDRESS_SPACE_H

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <system_error>
#include <thread>

// Sanitizer runtimes reserve more address space than the limit leaves.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define WHEELSOIL_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define WHEELSOIL_SANITIZED 1

#endif

#endif

// The address space this process uses now (bytes), from /proc/self/statm.
inline unsigned long long address_space_in_use() {
  unsigned long long pages = 0;
  if (std::FILE *f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%llu", &pages) != 1) pages = 0;
    std::fclose(f);
  }
  return pages * static_cast<unsigned long long>(sysconf(_SC_PAGESIZE));
}

// Room for the heap of a small batch, but not for one more thread stack
// (glibc's are 2 MiB at the least).
constexpr unsigned long long heap_room = 1ull << 20;

inline void limit_address_space() {
  const rlimit stack{8u << 20, 8u << 20};
  setrlimit(RLIMIT_STACK, &stack);
  const rlim_t in_use = address_space_in_use();
  const rlimit space{in_use + heap_room, in_use + heap_room};
  setrlimit(RLIMIT_AS, &space);
}

// True when the system refuses to start one more thread, as it should under
// the limit.
inline bool threads_refused() {
  try {
    std::thread([] {}).join();
    return false;
  } catch (const std::system_error &) {
    return true;
  }
}

#endif
