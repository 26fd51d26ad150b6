// Splitting N independent evaluations into contiguous chunks, one per thread.
// Each evaluation uses a state of its own, so no lock is taken.
#ifndef WHEELSOIL_BATCH_PARALLEL_CHUNKS_H
#define WHEELSOIL_BATCH_PARALLEL_CHUNKS_H

#include <algorithm>
#include <cstddef>
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

// Calls body(begin, end) over [0, count) in `threads` contiguous chunks, the
// first on the calling thread.
template <class Body>
void for_chunks(std::size_t count, unsigned threads, Body body) {
  const unsigned n = thread_count(count, threads);
  if (n <= 1) {
    body(std::size_t(0), count);
    return;
  }
  std::vector<std::thread> workers;
  workers.reserve(n - 1);
  const std::size_t chunk = count / n, extra = count % n;
  std::size_t begin = 0;
  std::size_t first_end = 0;
  for (unsigned t = 0; t < n; ++t) {
    const std::size_t end = begin + chunk + (t < extra ? 1 : 0);
    if (t == 0)
      first_end = end;
    else
      workers.emplace_back(body, begin, end);
    begin = end;
  }
  body(std::size_t(0), first_end);
  for (auto &w : workers) w.join();
}

}  // namespace batch

#endif
