// The batch runner: every index exactly once whatever the thread count, a
// stop from the hook leaves a prefix done, an exception from any thread
// reaches the caller after the others have finished, and the system refusing
// threads or a helper's memory is no error.
#include <gtest/gtest.h>

#include "little_address_space.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <thread>
#include <vector>

#include "../../api/batch_runner.h"

namespace {

using wheelsoil::detail::batch_thread_count;
using wheelsoil::detail::BatchHook;
using wheelsoil::detail::BatchOutcome;
using wheelsoil::detail::hardware_threads;
using wheelsoil::detail::run_batch;

// True when run_batch(count, threads, block) called body over [0, count)
// exactly once and reported all of it done.
bool covers_each_index_once(std::size_t count, unsigned threads, std::size_t block = 4) {
  std::vector<std::atomic<int>> seen(count);
  const BatchOutcome r = run_batch(count, threads, block, [&](std::size_t begin, std::size_t end) {
    for (std::size_t k = begin; k < end; ++k) seen[k].fetch_add(1);
  });
  for (const auto &s : seen)
    if (s.load() != 1) return false;
  return r.done == count && !r.stopped;
}

TEST(BatchRunner, CoversEachIndexOnceOnAnyThreadCount) {
  for (std::size_t count : {0u, 1u, 3u, 4u, 5u, 17u, 400u})
    for (unsigned threads : {0u, 1u, 2u, 3u, 8u, 64u})
      for (std::size_t block : {1u, 4u, 64u})
        EXPECT_TRUE(covers_each_index_once(count, threads, block))
            << count << " items, " << threads << " threads, blocks of " << block;
}

TEST(BatchRunner, NeverMoreThreadsThanBlocksNorThanTheHardware) {
  const unsigned hw = hardware_threads();
  EXPECT_EQ(batch_thread_count(0, 4, 8), 1u);
  EXPECT_EQ(batch_thread_count(3, 1, 8), std::min(3u, hw));
  EXPECT_EQ(batch_thread_count(9, 4, 8), std::min(3u, hw));
  EXPECT_EQ(batch_thread_count(100, 1, 8), std::min(8u, hw));
  EXPECT_EQ(batch_thread_count(100000, 1, 1024), hw);
  EXPECT_EQ(batch_thread_count(100000, 1, 0), hw);
  EXPECT_EQ(batch_thread_count(100, 1, 1), 1u);
}

// A hook that stops the batch once `after` items are reported done.
struct StopAfter {
  std::size_t after;
  std::thread::id caller = std::this_thread::get_id();
  std::atomic<int> calls{0};
  bool on_caller = true;
  static int call(void *context, std::size_t done, std::size_t total) {
    auto *s = static_cast<StopAfter *>(context);
    ++s->calls;
    s->on_caller = s->on_caller && std::this_thread::get_id() == s->caller;
    EXPECT_LE(done, total);
    return done >= s->after ? 1 : 0;
  }
};

TEST(BatchRunner, AStopLeavesExactlyAPrefixDone) {
  for (unsigned threads : {1u, 2u, 4u}) {
    const std::size_t count = 1000;
    std::vector<std::atomic<int>> seen(count);
    StopAfter stop{100};
    const BatchHook hook{&StopAfter::call, &stop};
    // Items that take a while, as real ones do, so that the calling thread
    // takes blocks too.
    const BatchOutcome r = run_batch(
        count, threads, 8,
        [&](std::size_t begin, std::size_t end) {
          for (std::size_t k = begin; k < end; ++k) {
            std::this_thread::sleep_for(std::chrono::microseconds(20));
            seen[k].fetch_add(1);
          }
        },
        hook);
    EXPECT_TRUE(r.stopped) << threads;
    EXPECT_GE(r.done, 100u);
    EXPECT_LT(r.done, count);
    for (std::size_t k = 0; k < count; ++k) ASSERT_EQ(seen[k].load(), k < r.done ? 1 : 0) << k;
    EXPECT_TRUE(stop.on_caller);
    EXPECT_GT(stop.calls.load(), 0);
  }
}

TEST(BatchRunner, AnExceptionOnAnyThreadReachesTheCallerAfterTheOthersFinish) {
  for (unsigned threads : {1u, 3u}) {
    std::atomic<int> running{0};
    auto body = [&](std::size_t begin, std::size_t) {
      ++running;
      if (begin == 40) {
        --running;
        throw std::runtime_error("item 40");
      }
      std::this_thread::yield();
      --running;
    };
    try {
      run_batch(400, threads, 1, body);
      ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error &e) {
      EXPECT_STREQ(e.what(), "item 40");
    }
    // Rethrown only once every worker had left its block.
    EXPECT_EQ(running.load(), 0);
  }
  // A throwing hook stops the batch the same way. (On one thread, so that
  // the calling thread surely finishes a block and asks the hook.)
  const BatchHook throwing{
      [](void *, std::size_t, std::size_t) -> int { throw std::logic_error("hook"); }, nullptr};
  std::size_t calls = 0;
  EXPECT_THROW(run_batch(
                   100, 1, 1, [&](std::size_t, std::size_t) { ++calls; }, throwing),
               std::logic_error);
  EXPECT_EQ(calls, 1u);
}

// Memory refused to a helper thread: the helper leaves the batch and the
// calling thread runs its block again, so every item is done once in the end.
// Refused to the calling thread, it reaches the caller.
TEST(BatchRunner, MemoryRefusedToAHelperLeavesItsBlockToTheCaller) {
  const std::thread::id caller = std::this_thread::get_id();
  for (const BatchHook hook :
       {BatchHook{}, BatchHook{[](void *, std::size_t, std::size_t) { return 0; }, nullptr}}) {
    const std::size_t count = 400;
    std::vector<std::atomic<int>> done(count);
    const BatchOutcome r = run_batch(
        count, 0, 2,
        [&](std::size_t begin, std::size_t end) {
          std::this_thread::sleep_for(std::chrono::microseconds(50));
          if (std::this_thread::get_id() != caller) throw std::bad_alloc();
          for (std::size_t k = begin; k < end; ++k) done[k].fetch_add(1);
        },
        hook);
    EXPECT_EQ(r.done, count);
    EXPECT_FALSE(r.stopped);
    for (std::size_t k = 0; k < count; ++k) ASSERT_EQ(done[k].load(), 1) << k;
  }
  EXPECT_THROW(run_batch(100, 0, 1,
                         [&](std::size_t begin, std::size_t) {
                           if (begin == 50) throw std::bad_alloc();
                         }),
               std::bad_alloc);
}

// A helper that runs out of memory after a stop: its block is still
// finished, so the items done remain a prefix.
TEST(BatchRunner, AStopAfterAHelperRanOutOfMemoryStillLeavesAPrefix) {
  const std::thread::id caller = std::this_thread::get_id();
  const std::size_t count = 1000;
  std::vector<std::atomic<int>> seen(count);
  std::atomic<bool> refused{false};
  StopAfter stop{100};
  const BatchOutcome r = run_batch(
      count, 0, 8,
      [&](std::size_t begin, std::size_t end) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        if (std::this_thread::get_id() != caller && !refused.exchange(true)) throw std::bad_alloc();
        for (std::size_t k = begin; k < end; ++k) seen[k].fetch_add(1);
      },
      BatchHook{&StopAfter::call, &stop});
  for (std::size_t k = 0; k < count; ++k) ASSERT_EQ(seen[k].load(), k < r.done ? 1 : 0) << k;
}

#ifndef WHEELSOIL_SANITIZED
// In a child process: leaves no address space for another thread's stack,
// runs a batch on one thread per core and exits 0 if it covered every index
// once.
[[noreturn]] void run_with_little_address_space() {
  limit_address_space();
  if (!threads_refused()) std::exit(2);
  std::exit(covers_each_index_once(8192, 0, 1) ? 0 : 1);
}
#endif

// A process with no address space left for an 8 MiB thread stack: the batch
// still completes, on the calling thread, instead of ending the host process. Run in a child
// process, which the limit confines.
TEST(BatchRunnerDeathTest, RefusedThreadsLeaveTheWorkToTheOthers) {
#ifdef WHEELSOIL_SANITIZED
  GTEST_SKIP() << "sanitizer runtimes need more address space than the limit leaves";
#else
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(run_with_little_address_space(), ::testing::ExitedWithCode(0), "");
#endif
}

}  // namespace
