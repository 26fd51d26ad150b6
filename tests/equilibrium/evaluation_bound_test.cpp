// The cost that docs/operating_point.md states, over the grid it states: the
// rover wheel on the 14 published soils, slips -0.5 to 0.9 in steps of 0.05,
// tilt sines -0.3, 0 and 0.3, loads 50 to 150 N in steps of 100/6 N (8,526
// solves; bench/equilibrium_sweep prints the same figures in detail).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "soil_cases.h"
#include "wheel_equilibrium.h"

using namespace wheelsoil;
using namespace wheelsoil::detail::equilibrium;

namespace {

// The documented bounds: evaluations of a converged solve, and of a load that
// falls inside a jump of the force.
constexpr int converged_bound = 27;
constexpr int jump_bound = 74;

TEST(EvaluationBound, TheDocumentedSweepStaysWithinTheStatedBounds) {
  std::vector<WheelSoilInput> inputs;
  std::vector<double> loads;
  std::vector<std::string> names;
  for (const TestSoil &s : published_soils())
    for (int i = 0; i <= 28; ++i)
      for (double tilt : {-0.3, 0.0, 0.3})
        for (int j = 0; j <= 6; ++j) {
          inputs.push_back(wheel_on(s, -0.5 + 0.05 * i, tilt));
          loads.push_back(50 + 100.0 * j / 6);
          names.push_back(s.name);
        }
  ASSERT_EQ(inputs.size(), 8526u);
  std::vector<EquilibriumResult> results(inputs.size());
  solve_equilibrium_batch(inputs.data(), 1, loads.data(), 1, inputs.size(), results.data(), 0);

  int most_converged = 0, most_jump = 0, jumps = 0;
  for (std::size_t k = 0; k < results.size(); ++k) {
    const EquilibriumResult &r = results[k];
    switch (r.status) {
      case EquilibriumStatus::converged:
        most_converged = std::max(most_converged, r.iterations);
        break;
      case EquilibriumStatus::load_not_carried: EXPECT_EQ(r.iterations, 1) << names[k]; break;
      case EquilibriumStatus::not_converged:
        // only where the force jumps over the load between adjacent heights
        EXPECT_NE(r.message.find("jumps from"), std::string::npos) << names[k] << ": " << r.message;
        most_jump = std::max(most_jump, r.iterations);
        ++jumps;
        break;
      default: ADD_FAILURE() << names[k] << ": " << r.message;
    }
  }
  std::printf("most evaluations: %d converged, %d in a jump (%d jumps)\n", most_converged,
              most_jump, jumps);
  EXPECT_LE(most_converged, converged_bound);
  EXPECT_LE(most_jump, jump_bound);
}

}  // namespace
