// The fused evaluator and the batch path give the reference path's bits, over
// the golden cases and generated inputs spanning the degenerate regions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "generated_inputs.h"
#include "wheel_soil_batch.h"
#include "wheel_soil_model.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::full_model;

namespace {

constexpr std::size_t generated_count = 2400;

TEST(FusedEvaluator, MatchesTheReferencePathBitForBit) {
  const auto inputs = generated::inputs(generated_count);
  std::size_t finite = 0, differing = 0;
  for (std::size_t c = 0; c < inputs.size(); ++c) {
    double fused[18], plain[18];
    run_model(fused, inputs[c].data());
    full_model::run_model_reference(plain, inputs[c].data());
    for (int k = 0; k < 18; ++k) {
      if (!golden::same_value(fused[k], plain[k])) {
        if (++differing <= 10)
          ADD_FAILURE() << "input " << c << " slot " << k << ": " << fused[k] << " vs " << plain[k];
      }
    }
    finite += std::isfinite(fused[0]) && std::isfinite(fused[6]);
  }
  EXPECT_EQ(differing, 0u);
  // the generated set is not all NaN: most wheels still give finite loads
  EXPECT_GT(finite, generated_count / 3);
}

TEST(BatchPath, MatchesSingleCallsOnAnyThreadCount) {
  const auto inputs = generated::inputs(300, 7);
  std::vector<double> packed;
  for (const auto &p : inputs) packed.insert(packed.end(), p.begin(), p.end());
  std::vector<double> single(18 * inputs.size());
  for (std::size_t c = 0; c < inputs.size(); ++c) run_model(&single[18 * c], inputs[c].data());
  for (unsigned threads : {1u, 2u, 3u, 0u}) {
    std::vector<double> batch(single.size(), -1.0);
    full_model::evaluate_batch(packed.data(), batch.data(), inputs.size(), threads);
    // the same code on the same values: even NaN bits agree
    EXPECT_EQ(std::memcmp(batch.data(), single.data(), single.size() * sizeof(double)), 0)
        << threads << " threads";
  }
  // nothing to do is no error
  full_model::evaluate_batch(nullptr, nullptr, 0, 2);
}

}  // namespace
