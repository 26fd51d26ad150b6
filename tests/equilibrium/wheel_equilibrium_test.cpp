// The wheel's operating point: the rigid-wheel closed form, round trips
// through run_model, the search bracket, every failure, batches, and a sweep
// over published soils.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "contact_geometry.h"
#include "soil_cases.h"
#include "wheel_equilibrium.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::equilibrium;
using wheelsoil::detail::full_model::run_model;

namespace {

using equilibrium::EquilibriumResult;
using equilibrium::EquilibriumStatus;
using equilibrium::solve_equilibrium;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

// The search stops at |F - W| <= 1e-10 W.
constexpr double load_tolerance = 1e-10;

std::vector<double> loads_of(const WheelSoilOutput &out) {
  const double *slot = &out.rim_fx;
  return std::vector<double>(slot, slot + 18);
}

// Equal, NaN included.
bool same_height(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

WheelSoilInput solved_input(WheelSoilInput in, const EquilibriumResult &r) {
  in.centre_height = r.centre_height;
  return in;
}

// A rigid wheel whose stress has its peak and its exit at the bottom
// (c1 = c2 = c3 = c4 = 0), n = 1, no shear strength (c = 0, phi = 0) and no
// lateral motion (no sidewall pressure): the vertical load is
// W = b (k_c/b + k_phi) r^2 (theta_1 - sin theta_1 cos theta_1)/2 over the
// front half theta in [0, theta_1], and twice that when an undefined slip
// makes the contact symmetric about the bottom.
struct RigidWheel : ::testing::TestWithParam<double> {
  static WheelSoilInput wheel(bool rolling) {
    WheelSoilInput in = rover_wheel();
    in.cohesion = 0;
    in.friction_angle = 0;
    in.sinkage_exponent = 1;
    in.c1 = in.c2 = in.c3 = in.c4 = 0;
    in.vx = rolling ? 0.1 : 0.0;
    in.wy = rolling ? 0.1 / in.radius : 0.0;  // pure rolling (s = 0) or undefined slip
    return in;
  }
  static double modulus(const WheelSoilInput &in) {
    return in.width * (in.k_c / in.width + in.k_phi) * in.radius * in.radius;
  }
};

TEST_P(RigidWheel, SinkageMatchesTheClosedForm) {
  const double theta1 = GetParam();
  for (bool rolling : {true, false}) {
    const WheelSoilInput in = wheel(rolling);
    const double k = modulus(in);
    const double front = k * (theta1 - std::sin(theta1) * std::cos(theta1)) / 2;
    const double w = rolling ? front : 2 * front;
    const EquilibriumResult r = solve_equilibrium(in, w);
    ASSERT_TRUE(r.converged) << r.message;

    // The load fixes theta_1 to within the tolerance (W ~ z^1.5).
    const double z = in.radius * (1 - std::cos(theta1));
    EXPECT_NEAR(r.sinkage, z, 1e-9 * z) << rolling;
    EXPECT_EQ(r.sinkage, r.max_sinkage);
    EXPECT_NEAR(r.centre_height, in.radius - z, 1e-9 * z);

    // No shear anywhere: the axle moment vanishes and the sidewalls carry nothing.
    EXPECT_NEAR(r.loads.rim_my, 0.0, 1e-12 * w * in.radius);
    for (double side : {r.loads.side_fx, r.loads.side_fy, r.loads.side_fz, r.loads.side_mx,
                        r.loads.side_my, r.loads.side_mz})
      EXPECT_EQ(side, 0.0);
    // Compaction resistance at the solved sinkage: -b (k_c/b + k_phi) r^2
    // (1 - cos theta_1)^2 / 2 over the front half; the symmetric contact cancels it.
    const double solved_cos = 1 - r.sinkage / in.radius;
    const double resistance = rolling ? -k * std::pow(1 - solved_cos, 2) / 2 : 0.0;
    EXPECT_NEAR(r.loads.rim_fx, resistance, 1e-13 * w);
  }
}

// 0.7 mm to 60 mm of sinkage on the 0.13 m wheel.
INSTANTIATE_TEST_SUITE_P(EntryAngles, RigidWheel, ::testing::Values(0.1, 0.3, 0.6, 1.0));

TEST(HeightBracket, EndsAtNoSinkageAndOneRadiusAtTheLowestEdge) {
  WheelSoilInput in = rover_wheel();
  for (double tilt : {-0.6, -0.1, 0.0, 0.3, 0.9}) {
    in.tilt_sine = tilt;
    const equilibrium::HeightBracket b = equilibrium::height_bracket(in);
    full_model::ModelState m = full_model::make_state(in);
    const double low_edge = tilt > 0 ? -in.width / 2 : in.width / 2;
    const double high_edge = -low_edge;
    m.centre_height = b.light;
    // Unclamped z at the lowest edge is 0 up to rounding, and the model's
    // sinkage there exactly 0: the patch is empty and carries nothing.
    const double q = std::sqrt(1 - tilt * tilt);
    EXPECT_NEAR((in.radius - b.light / q) - (tilt * low_edge) / q, 0.0, 1e-16) << tilt;
    EXPECT_EQ(full_model::sinkage_at(m, low_edge), 0.0) << tilt;
    EXPECT_EQ(full_model::sinkage_at(m, high_edge), 0.0) << tilt;
    WheelSoilInput at_light = in;
    at_light.centre_height = b.light;
    for (double load : talvor(at_light)) EXPECT_EQ(load, 0.0) << tilt;
    m.centre_height = b.heavy;
    EXPECT_NEAR(full_model::sinkage_at(m, low_edge), in.radius, 1e-15) << tilt;
    EXPECT_LE(full_model::sinkage_at(m, high_edge), in.radius);
    EXPECT_LT(b.heavy, b.light);
  }
}

// Wheels whose operating point is checked against run_model: driving and
// braking, tilted either way, a band surface, and sliding sideways so that
// a sidewall carries part of the load.
std::vector<WheelSoilInput> varied_wheels() {
  const TestSoil sand = published_soils()[0];
  std::vector<WheelSoilInput> wheels = {wheel_on(sand, 0.2, 0), wheel_on(sand, 0.8, 0),
                                        wheel_on(sand, -0.4, 0), wheel_on(sand, 0.3, 0.25),
                                        wheel_on(sand, 0.3, -0.25)};
  WheelSoilInput band = wheel_on(sand, 0.3, 0);
  band.band_ratio = 0.7;
  band.band_height = 0.01;
  wheels.push_back(band);
  WheelSoilInput sliding = wheel_on(sand, 0.3, 0.1);
  sliding.vy = 0.03;
  wheels.push_back(sliding);
  return wheels;
}

TEST(WheelEquilibrium, RunModelAtTheSolvedHeightCarriesTheLoad) {
  bool sidewall_seen = false;
  for (const WheelSoilInput &in : varied_wheels()) {
    for (double w : {20.0, 120.0}) {
      const EquilibriumResult r = solve_equilibrium(in, w);
      ASSERT_TRUE(r.converged) << r.message;
      EXPECT_TRUE(r.monotone);
      const WheelSoilInput at = solved_input(in, r);
      std::vector<double> out(18);
      run_model(out.data(), &at.vx);
      EXPECT_EQ(out, loads_of(r.loads));  // the same bits as the reference path
      EXPECT_NEAR(out[2] + out[8], w, load_tolerance * w);
      EXPECT_EQ(r.vertical_load, out[2] + out[8]);
      EXPECT_EQ(r.residual, r.vertical_load - w);
      full_model::ModelState m = full_model::make_state(at);
      EXPECT_EQ(r.sinkage, full_model::sinkage_at(m, 0.0));
      EXPECT_EQ(r.max_sinkage, std::fmax(full_model::sinkage_at(m, in.width * 0.5),
                                         full_model::sinkage_at(m, in.width * (-0.5))));
      EXPECT_NE(r.message.find("carries"), std::string::npos);
      sidewall_seen = sidewall_seen || out[8] != 0;
    }
  }
  EXPECT_TRUE(sidewall_seen);
}

TEST(WheelEquilibrium, RefusesLoadsThatAreNotFiniteAndPositive) {
  for (double w : {0.0, -0.0, -5.0, nan, inf, -inf}) {
    const EquilibriumResult r = solve_equilibrium(rover_wheel(), w);
    EXPECT_EQ(r.status, EquilibriumStatus::invalid_load) << w;
    EXPECT_FALSE(r.converged);
    EXPECT_EQ(r.iterations, 0);
    EXPECT_TRUE(std::isnan(r.centre_height));
    EXPECT_NE(r.message.find("load must be finite and positive"), std::string::npos);
  }
}

TEST(WheelEquilibrium, RefusesAWheelItCannotSearch) {
  struct Bad {
    double WheelSoilInput::*slot;
    double value;
    const char *named;
  };
  const Bad bad[] = {
      {&WheelSoilInput::radius, 0, "radius"},
      {&WheelSoilInput::radius, -0.1, "radius"},
      {&WheelSoilInput::radius, nan, "radius"},
      {&WheelSoilInput::radius, inf, "radius"},
      {&WheelSoilInput::width, 0, "width"},
      {&WheelSoilInput::width, nan, "width"},
      {&WheelSoilInput::width, -inf, "width"},
      {&WheelSoilInput::tilt_sine, 1, "tilt_sine"},
      {&WheelSoilInput::tilt_sine, -1, "tilt_sine"},
      {&WheelSoilInput::tilt_sine, 1.5, "tilt_sine"},
      {&WheelSoilInput::tilt_sine, nan, "tilt_sine"},
  };
  for (const Bad &b : bad) {
    WheelSoilInput in = rover_wheel();
    in.*b.slot = b.value;
    const EquilibriumResult r = solve_equilibrium(in, 50);
    EXPECT_EQ(r.status, EquilibriumStatus::invalid_wheel) << b.named << " " << b.value;
    EXPECT_EQ(r.iterations, 0);
    EXPECT_EQ(r.message.rfind(b.named, 0), 0u) << r.message;
  }
  // The centre height given is ignored, whatever it is.
  WheelSoilInput any = rover_wheel();
  any.centre_height = nan;
  EXPECT_TRUE(solve_equilibrium(any, 50).converged);
}

TEST(WheelEquilibrium, SaysHowMuchTheSoilCarriesWhenTheLoadIsTooLarge) {
  for (double tilt : {0.0, 0.4}) {
    WheelSoilInput in = rover_wheel();
    in.tilt_sine = tilt;
    // The most it reached: the vertical force at one radius of sinkage,
    // whatever the load beside it.
    WheelSoilInput deepest = in;
    deepest.centre_height = equilibrium::height_bracket(in).heavy;
    const std::vector<double> out = talvor(deepest);
    for (double w : {1e5, 1e21, 1e308}) {
      const EquilibriumResult r = solve_equilibrium(in, w);
      EXPECT_EQ(r.status, EquilibriumStatus::load_not_carried);
      EXPECT_EQ(r.iterations, 1);  // only the deepest height
      EXPECT_EQ(r.centre_height, deepest.centre_height);
      EXPECT_EQ(r.vertical_load, out[2] + out[8]);
      char reached[64];
      std::snprintf(reached, sizeof reached, "only %g N", out[2] + out[8]);
      EXPECT_NE(r.message.find(reached), std::string::npos) << r.message;
      EXPECT_NEAR(r.max_sinkage, in.radius, 1e-15);
    }
    // A load just above it is told apart from it.
    const EquilibriumResult close = solve_equilibrium(in, (out[2] + out[8]) * (1 + 1e-9));
    EXPECT_EQ(close.status, EquilibriumStatus::load_not_carried);
    double w = 0, reached = 0;
    ASSERT_EQ(std::sscanf(close.message.c_str(),
                          "load of %lf N not carried: at one radius of "
                          "sinkage at the lowest edge (centre height %*g m) the vertical force "
                          "is only %lf N",
                          &w, &reached),
              2)
        << close.message;
    EXPECT_GT(w, reached) << close.message;
  }
}

TEST(WheelEquilibrium, ReportsNonFiniteLoadsAndWhereTheyArose) {
  for (double tilt : {0.0, 0.2}) {
    WheelSoilInput nan_modulus = rover_wheel();
    nan_modulus.k_phi = nan;
    nan_modulus.tilt_sine = tilt;
    const EquilibriumResult r = solve_equilibrium(nan_modulus, 50);
    EXPECT_EQ(r.status, EquilibriumStatus::non_finite_loads);
    EXPECT_FALSE(r.converged);
    EXPECT_EQ(r.centre_height, equilibrium::height_bracket(nan_modulus).heavy);
    EXPECT_EQ(r.iterations, 1);
    char where[64];
    std::snprintf(where, sizeof where, "at centre height %.17g m", r.centre_height);
    EXPECT_NE(r.message.find(where), std::string::npos) << r.message;
    // Nothing was sampled below the deepest height.
    EXPECT_EQ(r.message.find("below it"), std::string::npos) << r.message;
  }
}

bool some_nan(const std::vector<double> &loads) {
  return std::any_of(loads.begin(), loads.end(), [](double v) { return std::isnan(v); });
}

// No shear deformation modulus (kx = 0 or ky = 0): the loads are 0/0 where a
// section of the rim has no sinkage, at an empty patch and, on a tilted
// wheel, wherever the patch covers only part of the width.
struct NoShearModulus : ::testing::TestWithParam<double WheelSoilInput::*> {
  WheelSoilInput wheel(double tilt) const {
    WheelSoilInput in = rover_wheel();
    in.*GetParam() = 0;
    in.tilt_sine = tilt;
    return in;
  }
};

TEST_P(NoShearModulus, AnUprightWheelIsSolvedWithoutTouchingTheEmptyPatch) {
  const WheelSoilInput in = wheel(0);
  WheelSoilInput empty = in;
  empty.centre_height = in.radius;
  EXPECT_TRUE(some_nan(talvor(empty)));  // what sampling no sinkage would meet
  for (double w : {1e-3, 50.0, 500.0}) {
    const EquilibriumResult r = solve_equilibrium(in, w);
    ASSERT_TRUE(r.converged) << w << ": " << r.message;
    EXPECT_LE(std::fabs(r.residual), load_tolerance * w);
    EXPECT_EQ(loads_of(r.loads), talvor(solved_input(in, r)));
    EXPECT_GT(r.sinkage, 0);
  }
}

TEST_P(NoShearModulus, ATiltedWheelIsSolvedWhereItsWholeWidthIsInTheSoil) {
  // Tilt sine 0.05: the whole width is in the soil below 8 mm of sinkage at
  // the lowest edge; 40 N needs about 14 mm.
  const WheelSoilInput in = wheel(0.05);
  WheelSoilInput part = in;
  part.centre_height = equilibrium::height_bracket(in).light - 0.004;
  EXPECT_TRUE(some_nan(talvor(part)));
  const EquilibriumResult r = solve_equilibrium(in, 40);
  ASSERT_TRUE(r.converged) << r.message;
  EXPECT_LE(std::fabs(r.residual), load_tolerance * 40);
  EXPECT_GT(r.max_sinkage, 0.008);
  EXPECT_EQ(loads_of(r.loads), talvor(solved_input(in, r)));
}

TEST_P(NoShearModulus, ALoadCarriedOnlyWhereTheLoadsAreNotDefinedIsReportedSo) {
  // Tilt sine 0.3: part of the width is out of the soil up to 50 mm of
  // sinkage at the lowest edge, and 50 N needs less. The search closes in on
  // the height where the loads stop being defined.
  const WheelSoilInput in = wheel(0.3);
  const EquilibriumResult r = solve_equilibrium(in, 50);
  EXPECT_EQ(r.status, EquilibriumStatus::non_finite_loads);
  EXPECT_LE(r.iterations, 100);
  WheelSoilInput at = in;
  at.centre_height = r.centre_height;
  EXPECT_TRUE(some_nan(talvor(at)));
  at.centre_height = std::nextafter(r.centre_height, 0.0);
  const std::vector<double> below = talvor(at);
  EXPECT_GT(below[2] + below[8], 50);
  EXPECT_NEAR(r.max_sinkage, 0.3 * in.width / std::sqrt(1 - 0.09), 1e-3);
  EXPECT_NE(r.message.find("below it the soil carries more than the load"), std::string::npos)
      << r.message;
}

INSTANTIATE_TEST_SUITE_P(Moduli, NoShearModulus,
                         ::testing::Values(&WheelSoilInput::kx, &WheelSoilInput::ky));

// Where the vertical force changes by more than 1e-10 W between adjacent
// centre heights, the closest height is converged and says by how much.
TEST(WheelEquilibrium, TheClosestHeightCountsWhenTheHeightsCannotResolveTheLoad) {
  // A lean-clay wheel (r 0.229 m, b 0.421 m, tilt sine -0.31) with a band
  // surface 0.24 mm deep: where the band enters the soil the force changes
  // by 1.1e-7 N between adjacent centre heights around 100 N.
  const double p[29] = {0.1,
                        -0.013539000208769442,
                        0,
                        0,
                        0.49460932220675563,
                        0,
                        0.229,
                        0.421,
                        0.5788757605080197,
                        0.00023984431452824816,
                        1600,
                        68950,
                        0.3490658503988659,
                        0.2,
                        16430,
                        1724690,
                        0.018929196194942002,
                        0.0094054415226061013,
                        1,
                        -0.31,
                        0.11,
                        0,
                        0.24951158999652351,
                        0.27089044763331993,
                        0.16593204392505634,
                        0.10880299110443385,
                        0,
                        0,
                        9.81};
  WheelSoilInput lean_clay;
  std::memcpy(&lean_clay, p, sizeof p);
  const EquilibriumResult r = solve_equilibrium(lean_clay, 100);
  ASSERT_TRUE(r.converged) << r.message;
  EXPECT_GT(std::fabs(r.residual), load_tolerance * 100);
  EXPECT_LE(std::fabs(r.residual), 1e-6 * 100);
  EXPECT_EQ(r.residual,
            talvor(solved_input(lean_clay, r))[2] + talvor(solved_input(lean_clay, r))[8] - 100);
  char within[64];
  std::snprintf(within, sizeof within, "carries 100 N to within %.3g N", std::fabs(r.residual));
  EXPECT_EQ(r.message.rfind(within, 0), 0u) << r.message;
  EXPECT_NE(r.message.find("between adjacent centre heights"), std::string::npos) << r.message;

  // Tiny loads on the rover wheel: near no sinkage one step of the centre
  // height changes the force by 1e-8 W (1 nN) to 1e-4 W (1e-15 N). Each is
  // converged within 1e-6 W or its message shows the two forces apart.
  int loose = 0;
  for (double w : {1e-9, 3e-9, 1e-12, 1e-15, 3e-15}) {
    const EquilibriumResult t = solve_equilibrium(rover_wheel(), w);
    if (t.converged) {
      EXPECT_LE(std::fabs(t.residual), 1e-6 * w);
      loose += std::fabs(t.residual) > load_tolerance * w;
      continue;
    }
    double carried = 0, above = 0, low = 0, below = 0, high = 0;
    ASSERT_EQ(std::sscanf(t.message.c_str(),
                          "no centre height carries %lf N: the vertical force jumps from %lf N "
                          "at centre height %lf m to %lf N at %lf m",
                          &carried, &above, &low, &below, &high),
              5)
        << t.message;
    EXPECT_GT(above, carried) << t.message;
    EXPECT_LT(below, carried) << t.message;
    EXPECT_EQ(std::nextafter(low, 1.0), high) << t.message;
  }
  EXPECT_GE(loose, 1);
}

TEST(WheelEquilibrium, AVerticalForceThatJumpsOverTheLoadIsNotConverged) {
  // Braking on soft snow: the slip velocity changes sign inside the contact,
  // and the vertical force steps by several newtons where a quadrature node
  // crosses that angle (56.4 N to 63.7 N near 0.118 m of sinkage).
  TestSoil snow = published_soils()[10];
  const WheelSoilInput in = wheel_on(snow, -0.5, 0);
  const EquilibriumResult r = solve_equilibrium(in, 60);
  EXPECT_EQ(r.status, EquilibriumStatus::not_converged);
  EXPECT_GT(std::fabs(r.residual), 1.0);
  // Both forces with the digits that tell them apart, at adjacent heights.
  double carried = 0, above = 0, low = 0, below = 0, high = 0;
  ASSERT_EQ(std::sscanf(r.message.c_str(),
                        "no centre height carries %lf N: the vertical force jumps from %lf N at "
                        "centre height %lf m to %lf N at %lf m",
                        &carried, &above, &low, &below, &high),
            5)
      << r.message;
  EXPECT_EQ(carried, 60);
  EXPECT_GT(above, 60);
  EXPECT_LT(below, 60);
  EXPECT_EQ(std::nextafter(low, 1.0), high);
  EXPECT_EQ(r.centre_height, std::fabs(above - 60) <= std::fabs(below - 60) ? low : high);
  EXPECT_LE(r.iterations, 100);
  // The same wheel carries a smaller load on the rising branch, although the
  // force is negative (pulled down) at small sinkage: one crossing, no warning.
  const EquilibriumResult light = solve_equilibrium(in, 10);
  ASSERT_TRUE(light.converged) << light.message;
  EXPECT_TRUE(light.monotone);
  EXPECT_GT(light.sinkage, 0.06);
}

TEST(WheelEquilibrium, BatchesMatchSingleSolvesOnAnyNumberOfThreads) {
  const std::vector<WheelSoilInput> wheels = varied_wheels();
  std::vector<double> loads;
  for (std::size_t k = 0; k < wheels.size(); ++k)
    loads.push_back(k == 2 ? 1e5 : 30.0 + 10.0 * double(k));
  const std::size_t n = wheels.size();
  for (unsigned threads : {1u, 2u, 5u}) {
    std::vector<EquilibriumResult> paired(n), one_wheel(n);
    equilibrium::solve_equilibrium_batch(wheels.data(), 1, loads.data(), 1, n, paired.data(),
                                         threads);
    equilibrium::solve_equilibrium_batch(wheels.data(), 0, loads.data(), 1, n, one_wheel.data(),
                                         threads);
    for (std::size_t k = 0; k < n; ++k) {
      const EquilibriumResult a = solve_equilibrium(wheels[k], loads[k]);
      const EquilibriumResult b = solve_equilibrium(wheels[0], loads[k]);
      EXPECT_EQ(paired[k].status, a.status);
      EXPECT_TRUE(same_height(paired[k].centre_height, a.centre_height));
      EXPECT_EQ(loads_of(paired[k].loads), loads_of(a.loads));
      EXPECT_EQ(paired[k].message, a.message);
      EXPECT_TRUE(same_height(one_wheel[k].centre_height, b.centre_height));
      EXPECT_EQ(one_wheel[k].iterations, b.iterations);
    }
  }
}

// Published soils, driving and (but on snow) braking, tilted or not, at
// loads each soil carries within one radius: always found, in few evaluations.
TEST(WheelEquilibrium, ConvergesQuicklyOnPublishedSoils) {
  int most = 0;
  for (const TestSoil &s : published_soils()) {
    std::vector<double> slips = {0.0, 0.2, 0.5, 0.9};
    if (!s.snow) slips.insert(slips.end(), {-0.2, -0.5});
    const std::vector<double> loads =
        s.snow ? std::vector<double>{5, 20} : std::vector<double>{10, 50, 150};
    for (double slip : slips) {
      for (double tilt : {0.0, 0.2, -0.3}) {
        for (double w : loads) {
          const EquilibriumResult r = solve_equilibrium(wheel_on(s, slip, tilt), w);
          ASSERT_TRUE(r.converged)
              << s.name << " slip " << slip << " tilt " << tilt << ": " << r.message;
          EXPECT_LE(std::fabs(r.residual), load_tolerance * w);
          EXPECT_GT(r.max_sinkage, 0);
          EXPECT_LT(r.max_sinkage, 0.13);
          most = std::max(most, r.iterations);
        }
      }
    }
  }
  // The deepest height, two probes and the search (bench/equilibrium_sweep
  // measures the bound the documentation gives over a finer grid).
  EXPECT_LE(most, 24);
}

}  // namespace
