// The shear fit: recovery with the plain and the hump law, the ill-posed
// single normal stress, bounds, the law against the model's shear stress.
#include <gtest/gtest.h>

#include <wheelsoil/wheelsoil.hpp>

#include <cmath>

#include "synthetic_tests.h"

namespace wheelsoil {
namespace {

using testing::shear_readings;
using testing::ShearTruth;

constexpr double within = 3;  // standard errors; the seeds are fixed

void expect_recovered(const FitResult &r, const char *name, double truth) {
  const FitParameter *p = r.parameter(name);
  ASSERT_NE(p, nullptr) << name;
  EXPECT_FALSE(p->at_bound) << name;
  EXPECT_GT(p->standard_error, 0) << name;
  EXPECT_LT(std::fabs(p->value - truth), within * p->standard_error)
      << name << " = " << p->value << " +- " << p->standard_error << ", truth " << truth;
}

TEST(ShearFit, RecoversKnownValuesWithThePlainLaw) {
  const ShearTruth t;
  for (auto seed : {1u, 2u, 3u}) {
    const FitResult r = fit_shear(shear_readings(t, {10e3, 20e3, 40e3}, 300, seed));
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.parameters.size(), 3u);
    expect_recovered(r, "cohesion", t.c);
    expect_recovered(r, "friction_angle", t.phi);
    expect_recovered(r, "shear_modulus", t.K);
    EXPECT_GT(r.quantities[0].r_squared, 0.99);
    EXPECT_NEAR(r.quantities[0].rmse, 300, 100);
  }
}

TEST(ShearFit, RecoversKrWithTheHumpLaw) {
  ShearTruth t;
  t.kr = 0.6;
  t.K = 0.008;
  ShearFitOptions o;
  o.hump = true;
  for (auto seed : {1u, 2u, 3u}) {
    const FitResult r = fit_shear(shear_readings(t, {10e3, 20e3, 40e3}, 300, seed), o);
    ASSERT_TRUE(r.ok()) << r.message;
    expect_recovered(r, "cohesion", t.c);
    expect_recovered(r, "friction_angle", t.phi);
    expect_recovered(r, "shear_modulus", t.K);
    expect_recovered(r, "kr", t.kr);
  }
}

TEST(ShearFit, OneNormalStressIsIllPosedUnlessCohesionOrPhiIsHeld) {
  const ShearTruth t;
  const ShearData d = shear_readings(t, {20e3}, 300, 1);
  const FitResult r = fit_shear(d);
  EXPECT_EQ(r.status, FitStatus::ill_posed);
  EXPECT_EQ(r.undetermined, (std::vector<std::string>{"cohesion", "friction_angle"}));
  EXPECT_NE(r.message.find("one normal stress"), std::string::npos) << r.message;
  for (const FitParameter &p : r.parameters) EXPECT_TRUE(std::isnan(p.value)) << p.name;

  ShearFitOptions o;
  o.fixed["cohesion"] = t.c;
  const FitResult held = fit_shear(d, o);
  ASSERT_TRUE(held.ok()) << held.message;
  expect_recovered(held, "friction_angle", t.phi);
  expect_recovered(held, "shear_modulus", t.K);
}

TEST(ShearFit, CohesionlessSoilGivesNoCohesion) {
  ShearTruth t;
  t.c = 0;
  // Without noise the best cohesion is 0 itself; noise may push it either way.
  const FitResult r = fit_shear(shear_readings(t, {10e3, 20e3, 40e3}, 0, 1));
  ASSERT_TRUE(r.ok()) << r.message;
  const FitParameter *c = r.parameter("cohesion");
  EXPECT_NEAR(c->value, 0, 1e-6);
  EXPECT_NEAR(r.value("friction_angle"), t.phi, 1e-9);
  EXPECT_NEAR(r.value("shear_modulus"), t.K, 1e-9);
}

TEST(ShearFit, RefusesUnusableReadings) {
  ShearData d = shear_readings(ShearTruth{}, {10e3, 20e3}, 300, 1);
  d.displacement[5] = -1e-3;
  FitResult r = fit_shear(d);
  EXPECT_EQ(r.status, FitStatus::invalid_data);
  EXPECT_NE(r.message.find("row 6: displacement"), std::string::npos) << r.message;
  ShearFitOptions o;
  o.fixed["kr"] = 0.5;  // kr is no parameter without the hump law
  r = fit_shear(shear_readings(ShearTruth{}, {10e3, 20e3}, 300, 1), o);
  EXPECT_EQ(r.status, FitStatus::invalid_data);
  EXPECT_NE(r.message.find("'kr' is not a parameter"), std::string::npos) << r.message;
}

// The fitted law is the one talvor applies at a rim point: a wheel spinning
// in place at the bottom of a rim with no lateral motion mobilises
// tau_max·F(j/kx) along the rim, with the stress the law gives.
TEST(ShearFit, LawMatchesTheModelsMobilisation) {
  for (double kr : {1.0, 0.6, 1.2}) {
    const double c = 1e3, phi = 0.5, K = 0.01, sigma = 2e4;
    for (double j : {0.0, 0.005, 0.02, 0.1}) {
      const double e = std::exp(-(j / K));
      const double f = kr == 1 ? 1 - e : (((1.582 / kr - 1) * e + 1) * kr) * (1 - e);
      EXPECT_EQ(shear_stress_law(c, phi, K, kr, sigma, j), (sigma * std::tan(phi) + c) * f);
    }
  }
}

}  // namespace
}  // namespace wheelsoil
