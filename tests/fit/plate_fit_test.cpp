// The plate-sinkage fit: recovery of known values from noisy readings, the
// ill-posed single plate size, held parameters, bad readings.
#include <gtest/gtest.h>

#include <cmath>

#include "synthetic_tests.h"

namespace wheelsoil {
namespace {

using testing::plate_readings;
using testing::PlateTruth;

// Within this many standard errors of the truth: a 3-sigma miss has a chance
// of 0.3 % per parameter, and the seeds are fixed.
constexpr double within = 3;

void expect_recovered(const FitResult &r, const char *name, double truth) {
  const FitParameter *p = r.parameter(name);
  ASSERT_NE(p, nullptr) << name;
  EXPECT_TRUE(p->fitted && !p->at_bound) << name;
  EXPECT_GT(p->standard_error, 0) << name;
  EXPECT_LT(std::fabs(p->value - truth), within * p->standard_error)
      << name << " = " << p->value << " +- " << p->standard_error << ", truth " << truth;
}

TEST(PlateFit, RecoversKnownValuesFromTwoAndThreePlates) {
  const PlateTruth t;
  for (auto seed : {1u, 2u, 3u}) {
    for (const PlateData &d : {plate_readings(t, {0.05, 0.1}, 5e3, seed),
                               plate_readings(t, {0.05, 0.075, 0.1}, 5e3, seed)}) {
      const FitResult r = fit_plate(d);
      ASSERT_TRUE(r.ok()) << r.message;
      expect_recovered(r, "sinkage_exponent", t.n);
      expect_recovered(r, "k_c", t.k_c);
      expect_recovered(r, "k_phi", t.k_phi);
      EXPECT_EQ(r.observations, d.size.size());
      EXPECT_EQ(r.degrees_of_freedom, d.size.size() - 3);
      ASSERT_EQ(r.quantities.size(), 1u);
      const FitQuantity &q = r.quantities[0];
      EXPECT_EQ(q.name, "pressure");
      EXPECT_GT(q.r_squared, 0.99);
      // The noise's size comes back as the residuals' (sd 5 kPa).
      EXPECT_NEAR(q.rmse, 5e3, 2.5e3);
      EXPECT_NEAR(r.residual_standard_error, 5e3, 2.5e3);
      for (std::size_t k = 0; k < d.size.size(); ++k)
        EXPECT_DOUBLE_EQ(q.residuals[k], q.measured[k] - q.fitted[k]);
    }
  }
}

TEST(PlateFit, ExactReadingsGiveTheValuesThemselves) {
  const PlateTruth t;
  const FitResult r = fit_plate(plate_readings(t, {0.05, 0.1}, 0, 1));
  ASSERT_TRUE(r.ok()) << r.message;
  EXPECT_NEAR(r.value("sinkage_exponent"), t.n, 1e-9);
  EXPECT_NEAR(r.value("k_c"), t.k_c, 1e-6 * t.k_c);
  EXPECT_NEAR(r.value("k_phi"), t.k_phi, 1e-9 * t.k_phi);
}

TEST(PlateFit, OnePlateSizeIsIllPosedAndNotFitted) {
  const FitResult r = fit_plate(plate_readings(PlateTruth{}, {0.1}, 5e3, 1));
  EXPECT_EQ(r.status, FitStatus::ill_posed);
  EXPECT_EQ(r.undetermined, (std::vector<std::string>{"k_c", "k_phi"}));
  EXPECT_NE(r.message.find("one plate size"), std::string::npos) << r.message;
  for (const FitParameter &p : r.parameters) EXPECT_TRUE(std::isnan(p.value)) << p.name;
  EXPECT_TRUE(std::isnan(r.quantities[0].rmse));
}

TEST(PlateFit, OnePlateSizeFitsWithKcHeld) {
  const PlateTruth t;
  FitOptions o;
  o.fixed["k_c"] = t.k_c;
  const FitResult r = fit_plate(plate_readings(t, {0.1}, 5e3, 4), o);
  ASSERT_TRUE(r.ok()) << r.message;
  EXPECT_FALSE(r.parameter("k_c")->fitted);
  EXPECT_EQ(r.value("k_c"), t.k_c);
  EXPECT_TRUE(std::isnan(r.parameter("k_c")->standard_error));
  expect_recovered(r, "k_phi", t.k_phi);
  expect_recovered(r, "sinkage_exponent", t.n);
}

TEST(PlateFit, OneSinkageLeavesTheExponentOpen) {
  // Two plates, each read at one sinkage only: n multiplies log z, which
  // does not vary, so the solver's Jacobian is rank-deficient.
  PlateData d;
  d.size = {0.05, 0.05, 0.1, 0.1, 0.05};
  d.sinkage = {0.02, 0.02, 0.02, 0.02, 0.02};
  d.pressure = {4e5, 4.1e5, 3e5, 3.05e5, 3.95e5};
  const FitResult r = fit_plate(d);
  EXPECT_EQ(r.status, FitStatus::ill_posed) << r.message;
  EXPECT_FALSE(r.undetermined.empty());
  for (const FitParameter &p : r.parameters) EXPECT_TRUE(std::isnan(p.value));
}

TEST(PlateFit, RefusesUnusableReadingsAndOptions) {
  PlateData d = plate_readings(PlateTruth{}, {0.05, 0.1}, 5e3, 1);
  struct Case {
    const char *what;
    PlateData data;
    FitOptions options;
    const char *message;
  };
  std::vector<Case> cases;
  cases.push_back({"no rows", PlateData{}, {}, "no measurements"});
  {
    PlateData e = d;
    e.pressure.pop_back();
    cases.push_back({"lengths", e, {}, "differ in length"});
  }
  {
    PlateData e = d;
    e.size[3] = 0;
    cases.push_back({"size 0", e, {}, "row 4: size is 0, not a positive number"});
  }
  {
    PlateData e = d;
    e.sinkage[2] = -0.01;
    cases.push_back({"negative sinkage", e, {}, "row 3: sinkage"});
  }
  {
    PlateData e = d;
    e.pressure[0] = NAN;
    cases.push_back({"nan pressure", e, {}, "row 1: pressure is nan"});
  }
  {
    FitOptions o;
    o.fixed["kc"] = 1;
    cases.push_back({"unknown name", d, o, "'kc' is not a parameter of this fit"});
  }
  {
    FitOptions o;
    o.lower["k_phi"] = 2;
    o.upper["k_phi"] = 1;
    cases.push_back({"bounds", d, o, "leave no room"});
  }
  {
    FitOptions o;
    o.fixed = {{"k_c", 1}, {"k_phi", 1}, {"sinkage_exponent", 1}};
    cases.push_back({"all held", d, o, "nothing to fit"});
  }
  for (const Case &c : cases) {
    const FitResult r = fit_plate(c.data, c.options);
    EXPECT_EQ(r.status, FitStatus::invalid_data) << c.what;
    EXPECT_NE(r.message.find(c.message), std::string::npos) << c.what << ": " << r.message;
  }
}

TEST(PlateFit, BoundsAreKeptAndReportedAtBound) {
  // Readings whose best k_phi is negative: the fit stops on k_phi = 0.
  PlateData d;
  for (double b : {0.05, 0.1})
    for (int i = 1; i <= 8; ++i) {
      d.size.push_back(b);
      d.sinkage.push_back(0.005 * i);
      d.pressure.push_back(plate_pressure(3e4, -5e4, 1.0, b, 0.005 * i));
    }
  const FitResult r = fit_plate(d);
  ASSERT_TRUE(r.ok()) << r.message;
  const FitParameter *k_phi = r.parameter("k_phi");
  EXPECT_TRUE(k_phi->at_bound);
  EXPECT_EQ(k_phi->value, 0);
  EXPECT_TRUE(std::isnan(k_phi->standard_error));
  EXPECT_NE(r.message.find("k_phi ended on its lower bound 0"), std::string::npos) << r.message;
  EXPECT_GT(r.parameter("k_c")->standard_error, 0);
}

}  // namespace
}  // namespace wheelsoil
