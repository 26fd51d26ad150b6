// The reference vectors, end to end through run_load_model.
#include <gtest/gtest.h>

#include "../golden.h"
#include "load_model.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::load_model;

namespace {

// The reference vectors agree with a literal evaluation to the last bit on
// the same libm; 1e-12 leaves room for another libm's last bits.
constexpr double golden_tolerance = 1e-12;
// A fit that cannot be inverted is interpolated, and the ways of writing the
// interpolation round differently.
constexpr double interpolated_tolerance = 1e-9;

TEST(PindrelGolden, ReproducesReferenceVectors) {
  for (const auto &c : golden::load("pindrel.txt", 20, 1)) {
    SCOPED_TRACE(c.name);
    std::vector<double> out(1);
    run_load_model(out.data(), c.inputs.data());
    const double tolerance =
        c.name == "small_front_span" ? interpolated_tolerance : golden_tolerance;
    EXPECT_LE(golden::relative_error(out, c.outputs), tolerance);
  }
}

}  // namespace
