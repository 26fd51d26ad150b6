// The one batch runner behind every batch (talvor, pindrel, the operating
// point, from the C and C++ interfaces, the MEX gateways and the tool): N
// independent items shared among threads in small blocks. Each item uses a
// state of its own and writes only its own outputs, so no lock is taken; the
// threads take blocks in index order, which keeps them all busy when some
// items cost more than others. Standard library only.
#ifndef WHEELSOIL_API_BATCH_RUNNER_H
#define WHEELSOIL_API_BATCH_RUNNER_H

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

namespace wheelsoil::detail {

// The largest thread count a batch accepts (it starts no more than the
// hardware threads).
constexpr unsigned max_batch_threads = 1024;

// Asked between blocks, on the calling thread: nonzero stops the batch.
struct BatchHook {
  int (*function)(void *context, std::size_t done, std::size_t total) = nullptr;
  void *context = nullptr;
};

// How far a batch got: all items, or (stopped) the items [0, done).
struct BatchOutcome {
  std::size_t done = 0;
  bool stopped = false;
};

// The hardware threads, or 1 where the system does not say.
inline unsigned hardware_threads() { return std::max(1u, std::thread::hardware_concurrency()); }

// The thread count for count items in blocks of `block` when `requested`
// were asked for (0: one per hardware thread): never more threads than
// blocks, nor than hardware threads, since more only cost their start and
// their share of the work's memory.
inline unsigned batch_thread_count(std::size_t count, std::size_t block, unsigned requested) {
  const unsigned hardware = hardware_threads();
  unsigned n = requested ? std::min(requested, hardware) : hardware;
  n = std::min(n, max_batch_threads);
  const std::size_t blocks = block ? (count + block - 1) / block : count;
  if (blocks < n) n = unsigned(std::max<std::size_t>(blocks, 1));
  return n;
}

// Items per block of each batch, in every interface. A block is about the
// cost of starting a thread (0.1 to 0.3 ms), so that a batch too small to
// repay its threads runs on fewer of them, and the shared index and the hook
// stay out of the way: four talvor evaluations, 256 pindrel evaluations
// (about a microsecond each), one operating point (their costs differ).
constexpr std::size_t talvor_block = 4;
constexpr std::size_t pindrel_block = 256;
constexpr std::size_t equilibrium_block = 1;

// How often the calling thread asks the hook while it waits for the others.
constexpr std::chrono::milliseconds batch_hook_interval{20};

// Calls body(begin, end) over blocks of `block` items covering [0, count)
// exactly once, on up to `threads` threads, the calling thread among them.
// The calling thread calls hook (if any) after each of its blocks, and every
// batch_hook_interval while it waits for the other threads' last blocks;
// when it says stop, no new block is started. Blocks are taken in index
// order and every block taken is finished, so the items done always form a
// prefix. body must write only the outputs of its own items, so that a
// block may be run again from its start.
//
// An exception from body or hook never leaves a worker thread: the first one
// stops the batch and is rethrown here, on the calling thread, once every
// worker has joined. Two shortages are no error: a thread the system will
// not start (no address space for its stack), and memory refused to a
// helper thread (std::bad_alloc from body there). The helper then leaves
// the batch and the calling thread runs that block again once the others
// have joined, so the work ends with as many threads as the memory allows.
// Memory refused to the calling thread itself is rethrown as above.
template <class Body>
BatchOutcome run_batch(std::size_t count, unsigned threads, std::size_t block, Body &&body,
                       const BatchHook &hook = {}) {
  block = std::max<std::size_t>(block, 1);
  const unsigned n = batch_thread_count(count, block, threads);
  std::atomic<std::size_t> next{0};
  std::atomic<std::size_t> finished{0};
  std::atomic<bool> stop{false};
  std::exception_ptr error;
  std::mutex error_mutex;
  // Blocks left by helpers that ran out of memory: at most one per helper,
  // each stored in a slot reserved before any helper starts.
  struct Block {
    std::size_t begin, end;
  };
  std::vector<Block> left(n);
  std::atomic<unsigned> left_count{0};

  auto fail = [&](std::exception_ptr e) {
    std::lock_guard<std::mutex> lock(error_mutex);
    if (!error) error = e;
    stop.store(true);
  };
  auto ask_hook = [&](std::size_t done) {
    try {
      if (hook.function(hook.context, done, count) != 0) stop.store(true);
    } catch (...) {
      fail(std::current_exception());
    }
  };
  auto work = [&](bool calling_thread) {
    while (!stop.load(std::memory_order_relaxed)) {
      const std::size_t begin = next.fetch_add(block);
      if (begin >= count) return;
      const std::size_t end = std::min(begin + block, count);
      try {
        body(begin, end);
      } catch (const std::bad_alloc &) {
        if (calling_thread) {
          fail(std::current_exception());
        } else {
          left[left_count.fetch_add(1)] = {begin, end};
        }
        return;
      } catch (...) {
        fail(std::current_exception());
        return;
      }
      const std::size_t done = finished.fetch_add(end - begin) + (end - begin);
      if (calling_thread && hook.function) ask_hook(done);
    }
  };

  // Helpers report their end, so that the calling thread can keep asking the
  // hook while they finish.
  std::mutex end_mutex;
  std::condition_variable ended;
  unsigned running = 0;
  auto helper = [&] {
    work(false);
    std::lock_guard<std::mutex> lock(end_mutex);
    --running;
    ended.notify_one();
  };

  std::vector<std::thread> helpers;
  if (n > 1) {
    try {
      helpers.reserve(n - 1);
      for (unsigned t = 1; t < n; ++t) {
        {
          std::lock_guard<std::mutex> lock(end_mutex);
          ++running;
        }
        try {
          helpers.emplace_back(helper);
        } catch (...) {
          std::lock_guard<std::mutex> lock(end_mutex);
          --running;
          throw;
        }
      }
    } catch (...) {
    }
  }
  work(true);
  if (hook.function) {
    std::unique_lock<std::mutex> lock(end_mutex);
    while (!ended.wait_for(lock, batch_hook_interval, [&] { return running == 0; })) {
      lock.unlock();
      if (!stop.load()) ask_hook(finished.load());
      lock.lock();
    }
  }
  for (std::thread &h : helpers) h.join();
  // The blocks the helpers could not finish, in index order, so that a stop
  // still leaves a prefix done: they were taken, so they are finished even
  // after a stop, unless an error ends the batch.
  std::sort(left.begin(), left.begin() + left_count.load(),
            [](const Block &a, const Block &b) { return a.begin < b.begin; });
  for (unsigned k = 0; k < left_count.load() && !error; ++k) {
    try {
      body(left[k].begin, left[k].end);
      finished.fetch_add(left[k].end - left[k].begin);
    } catch (...) {
      fail(std::current_exception());
    }
  }
  if (error) std::rethrow_exception(error);
  const std::size_t done = finished.load();
  return {done, done < count};
}

}  // namespace wheelsoil::detail

#endif
