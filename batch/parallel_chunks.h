// Sharing N independent evaluations among threads. Each evaluation uses a
// state of its own and writes only its own outputs, so no lock is taken; the
// threads take small blocks of indices in turn, which keeps them all busy
// when some evaluations cost more than others.
#ifndef WHEELSOIL_BATCH_PARALLEL_CHUNKS_H
#define WHEELSOIL_BATCH_PARALLEL_CHUNKS_H

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <thread>
#include <vector>

namespace batch {

// The thread count to use for count items when `requested` were asked for:
// 0 asks for one per hardware thread; never more threads than items.
inline unsigned thread_count(std::size_t count, unsigned requested) {
  unsigned n = requested ? requested : std::max(1u, std::thread::hardware_concurrency());
  if (count < n) n = unsigned(std::max<std::size_t>(count, 1));
  return n;
}

// Calls body(begin, end) over blocks covering [0, count) exactly once, on up
// to `threads` threads, the calling thread among them.
template <class Body>
void for_chunks(std::size_t count, unsigned threads, Body body) {
  const unsigned n = thread_count(count, threads);
  if (n <= 1) {
    body(std::size_t(0), count);
    return;
  }
  constexpr std::size_t block = 4;
  std::atomic<std::size_t> next{0};
  auto worker = [&] {
    for (;;) {
      const std::size_t begin = next.fetch_add(block, std::memory_order_relaxed);
      if (begin >= count) return;
      body(begin, std::min(begin + block, count));
    }
  };
  std::vector<std::thread> helpers;
  // A thread the system will not start (too many threads, no address space
  // for its stack) is no error: the threads already running, the calling one
  // among them, take the remaining blocks. Letting the exception out would
  // destroy running threads and end the whole host process.
  try {
    helpers.reserve(n - 1);
    for (unsigned t = 1; t < n; ++t) helpers.emplace_back(worker);
  } catch (const std::exception &) {
  }
  worker();
  for (auto &h : helpers) h.join();
}

}  // namespace batch

#endif
