// The 18 loads: closed forms for the rim and a sidewall, and the driver's
// rules for sides out of the soil, the copies and the spare slots.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "../golden.h"
#include "contact_geometry.h"
#include "gauss_legendre.h"
#include "rover_wheel.h"
#include "sidewall_loads.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::full_model;

namespace {

enum Slot { fx, fy, fz, mx, my, mz, side = 6, copy = 12 };

// A wheel at rest on the soil (no shear, no sidewall pressure) with the
// maximum-stress angle at the bottom and n = 1.
WheelSoilInput resting_wheel() {
  WheelSoilInput in = rover_wheel();
  in.vx = 0;
  in.wy = 0;
  in.sinkage_exponent = 1;
  return in;
}

TEST(RimLoads, RestingWheelCarriesTheClassicRigidWheelLoad) {
  const WheelSoilInput in = resting_wheel();
  const std::vector<double> out = talvor(in);
  const double r = in.radius, b = in.width;
  const double t1 = std::acos(1 - (r - in.centre_height) / r);
  // sigma = r (k_c/b + k_phi)(cos theta - cos t1), symmetric about the bottom
  const double load = b * (in.k_c / b + in.k_phi) * r * r * (t1 - std::sin(t1) * std::cos(t1));
  // the integrand is smooth: the 30-point rule is exact but for rounding
  EXPECT_NEAR(out[fz], load, 1e-13 * load);
  EXPECT_NEAR(out[fx], 0.0, 1e-13 * load);
  EXPECT_NEAR(out[my], 0.0, 1e-13 * load * r);
  for (int k = side; k < copy; ++k) EXPECT_EQ(out[k], 0.0) << k;
}

TEST(RimLoads, StraightRunningWheelHasNoLateralLoads) {
  const std::vector<double> out = talvor(rover_wheel());
  EXPECT_GT(out[fz], 0.0);
  EXPECT_LT(out[my], 0.0);  // the soil resists the driving torque
  for (int k : {fy, mx, mz}) EXPECT_NEAR(out[k], 0.0, 1e-12 * out[fz]) << k;
}

TEST(RimLoads, NoSinkageNoRimLoad) {
  WheelSoilInput in = rover_wheel();
  in.centre_height = 0.2;
  for (double v : talvor(in)) EXPECT_EQ(v, 0.0);
}

TEST(SidewallLoads, UniformPressureGivesTheSegmentsForceAndMoment) {
  // A wheel sliding sideways in +y with no friction angle and no overburden:
  // only the plus side pushes into the soil, with the uniform pressure 2 c k
  // and no shear.
  WheelSoilInput in = rover_wheel();
  in.vx = 0;
  in.wy = 0;
  in.vy = 0.05;
  in.friction_angle = 0;
  in.soil_density = 0;
  const std::vector<double> out = talvor(in);
  const double r = in.radius, z = r - in.centre_height, a = r - z;
  const double p = -2 * in.cohesion * std::tan(0.7853981625);  // pushes the plus side in -y
  const double area = r * r * std::acos(a / r) - a * std::sqrt(r * r - a * a);
  const double first_moment = 2.0 / 3.0 * std::pow(r * r - a * a, 1.5);  // of depth below the axle
  // the strip ends have a square-root edge in rho: the product rule's error
  // there is about 1e-5 of the result
  EXPECT_NEAR(out[side + fy], p * area, 1e-4 * std::fabs(p * area));
  // moment about x of a lateral force acting below the axle: p times the
  // segment's first moment (N m, scaling with size cubed)
  EXPECT_NEAR(out[side + mx], p * first_moment, 1e-4 * std::fabs(p * first_moment));
  for (int k : {fx, fz, my}) EXPECT_EQ(out[side + k], 0.0) << k;
  EXPECT_NEAR(out[side + mz], 0.0, 1e-12 * std::fabs(p * first_moment));  // cancels by symmetry

  // the same wheel twice the size: force times 4, moment times 8
  WheelSoilInput big = in;
  big.radius *= 2;
  big.width *= 2;
  big.centre_height *= 2;
  const std::vector<double> twice = talvor(big);
  EXPECT_NEAR(twice[side + fy] / out[side + fy], 4.0, 1e-12);
  EXPECT_NEAR(twice[side + mx] / out[side + mx], 8.0, 1e-12);
}

TEST(SidewallLoads, ASideOutOfTheSoilContributesExactlyNothing) {
  WheelSoilInput in = rover_wheel();
  in.vy = -0.03;  // the minus side pushes into the soil
  in.tilt_sine = 0.3;
  in.centre_height = 0.12;  // the plus edge clears the soil, the minus edge does not
  use_state(in);
  ASSERT_EQ(sinkage_at(in.width * 0.5), 0.0);
  const double z = sinkage_at(in.width * (-0.5));
  ASSERT_GT(z, 0.0);
  const IntegrandFunction minus[6] = {side_fx_integrand_minus, side_fy_integrand_minus,
                                      side_fz_integrand_minus, side_mx_integrand_minus,
                                      side_my_integrand_minus, side_mz_integrand_minus};
  double alone[6];
  for (int k = 0; k < 6; ++k)
    alone[k] = gauss_legendre_2d(in.radius - z, in.radius, side_lower_limit_minus,
                                 side_upper_limit_minus, minus[k], 30, 30);
  const std::vector<double> out = talvor(in);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(out[side + k], alone[k] + 0.0) << k;
  EXPECT_NE(out[side + fy], 0.0);

  in.centre_height = 0.2;  // both edges clear
  const std::vector<double> clear = talvor(in);
  for (int k = side; k < copy; ++k) {
    EXPECT_EQ(clear[k], 0.0) << k;
    EXPECT_FALSE(std::signbit(clear[k])) << k;
  }
}

TEST(Driver, CopiesAndSpareSlots) {
  for (const auto &c : golden::load("talvor.txt", 29, 18)) {
    SCOPED_TRACE(c.name);
    std::vector<double> out(18);
    run_model(out.data(), c.inputs.data());
    for (int k = 0; k < 6; ++k) EXPECT_EQ(std::memcmp(&out[copy + k], &out[k], 8), 0) << k;
    // slots 21, 26 and 27 are read and have no effect, NaN included
    std::vector<double> spare = c.inputs;
    spare[21] = NAN;
    spare[26] = -1e300;
    spare[27] = INFINITY;
    std::vector<double> again(18);
    run_model(again.data(), spare.data());
    for (int k = 0; k < 18; ++k) EXPECT_TRUE(golden::same_value(again[k], out[k])) << k;
  }
}

}  // namespace
