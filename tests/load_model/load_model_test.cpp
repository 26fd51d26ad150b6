// The input vector, the state setup and the driver.
#include "load_model.h"

#include <gtest/gtest.h>

#include <cstring>

#include "load_cases.h"
#include "load_integral.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::load_model;

namespace {

TEST(LoadModelState, SetupCopiesEverySlotAndDerivesThree) {
  LoadModelCall call;
  double *slot = &call.input.band_radius;
  for (int k = 0; k < 20; ++k) slot[k] = 1.5 + k;
  call.load = 42;
  setup_load_state(&call);
  const double *state = &load_model_state.band_radius;
  for (int k = 0; k < 20; ++k) EXPECT_EQ(state[k], slot[k]) << k;
  const LoadModelInput &in = call.input;
  EXPECT_EQ(load_model_state.modulus_sum, in.k_c / in.width + in.k_phi);
  EXPECT_EQ(load_model_state.front_mid_angle, (in.front_angle + in.peak_stress_angle) * 0.5);
  EXPECT_EQ(load_model_state.rear_mid_angle, (in.peak_stress_angle + in.rear_angle) * 0.5);
  EXPECT_EQ(call.load, 0.0);
}

// The batch path: evaluate() on a state of its own, off the module state.
TEST(Evaluate, MatchesTheDriverWithoutTouchingTheModuleState) {
  LoadModelCall call{load_cases::with_band(), 0.0};
  setup_load_state(&call);
  const LoadModelState before = load_model_state;
  for (const auto &c : golden::load("pindrel.txt", 20, 1)) {
    SCOPED_TRACE(c.name);
    const LoadModelState own = load_model::make_state(load_cases::to_input(c.inputs));
    const double batch = load_model::evaluate(own);
    EXPECT_EQ(std::memcmp(&load_model_state, &before, sizeof before), 0);
    double driver;
    run_load_model(&driver, c.inputs.data());
    EXPECT_TRUE(golden::same_value(batch, driver));
    setup_load_state(&call);
  }
}

}  // namespace
