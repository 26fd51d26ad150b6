// The reference vectors, end to end through run_model and the reference path.
#include <gtest/gtest.h>

#include <cstring>

#include "../golden.h"
#include "wheel_soil_model.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::full_model;

namespace {

// The reference vectors agree with a literal evaluation to about 1e-16 on the
// same libm; 1e-12 leaves room for another libm's last bits.
constexpr double golden_tolerance = 1e-12;

std::vector<double> talvor(const std::vector<double> &in) {
  std::vector<double> out(18);
  run_model(out.data(), in.data());
  return out;
}

TEST(TalvorGolden, ReproducesReferenceVectors) {
  for (const auto &c : golden::load("talvor.txt", 29, 18)) {
    SCOPED_TRACE(c.name);
    EXPECT_LE(golden::relative_error(talvor(c.inputs), c.outputs), golden_tolerance);
  }
}

TEST(TalvorGolden, ReferencePathGivesTheSameBits) {
  for (const auto &c : golden::load("talvor.txt", 29, 18)) {
    SCOPED_TRACE(c.name);
    const std::vector<double> fused = talvor(c.inputs);
    std::vector<double> plain(18);
    full_model::run_model_reference(plain.data(), c.inputs.data());
    for (int k = 0; k < 18; ++k) EXPECT_TRUE(golden::same_value(fused[k], plain[k])) << k;
  }
}

}  // namespace
