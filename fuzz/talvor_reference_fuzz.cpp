// talvor's fused evaluator against the plain reference path (one quadrature
// call per integral over the coordinate-only functions), on one 29-slot
// vector of arbitrary bits laid over a realistic wheel: the same value in
// every slot, a NaN matching any NaN. The reference path costs some
// milliseconds a call, so each run evaluates one vector.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_input.h"
#include "wheel_soil_model.h"

using namespace wheelsoil::detail;
using wheelsoil::detail::full_model::run_model;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  fuzz::Bytes bytes{data, size};
  const std::vector<double> in = fuzz::vectors(bytes, fuzz::talvor_base, 29, 1);
  double fused[18], plain[18];
  run_model(fused, in.data());
  full_model::run_model_reference(plain, in.data());
  fuzz::require(fuzz::same_values(fused, plain, 18), "fused path equals the reference path");
  fuzz::require(fuzz::same_bits(plain + 12, plain, 6), "reference slots 12-17 copy slots 0-5");
  return 0;
}
