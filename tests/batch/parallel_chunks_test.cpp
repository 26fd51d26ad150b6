// Sharing blocks among threads: every index exactly once, whatever the thread
// count, also when the system refuses to start the threads asked for.
#include <gtest/gtest.h>

#include "little_address_space.h"

#include <atomic>
#include <cstdlib>
#include <vector>

#include "../../batch/parallel_chunks.h"

namespace {

// True when body(begin, end) of for_chunks(count, threads) covered [0, count)
// exactly once.
bool covers_each_index_once(std::size_t count, unsigned threads) {
  std::vector<std::atomic<int>> seen(count);
  batch::for_chunks(count, threads, [&](std::size_t begin, std::size_t end) {
    for (std::size_t k = begin; k < end; ++k) seen[k].fetch_add(1);
  });
  for (const auto &s : seen)
    if (s.load() != 1) return false;
  return true;
}

TEST(ParallelChunks, CoversEachIndexOnceOnAnyThreadCount) {
  for (std::size_t count : {0u, 1u, 3u, 4u, 5u, 17u, 400u})
    for (unsigned threads : {0u, 1u, 2u, 3u, 8u, 64u})
      EXPECT_TRUE(covers_each_index_once(count, threads)) << count << " items, " << threads;
}

TEST(ParallelChunks, NeverMoreThreadsThanItems) {
  EXPECT_EQ(batch::thread_count(0, 8), 1u);
  EXPECT_EQ(batch::thread_count(3, 8), 3u);
  EXPECT_EQ(batch::thread_count(100, 8), 8u);
  EXPECT_GE(batch::thread_count(100, 0), 1u);
}

#ifndef WHEELSOIL_SANITIZED
// In a child process: limits the address space to 1 GiB and the stack of
// each new thread to 8 MiB, runs a 1024-thread batch and exits 0 if it
// covered every index once.
[[noreturn]] void run_with_little_address_space() {
  limit_address_space();
  std::exit(covers_each_index_once(8192, 1024) ? 0 : 1);
}
#endif

// A process with 1 GiB of address space cannot give 1024 threads their 8 MiB
// stacks: the batch still completes, on the threads that did start, instead of
// ending the host process. Run in a child process, which the limit confines.
TEST(ParallelChunksDeathTest, RefusedThreadsLeaveTheWorkToTheOthers) {
#ifdef WHEELSOIL_SANITIZED
  GTEST_SKIP() << "sanitizer runtimes need more address space than the limit leaves";
#else
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(run_with_little_address_space(), ::testing::ExitedWithCode(0), "");
#endif
}

}  // namespace
