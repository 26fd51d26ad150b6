// pindrel's core on arbitrary bit patterns: one to four 20-slot vectors laid
// over a realistic wheel. Holds when: nothing crashes or trips a sanitizer;
// a vector gives the same bits every time, also after other vectors; slots
// 4, 18 and 19 change nothing; evaluating a state of its own gives the
// driver's bits; the batch path on two threads gives the single-call bits.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_input.h"
#include "load_integral.h"
#include "load_model.h"
#include "load_model_batch.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using wheelsoil::detail::load_model::run_load_model;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  fuzz::Bytes bytes{data, size};
  const std::vector<double> in = fuzz::vectors(bytes, fuzz::pindrel_base, 20, 4);
  const std::size_t count = in.size() / 20;

  std::vector<double> single(count);
  for (std::size_t k = 0; k < count; ++k) run_load_model(&single[k], &in[20 * k]);

  double again;
  run_load_model(&again, in.data());
  fuzz::require(fuzz::same_bits(&again, single.data(), 1), "repeat gives the same bits");

  std::vector<double> spare(in.begin(), in.begin() + 20);
  spare[4] = in[20 * (count - 1) + 19];
  spare[18] = in[20 * (count - 1) + 0];
  spare[19] = -spare[19];
  double spared;
  run_load_model(&spared, spare.data());
  fuzz::require(fuzz::same_bits(&spared, single.data(), 1), "slots 4, 18, 19 have no effect");

  LoadModelInput first;
  std::memcpy(&first, in.data(), sizeof first);
  const double own = load_model::evaluate(load_model::make_state(first));
  fuzz::require(fuzz::same_bits(&own, single.data(), 1), "own state equals the driver");

  std::vector<double> batch(count, -1.0);
  load_model::evaluate_batch(in.data(), batch.data(), count, 2);
  fuzz::require(fuzz::same_bits(batch.data(), single.data(), count), "batch equals single calls");
  return 0;
}
