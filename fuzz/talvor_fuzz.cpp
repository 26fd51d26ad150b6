// talvor's core on arbitrary bit patterns: one to four 29-slot vectors laid
// over a realistic wheel. Holds when: nothing crashes or trips a sanitizer;
// a vector gives the same bits every time, also after other vectors; slots
// 12-17 are bit copies of 0-5; slots 21, 26 and 27 change nothing; the batch
// path on two threads gives each vector's single-call bits; the default path
// and the vector maths give the same bits on every unit this machine runs.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_input.h"
#include "vector_loads.h"
#include "wheel_soil_batch.h"
#include "wheel_soil_model.h"

using namespace wheelsoil::detail;
using wheelsoil::WheelSoilInput;
using wheelsoil::WheelSoilOutput;
using wheelsoil::detail::full_model::ModelState;
using wheelsoil::detail::full_model::run_model;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  fuzz::Bytes bytes{data, size};
  const std::vector<double> in = fuzz::vectors(bytes, fuzz::talvor_base, 29, 4);
  const std::size_t count = in.size() / 29;

  std::vector<double> single(18 * count);
  for (std::size_t k = 0; k < count; ++k) run_model(&single[18 * k], &in[29 * k]);

  // The first vector once more, after all the others: the same bits.
  double again[18];
  run_model(again, in.data());
  fuzz::require(fuzz::same_bits(again, single.data(), 18), "repeat gives the same bits");

  for (std::size_t k = 0; k < count; ++k)
    fuzz::require(fuzz::same_bits(&single[18 * k + 12], &single[18 * k], 6),
                  "slots 12-17 copy slots 0-5");

  // The slots without effect, set to another vector's bits.
  std::vector<double> spare(in.begin(), in.begin() + 29);
  spare[21] = in[29 * (count - 1) + 28];
  spare[26] = in[29 * (count - 1) + 0];
  spare[27] = -spare[27];
  double spared[18];
  run_model(spared, spare.data());
  fuzz::require(fuzz::same_bits(spared, single.data(), 18), "slots 21, 26, 27 have no effect");

  std::vector<double> batch(18 * count, -1.0);
  full_model::evaluate_batch(in.data(), batch.data(), count, 2);
  fuzz::require(fuzz::same_bits(batch.data(), single.data(), batch.size()),
                "batch equals single calls");

  // Every unit of either evaluation: the same values (NaN bits aside, which
  // the hardware propagates as it will).
  WheelSoilInput first;
  std::memcpy(&first, in.data(), sizeof first);
  const ModelState m = full_model::make_state(first);
  using full_model::VectorUnit;
  for (VectorUnit u : {VectorUnit::sse2, VectorUnit::avx, VectorUnit::avx512}) {
    WheelSoilOutput out;
    if (full_model::evaluate_on(u, m, &out))
      fuzz::require(fuzz::same_values(&out.rim_fx, single.data(), 18), "default units agree");
  }
  WheelSoilOutput widest;
  full_model::vector_loads(m, &widest);
  for (VectorUnit u : {VectorUnit::scalar, VectorUnit::sse2, VectorUnit::avx, VectorUnit::avx512}) {
    WheelSoilOutput out;
    if (full_model::vector_loads_on(u, m, &out))
      fuzz::require(fuzz::same_values(&out.rim_fx, &widest.rim_fx, 18), "vector units agree");
  }
  return 0;
}
