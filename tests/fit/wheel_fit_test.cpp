// The single-wheel fit: c1..c4 (and soil values) recovered from noisy runs
// at their operating points; slips and signs as the model has them;
// parameters the runs cannot determine; refused inputs.
#include <gtest/gtest.h>

#include <wheelsoil/wheelsoil.hpp>

#include <cmath>

#include "synthetic_tests.h"

namespace wheelsoil {
namespace {

using testing::rover_on_dry_sand;
using testing::wheel_runs;

constexpr double within = 3;  // standard errors; the seed is fixed

void expect_recovered(const FitResult &r, const char *name, double truth) {
  const FitParameter *p = r.parameter(name);
  ASSERT_NE(p, nullptr) << name;
  EXPECT_FALSE(p->at_bound) << name;
  EXPECT_GT(p->standard_error, 0) << name;
  EXPECT_LT(std::fabs(p->value - truth), within * p->standard_error)
      << name << " = " << p->value << " +- " << p->standard_error << ", truth " << truth;
}

TEST(WheelSlip, GivesTheModelsSlipRatio) {
  const WheelSoilInput in = rover_on_dry_sand();
  for (double s : {-1.0, -0.3, 0.0, 0.25, 0.6, 1.0}) {
    const WheelSoilInput row = with_slip(in, s);
    const double u = row.wy * row.radius;
    // The slip ratio as the model forms it.
    const double model =
        std::fabs(u) > std::fabs(row.vx) ? (u - row.vx) / u : (u - row.vx) / row.vx;
    EXPECT_NEAR(model, s, 1e-15) << s;
  }
}

TEST(WheelPoint, PullTorqueAndSinkageAreTheOperatingPointsLoads) {
  const WheelSoilInput in = rover_on_dry_sand();
  const WheelPoint p = wheel_point(in, 0.3, 80);
  ASSERT_TRUE(p.converged) << p.message;
  const EquilibriumResult e = solve_equilibrium(with_slip(in, 0.3), 80);
  EXPECT_EQ(p.drawbar_pull, e.loads.rim_fx + e.loads.side_fx);
  EXPECT_EQ(p.torque, -(e.loads.rim_my + e.loads.side_my));
  EXPECT_EQ(p.sinkage, e.sinkage);
  // Driving at slip 0.3 the motor turns the wheel forward: positive torque.
  EXPECT_GT(p.torque, 0);
  EXPECT_LT(wheel_point(in, -0.3, 80).torque, 0);
}

TEST(WheelFit, RecoversC1ToC4FromNoisyRuns) {
  WheelSoilInput truth = rover_on_dry_sand();
  truth.c1 = 0.35;
  truth.c2 = 0.3;
  truth.c3 = 0.15;
  truth.c4 = 0.05;
  const WheelData d = wheel_runs(truth, {60, 100}, 7);
  // Starts: the given wheel's 0.4, 0.15, 0.1, 0.
  const FitResult r = fit_wheel(d, rover_on_dry_sand());
  ASSERT_TRUE(r.ok()) << r.message;
  expect_recovered(r, "c1", truth.c1);
  expect_recovered(r, "c2", truth.c2);
  expect_recovered(r, "c3", truth.c3);
  expect_recovered(r, "c4", truth.c4);
  EXPECT_EQ(r.observations, 3 * d.slip.size());
  ASSERT_EQ(r.quantities.size(), 3u);
  for (const FitQuantity &q : r.quantities) {
    EXPECT_EQ(q.observations, d.slip.size()) << q.name;
    EXPECT_GT(q.r_squared, 0.9) << q.name;
  }
}

TEST(WheelFit, FitsSoilValuesFromPullAlone) {
  // Friction angle and K from drawbar pull and torque, c1..c4 given.
  WheelSoilInput truth = rover_on_dry_sand();
  truth.friction_angle = 0.45;
  truth.kx = truth.ky = 0.015;
  WheelData d = wheel_runs(truth, {80}, 11);
  d.sinkage.clear();  // not measured
  WheelFitOptions o;
  o.parameters = {"friction_angle", "shear_modulus"};
  const FitResult r = fit_wheel(d, rover_on_dry_sand(), o);
  ASSERT_TRUE(r.ok()) << r.message;
  expect_recovered(r, "friction_angle", truth.friction_angle);
  expect_recovered(r, "shear_modulus", truth.kx);
  EXPECT_EQ(r.observations, 2 * d.slip.size());
  EXPECT_EQ(r.quantities[2].observations, 0u);
  EXPECT_FALSE(std::isnan(r.quantities[2].fitted[0]));  // predicted all the same
}

TEST(WheelFit, ParametersWithoutEffectAreReportedUndetermined) {
  // Without lateral motion ky moves nothing; k_c and k_phi act only through
  // k_c/b + k_phi on one wheel width.
  const WheelSoilInput given = rover_on_dry_sand();
  const WheelData d = wheel_runs(given, {80}, 3);
  WheelFitOptions o;
  o.parameters = {"c1", "ky"};
  FitResult r = fit_wheel(d, given, o);
  EXPECT_EQ(r.status, FitStatus::ill_posed) << r.message;
  EXPECT_EQ(r.undetermined, std::vector<std::string>{"ky"});
  EXPECT_TRUE(std::isnan(r.value("c1")));

  o.parameters = {"k_c", "k_phi"};
  r = fit_wheel(d, given, o);
  EXPECT_EQ(r.status, FitStatus::ill_posed) << r.message;
  EXPECT_EQ(r.undetermined, (std::vector<std::string>{"k_c", "k_phi"}));
}

TEST(WheelFit, RefusesWhatItCannotFit) {
  const WheelSoilInput given = rover_on_dry_sand();
  WheelData d;
  d.slip = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6};
  d.load = {80, 80, 80, 80, 80, 80};
  d.drawbar_pull = {1, 2, 3, 4, 5, 6};
  struct Case {
    const char *what;
    std::vector<std::string> parameters;
    WheelData data;
    const char *message;
  };
  WheelData bad_slip = d, bad_load = d, none = d, short_torque = d;
  bad_slip.slip[2] = 1.5;
  bad_load.load[0] = 0;
  none.drawbar_pull.assign(6, NAN);
  short_torque.torque = {1, 2};
  const std::vector<Case> cases = {
      {"unknown slot", {"c5"}, d, "'c5' is not a talvor input"},
      {"row slot", {"wy"}, d, "each row sets it"},
      {"no effect", {"spare_26"}, d, "no effect on the loads"},
      {"twice", {"c1", "c1"}, d, "named twice"},
      {"kx and K", {"kx", "shear_modulus"}, d, "not both"},
      {"kr from 1", {"kr"}, d, "kr starts at exactly 1"},
      {"slip", {"c1"}, bad_slip, "row 3: slip is 1.5"},
      {"load", {"c1"}, bad_load, "row 1: load is 0"},
      {"nothing measured", {"c1"}, none, "no measurements"},
      {"short column", {"c1"}, short_torque, "differ in length"},
  };
  for (const Case &c : cases) {
    WheelFitOptions o;
    o.parameters = c.parameters;
    const FitResult r = fit_wheel(c.data, given, o);
    EXPECT_EQ(r.status, FitStatus::invalid_data) << c.what;
    EXPECT_NE(r.message.find(c.message), std::string::npos) << c.what << ": " << r.message;
  }
  WheelSoilInput stopped = given;
  stopped.vx = 0;
  const FitResult r = fit_wheel(d, stopped);
  EXPECT_EQ(r.status, FitStatus::invalid_data);
  EXPECT_NE(r.message.find("vx must be positive"), std::string::npos) << r.message;
}

TEST(WheelFit, ALoadTheSoilCannotCarryFailsTheFit) {
  const WheelSoilInput given = rover_on_dry_sand();
  WheelData d;
  d.slip = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6};
  d.load = {80, 80, 1e7, 80, 80, 80};
  d.drawbar_pull = {1, 2, 3, 4, 5, 6};
  const FitResult r = fit_wheel(d, given);
  EXPECT_EQ(r.status, FitStatus::failed);
  EXPECT_NE(r.message.find("row 3 (slip 0.3, load 1e+07 N)"), std::string::npos) << r.message;
  for (const FitParameter &p : r.parameters) EXPECT_TRUE(std::isnan(p.value));
}

}  // namespace
}  // namespace wheelsoil
