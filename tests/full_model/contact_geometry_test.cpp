// Sinkage, slip ratio and the contact angles of both surfaces.
#include "contact_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "rover_wheel.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::full_model;

namespace {

struct ContactGeometry : ::testing::Test {
  WheelSoilInput in = rover_wheel();
  void use() { use_state(in); }
};

TEST_F(ContactGeometry, SlipRatioCases) {
  const double r = in.radius;
  struct Case {
    double vx, wy, s;
  } cases[] = {
      {0.0, 0.0, 2.0},        // undefined
      {0.1, 0.1 / r, 0.0},    // pure rolling
      {0.0, 1.0, 1.0},        // spinning in place
      {0.1, 0.0, -1.0},       // locked wheel
      {0.1, -0.1 / r, -2.0},  // u = -vx: second formula
      {-0.1, 0.1 / r, -2.0},
  };
  for (const Case &c : cases) {
    in.vx = c.vx;
    in.wy = c.wy;
    use();
    EXPECT_EQ(slip_ratio(), c.s) << c.vx << " " << c.wy;
  }
  // |u| > |vx| uses (u - vx)/u, otherwise (u - vx)/vx
  in.vx = 0.1;
  in.wy = 0.125 / r;
  use();
  EXPECT_DOUBLE_EQ(slip_ratio(), 0.2);
  in.wy = 0.05 / r;
  use();
  EXPECT_DOUBLE_EQ(slip_ratio(), -0.5);
}

TEST_F(ContactGeometry, SinkageIsClampedAndFallsWithTilt) {
  use();
  EXPECT_DOUBLE_EQ(sinkage_at(0.05), in.radius - in.centre_height);  // untilted: r - h_c
  EXPECT_EQ(sinkage_at(-0.08), sinkage_at(0.08));
  in.centre_height = 0.2;  // clear of the soil
  use();
  EXPECT_EQ(sinkage_at(0.0), 0.0);
  EXPECT_FALSE(std::signbit(sinkage_at(0.0)));
  EXPECT_EQ(entry_angle(0.0), 0.0);
  EXPECT_EQ(max_stress_angle(0.0), 0.0);
  EXPECT_EQ(exit_angle(0.0), 0.0);
  EXPECT_EQ(band_entry_angle(0.0), 0.0);
  in.centre_height = 0.11;
  in.tilt_sine = 0.2;
  use();
  EXPECT_LT(sinkage_at(0.08), sinkage_at(0.0));
  EXPECT_GT(sinkage_at(-0.08), sinkage_at(0.0));
}

TEST_F(ContactGeometry, AnglesFollowTheSlip) {
  use();
  const double t1 = entry_angle(0.0), s = slip_ratio();
  EXPECT_DOUBLE_EQ(t1, std::acos(1 - 0.02 / 0.13));
  EXPECT_EQ(max_stress_angle(0.0), t1 * (in.c2 * s + in.c1));
  EXPECT_EQ(exit_angle(0.0), -(t1 * (in.c4 * s + in.c3)));
  // the band, with no sinkage beyond its depth, is out of contact and leaves
  // the soil at the outer exit angle
  in.band_height = 0.03;
  use();
  EXPECT_EQ(band_entry_angle(0.0), 0.0);
  EXPECT_EQ(band_max_stress_angle(0.0), 0.0);
  EXPECT_EQ(band_exit_angle(0.0), exit_angle(0.0));
  EXPECT_LT(band_exit_angle(0.0), 0.0);
  in.band_height = 0.01;
  use();
  const double tb1 = band_entry_angle(0.0);
  EXPECT_NEAR(tb1, std::acos(0.11 / 0.12), 1e-14);
  EXPECT_EQ(band_max_stress_angle(0.0), (in.c2 * s + in.c1) * tb1);
  EXPECT_EQ(band_exit_angle(0.0), exit_angle(0.0));
}

TEST_F(ContactGeometry, UndefinedSlipIsSymmetricAboutTheBottom) {
  in.vx = 0;
  in.wy = 0;
  in.band_height = 0.01;
  use();
  EXPECT_EQ(max_stress_angle(0.0), 0.0);
  EXPECT_EQ(exit_angle(0.0), -entry_angle(0.0));
  EXPECT_EQ(band_max_stress_angle(0.0), 0.0);
  EXPECT_EQ(band_exit_angle(0.0), -band_entry_angle(0.0));
}

TEST_F(ContactGeometry, OutOfRangeGeometryGivesIeeeValues) {
  in.tilt_sine = 1;
  use();
  EXPECT_EQ(sinkage_at(0.05), 0.0);            // -inf, clamped
  EXPECT_TRUE(std::isnan(sinkage_at(-0.05)));  // -inf - -inf passes the clamp
  in.tilt_sine = 0;
  in.centre_height = -0.2;  // sinkage beyond the diameter
  use();
  EXPECT_TRUE(std::isnan(entry_angle(0.0)));
}

}  // namespace
