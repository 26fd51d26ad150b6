// The slip direction, the shear displacement and the stresses at one rim angle.
#include "point_stress.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "load_cases.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::load_model;

namespace {

namespace lm = load_model;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

// Neighbouring angles straddle a region boundary; the stress there changes by
// about sigma'(theta) * 1 ulp, far below this.
constexpr double continuity_tolerance = 1e-12;

double up(double x) { return std::nextafter(x, inf); }
double down(double x) { return std::nextafter(x, -inf); }

struct SlipAndDisplacement : ::testing::Test {
  LoadModelInput in = load_cases::base();
  LoadModelState m() const { return lm::make_state(in); }
};

TEST_F(SlipAndDisplacement, ZeroSlipAngleLeavesOnlyTheLongitudinalSign) {
  in.slip_angle = 0;
  in.slip = 0.5;  // driving: e_x = 1 - cos(theta)/2 > 0
  const lm::SlipDirection drive = lm::slip_direction(m(), 0.1);
  EXPECT_EQ(drive.lon, 1.0);
  EXPECT_EQ(drive.lat, 0.0);
  in.slip = -0.5;  // skidding: e_x = 1 - 2 cos(theta) < 0 near the bottom
  const lm::SlipDirection skid = lm::slip_direction(m(), 0.1);
  EXPECT_EQ(skid.lon, -1.0);
  EXPECT_EQ(skid.lat, 0.0);
}

TEST_F(SlipAndDisplacement, RollingWithoutSlipIsPurelyLateralAtTheBottom) {
  in.slip = 0;  // e_x = 1 - cos(0) = 0 exactly
  in.slip_angle = -0.2;
  const lm::SlipDirection d = lm::slip_direction(m(), 0.0);
  EXPECT_EQ(d.lon, 0.0);
  EXPECT_EQ(d.lat, -1.0);
}

TEST_F(SlipAndDisplacement, VanishingSlipVelocityHasNoDirection) {
  in.slip = 0;
  in.slip_angle = 0;
  const lm::SlipDirection d = lm::slip_direction(m(), 0.0);
  EXPECT_EQ(d.lon, 0.0);
  EXPECT_EQ(d.lat, 0.0);
  // a velocity whose square underflows counts as vanishing, not as 0/0
  in.slip_angle = 1e-200;
  const lm::SlipDirection tiny = lm::slip_direction(m(), 0.0);
  EXPECT_EQ(tiny.lon, 0.0);
  EXPECT_EQ(tiny.lat, 0.0);
}

TEST_F(SlipAndDisplacement, FullSkidIsNotFinite) {
  in.slip = -1;  // 1 + s = 0
  const lm::SlipDirection d = lm::slip_direction(m(), 0.1);
  EXPECT_FALSE(std::isfinite(d.lon));
  EXPECT_FALSE(std::isfinite(lm::shear_displacement(m(), 0.1, in.rim_entry_angle, in.radius)));
}

TEST_F(SlipAndDisplacement, DisplacementStartsAtEntryAndIsTheArcAtFullSlip) {
  EXPECT_EQ(lm::shear_displacement(m(), 0.25, 0.25, in.radius), 0.0);
  // s = 1: the rim turns on the spot, so the soil is sheared by the arc r dtheta
  in.slip = 1;
  in.slip_angle = 0.3;
  const double theta = -0.05, top = 0.25;
  EXPECT_EQ(lm::shear_displacement(m(), theta, top, in.radius), in.radius * (top - theta));
}

// The four regions of the normal stress and their boundaries.
struct StressRegions : ::testing::Test {
  LoadModelInput in = load_cases::with_band();
  lm::PointStress at(double theta, double j = 0.01, double lon = 0.8, double lat = 0.6) const {
    return lm::point_stress(lm::make_state(in), theta, j, lon, lat);
  }
  double sigma(double theta) const { return at(theta).sigma; }
};

TEST_F(StressRegions, ExitAngleCarriesCohesionAlone) {
  const double j = 0.02;
  const lm::PointStress p = at(in.rear_angle, j);
  EXPECT_EQ(p.sigma, 0.0);
  EXPECT_EQ(p.tau, (1 - std::exp(-(j / in.shear_modulus))) * in.cohesion);
}

TEST_F(StressRegions, PeakIsReachedFromTheRearContinuously) {
  const double peak = sigma(in.peak_stress_angle);
  EXPECT_GT(peak, sigma(lm::make_state(in).rear_mid_angle));
  EXPECT_NEAR(sigma(down(in.peak_stress_angle)), peak, continuity_tolerance * peak);
}

TEST_F(StressRegions, PeakAtTheExitLeavesNoRearRegion) {
  in.peak_stress_angle = in.rear_angle;  // (theta - theta_2)/(theta_m - theta_2) never formed
  const lm::PointStress p = at(in.rear_angle);
  EXPECT_TRUE(std::isfinite(p.sigma));
  EXPECT_GT(p.sigma, 0.0);
}

TEST_F(StressRegions, BandEntryJoinsTheRimOnlyRegion) {
  const double theta = in.band_entry_angle;
  const LoadModelState m = lm::make_state(in);
  EXPECT_EQ(lm::band_term(m, theta), 0.0);
  EXPECT_EQ(sigma(theta), lm::rim_term(m, theta));
  EXPECT_NEAR(sigma(up(theta)), sigma(theta), continuity_tolerance * sigma(theta));
}

TEST_F(StressRegions, RimEntryIsStressFreeAndBeyondItNaN) {
  EXPECT_EQ(sigma(in.rim_entry_angle), 0.0);
  const lm::PointStress p = at(in.rim_entry_angle + 0.01);  // negative sinkage, n = 0.5
  EXPECT_TRUE(std::isnan(p.sigma));
  EXPECT_TRUE(std::isnan(p.tau));
  EXPECT_TRUE(std::isnan(p.tau_x));
  EXPECT_TRUE(std::isnan(p.tau_y));
}

TEST_F(StressRegions, ExitAheadOfEntryCutsOffEverything) {
  in.rear_angle = in.rim_entry_angle + 0.2;
  in.cohesion = nan;
  in.shear_modulus = nan;
  const lm::PointStress p = at(in.rim_entry_angle + 0.1, nan, nan, nan);
  EXPECT_EQ(p.sigma, 0.0);
  EXPECT_EQ(p.tau, 0.0);
  EXPECT_EQ(p.tau_x, 0.0);
  EXPECT_EQ(p.tau_y, 0.0);
}

TEST_F(StressRegions, BandRatioSelectsTheCircles) {
  const double front = 0.18, ahead = 0.25;  // below and above the band's entry
  in.band_ratio = 1;
  const LoadModelState rim_only = lm::make_state(in);
  EXPECT_EQ(sigma(front), lm::rim_term(rim_only, front));
  in.band_ratio = 0;
  const LoadModelState band_only = lm::make_state(in);
  EXPECT_EQ(sigma(front), lm::band_term(band_only, front));
  EXPECT_EQ(sigma(ahead), 0.0);
}

// The shear stress that sigma and j allow, and its components.
struct ShearStress : StressRegions {};

TEST_F(ShearStress, NoDisplacementNoShear) {
  const lm::PointStress p = at(0.1, 0.0);
  EXPECT_EQ(p.tau, 0.0);
  EXPECT_EQ(p.tau_x, 0.0);
  EXPECT_EQ(p.tau_y, 0.0);
}

TEST_F(ShearStress, RigidSoilMobilisesFullStrengthOrNaN) {
  in.shear_modulus = 0;
  const lm::PointStress p = at(0.1, 0.02);
  EXPECT_EQ(p.tau, in.cohesion + p.sigma * std::tan(in.friction_angle));
  EXPECT_TRUE(std::isnan(at(0.1, 0.0).tau));  // 0/0
}

TEST_F(ShearStress, PointWithoutSlipCarriesNoShear) {
  const lm::PointStress p = at(0.1, 0.02, 0.0, 0.0);
  EXPECT_EQ(p.sigma, sigma(0.1));
  EXPECT_GT(p.tau, 0.0);
  EXPECT_EQ(p.tau_x, 0.0);
  EXPECT_EQ(p.tau_y, 0.0);
  // even where the strength itself is not finite
  in.shear_modulus = 0;
  const lm::PointStress rigid = at(0.1, 0.0, 0.0, 0.0);
  EXPECT_TRUE(std::isnan(rigid.tau));
  EXPECT_EQ(rigid.tau_x, 0.0);
  EXPECT_EQ(rigid.tau_y, 0.0);
}

}  // namespace
