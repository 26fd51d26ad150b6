// The rim's normal and shear stresses at points of the contact patch.
#include "rim_stress.h"

#include <gtest/gtest.h>

#include <cmath>

#include "contact_geometry.h"
#include "rover_wheel.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::full_model;

namespace {

struct RimStress : ::testing::Test {
  WheelSoilInput in = rover_wheel();
  void use() { use_state(in); }
};

TEST_F(RimStress, EntryAngleIsStressAndDisplacementFree) {
  use();
  const double t1 = entry_angle(0.03);
  EXPECT_EQ(outer_normal_stress(0.03, t1), 0.0);
  EXPECT_EQ(shear_displacement_x(0.03, t1), 0.0);
  EXPECT_EQ(shear_displacement_y(0.03, t1), 0.0);
  // with no normal stress and no displacement only the factor F(0) = 0 is left
  EXPECT_EQ(shear_stress_x(0.03, t1), 0.0);
}

TEST_F(RimStress, NormalStressPeaksAtTheMaximumStressAngle) {
  use();
  const double y = 0.03, t1 = entry_angle(y), tm = max_stress_angle(y), t2 = exit_angle(y);
  const double peak = outer_normal_stress(y, tm);
  const double k_o = std::pow(in.radius, in.sinkage_exponent) * (in.k_c / in.width + in.k_phi);
  EXPECT_EQ(peak, std::pow(std::fabs(std::cos(tm) - std::cos(t1)), in.sinkage_exponent) * k_o);
  // reached from both sides, and lower everywhere else in the patch
  const double below = std::nextafter(tm, t2);
  EXPECT_NEAR(outer_normal_stress(y, below), peak, 1e-9 * peak);
  for (double f : {0.1, 0.5, 0.9}) {
    EXPECT_LT(outer_normal_stress(y, tm + f * (t1 - tm)), peak);
    EXPECT_LT(outer_normal_stress(y, tm + f * (t2 - tm)), peak);
  }
  EXPECT_EQ(outer_normal_stress(y, t2), 0.0);
  // outside the patch no normal stress, and the strength is cohesion alone
  EXPECT_EQ(outer_normal_stress(y, t1 + 0.01), 0.0);
  EXPECT_EQ(outer_normal_stress(y, t2 - 0.01), 0.0);
}

TEST_F(RimStress, UndefinedSlipGivesASymmetricStress) {
  in.vx = 0;
  in.wy = 0;
  use();
  const double t1 = entry_angle(0.0);
  for (double f : {0.2, 0.5, 0.8})
    EXPECT_NEAR(outer_normal_stress(0.0, -f * t1), outer_normal_stress(0.0, f * t1),
                1e-9 * outer_normal_stress(0.0, f * t1));
}

TEST_F(RimStress, BandBlend) {
  in.band_height = 0.01;
  in.band_ratio = 0;
  use();
  const double theta = 0.1;
  EXPECT_EQ(normal_stress(0.0, theta), band_normal_stress(0.0, theta));  // lambda 0: band alone
  EXPECT_GT(band_normal_stress(0.0, theta), 0.0);
  // lambda = 1 never evaluates the band: a band whose angles are NaN (sinkage
  // beyond the radius with the band at the axle) leaves the stress finite
  in.band_ratio = 1;
  in.band_height = in.radius;
  in.centre_height = -0.01;
  use();
  EXPECT_TRUE(std::isnan(band_entry_angle(0.0)));
  EXPECT_EQ(normal_stress(0.0, theta), outer_normal_stress(0.0, theta));
  EXPECT_TRUE(std::isfinite(normal_stress(0.0, theta)));
  // no sinkage beyond the band's depth: its law sees the equivalent angle 0
  in.band_height = 0.03;
  in.centre_height = 0.11;
  in.band_ratio = 0.5;
  use();
  EXPECT_EQ(band_normal_stress(0.0, theta), 0.0);
}

TEST_F(RimStress, LockedWheelUsesTheSentinelDisplacement) {
  in.wy = 0;
  in.vx = 0.1;
  use();
  const double t1 = entry_angle(0.0);
  // N_x = (sin t1 - sin theta)(-vx) + ... is negative behind the entry angle
  EXPECT_EQ(shear_displacement_x(0.0, 0.5 * t1), -10.0);
  EXPECT_EQ(shear_displacement_y(0.0, 0.5 * t1), 0.0);  // no lateral motion: N_y = 0
  in.vx = -0.1;
  use();
  EXPECT_EQ(shear_displacement_x(0.0, 0.5 * t1), 10.0);
}

TEST_F(RimStress, ShearLawSwitchIsExactAtKrOne) {
  use();
  const double theta = 0.5 * entry_angle(0.0);
  const double plain = shear_stress_x(0.0, theta);
  in.kr = std::nextafter(1.0, 2.0);
  use();
  const double hump = shear_stress_x(0.0, theta);
  const double j = std::hypot(shear_displacement_x(0.0, theta), shear_displacement_y(0.0, theta));
  const double e = std::exp(-j / in.kx);
  // the hump law at kr = 1 exceeds the plain law by about (1.582 - 1) e (1 - e)
  EXPECT_NEAR(hump / plain - 1, (1.582 - 1) * e, 1e-9);
  EXPECT_GT(hump, plain);
}

TEST_F(RimStress, ShearFollowsTheSlipVelocity) {
  // driving with slip: the rim slides backwards, the soil pushes it forward
  use();
  const double theta = 0.3 * entry_angle(0.0);
  EXPECT_GT(shear_stress_x(0.0, theta), 0.0);
  EXPECT_EQ(shear_stress_y(0.0, theta), 0.0);  // no lateral slip velocity
  // a lateral slide gives a lateral shear with the sign of the slip velocity
  in.vy = 0.05;
  use();
  EXPECT_GT(shear_stress_y(0.0, theta), 0.0);
  // a wheel at rest carries no shear
  in = rover_wheel();
  in.vx = 0;
  in.wy = 0;
  use();
  EXPECT_EQ(shear_stress_x(0.0, theta), 0.0);
  EXPECT_EQ(shear_stress_y(0.0, theta), 0.0);
}

}  // namespace
