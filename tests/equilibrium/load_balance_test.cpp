// The bracketed load balance on forces whose roots and faults are known:
// where it stops, what it counts, and how it reports a force that rises,
// jumps, fails or cannot reach the load.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "load_balance.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::equilibrium;

namespace {

using equilibrium::balance_load;
using equilibrium::BalanceProblem;
using equilibrium::BalanceResult;
using equilibrium::BalanceStatus;

// A force over h in [0, 1] with a log of the heights it was asked for.
struct Force {
  std::function<double(double)> law;
  std::vector<double> asked;
  std::function<double(double)> counted() {
    return [this](double h) {
      asked.push_back(h);
      return law(h);
    };
  }
};

BalanceProblem unit_bracket(double load) {
  BalanceProblem p;
  p.h_heavy = 0;
  p.h_light = 1;
  p.load = load;
  return p;
}

// Like a wheel's: F = k (1 - h)^1.5, zero at the light end.
double sinking(double h) { return 500 * std::pow(1 - h, 1.5); }

TEST(LoadBalance, FindsTheRootOfAFallingForceWithinTheTolerance) {
  for (double w : {1e-6, 0.5, 20.0, 300.0, 499.0}) {
    Force f{sinking, {}};
    const BalanceResult r = balance_load(f.counted(), unit_bracket(w));
    ASSERT_EQ(r.status, BalanceStatus::converged) << w;
    EXPECT_LE(std::fabs(r.residual), 1e-10 * w);
    EXPECT_EQ(r.force, sinking(r.height));
    EXPECT_EQ(r.residual, r.force - w);
    EXPECT_NEAR(r.height, 1 - std::pow(w / 500, 1 / 1.5), 1e-9);
    EXPECT_TRUE(r.monotone);
    // Every evaluation counted, each height asked once, the ends first.
    EXPECT_EQ(r.iterations, int(f.asked.size()));
    EXPECT_LE(r.iterations, 30);
    EXPECT_EQ(f.asked[0], 1.0);
    EXPECT_EQ(f.asked[1], 0.0);
    std::vector<double> heights = f.asked;
    std::sort(heights.begin(), heights.end());
    EXPECT_EQ(std::adjacent_find(heights.begin(), heights.end()), heights.end());
  }
}

TEST(LoadBalance, AKnownLightForceIsNeitherEvaluatedNorCounted) {
  // Not defined at the light end itself (0/0 there), like a wheel whose
  // shear modulus is 0 at no sinkage: known to be 0 instead.
  Force f{[](double h) { return h == 1 ? std::nan("") : sinking(h); }, {}};
  BalanceProblem p = unit_bracket(50);
  p.light_force = 0.0;
  const BalanceResult r = balance_load(f.counted(), p);
  ASSERT_EQ(r.status, BalanceStatus::converged);
  EXPECT_LE(std::fabs(r.residual), 1e-10 * 50);
  EXPECT_EQ(std::count(f.asked.begin(), f.asked.end(), 1.0), 0);
  EXPECT_EQ(f.asked[0], 0.0);
  EXPECT_EQ(r.iterations, int(f.asked.size()));

  // One evaluation fewer than when the light end is evaluated.
  Force g{sinking, {}};
  EXPECT_EQ(balance_load(g.counted(), unit_bracket(50)).iterations, r.iterations + 1);
}

TEST(LoadBalance, ForcesAreReportedAsEvaluatedWhateverTheLoad) {
  // F - W + W would give 0 beside 1e308 and a multiple of 131072 beside 1e21.
  for (double w : {501.0, 1e21, 1e300, 1.7e308}) {
    Force f{sinking, {}};
    const BalanceResult r = balance_load(f.counted(), unit_bracket(w));
    EXPECT_EQ(r.status, BalanceStatus::load_not_carried) << w;
    EXPECT_EQ(r.heavy_force, 500.0) << w;
    EXPECT_EQ(r.force, 500.0) << w;
    EXPECT_EQ(r.residual, 500.0 - w) << w;
  }
  // And beside a tiny load, at both ends of the final bracket.
  Force f{sinking, {}};
  const BalanceResult r = balance_load(f.counted(), unit_bracket(1e-300));
  EXPECT_EQ(r.force_low, sinking(r.low));
  EXPECT_EQ(r.force_high, sinking(r.high));
  EXPECT_EQ(r.heavy_force, 500.0);
}

TEST(LoadBalance, AcceptsTheClosestHeightWhenNoneMeetsTheTarget) {
  // F = 1 - h, W = 1e-8: the root is near 1 - 1e-8, where F changes by
  // 1.1e-16 (1.1e-8 W) between adjacent heights, more than the target 1e-10 W
  // allows for: the search closes the bracket on two adjacent heights.
  Force f{[](double h) { return 1 - h; }, {}};
  BalanceProblem p = unit_bracket(1e-8);
  const BalanceResult r = balance_load(f.counted(), p);
  ASSERT_EQ(r.status, BalanceStatus::converged);
  EXPECT_TRUE(r.closed);
  EXPECT_EQ(std::nextafter(r.low, 1.0), r.high);
  EXPECT_GT(std::fabs(r.residual), 1e-10 * p.load);
  EXPECT_LE(std::fabs(r.residual), 1e-6 * p.load);
  // The better of the two.
  EXPECT_EQ(std::fabs(r.residual),
            std::min(std::fabs(r.force_low - p.load), std::fabs(r.force_high - p.load)));
  EXPECT_TRUE(r.monotone);

  // Accepting no more than the target, the same search does not converge.
  p.accepted_tolerance = p.tolerance;
  Force g{[](double h) { return 1 - h; }, {}};
  const BalanceResult strict = balance_load(g.counted(), p);
  EXPECT_EQ(strict.status, BalanceStatus::not_converged);
  EXPECT_EQ(strict.height, r.height);
  EXPECT_EQ(strict.iterations, r.iterations - 2);  // no probes
}

TEST(LoadBalance, ExactBalanceAtAnEndStopsThere) {
  Force heavy{[](double h) { return 10 * (1 - h); }, {}};
  const BalanceResult at_heavy = balance_load(heavy.counted(), unit_bracket(10));
  EXPECT_EQ(at_heavy.status, BalanceStatus::converged);
  EXPECT_EQ(at_heavy.height, 0.0);
  EXPECT_EQ(at_heavy.residual, 0.0);

  // A load no larger than the force with no sinkage balances only if equal.
  Force offset{[](double h) { return 10 * (1 - h) + 2; }, {}};
  const BalanceResult equal = balance_load(offset.counted(), unit_bracket(2));
  EXPECT_EQ(equal.status, BalanceStatus::converged);
  EXPECT_EQ(equal.height, 1.0);
  const BalanceResult below = balance_load(offset.counted(), unit_bracket(1));
  EXPECT_EQ(below.status, BalanceStatus::not_converged);
  EXPECT_EQ(below.height, 1.0);
  EXPECT_EQ(below.force, 2.0);
}

TEST(LoadBalance, ReportsALoadBeyondTheHeavyEnd) {
  Force f{sinking, {}};
  const BalanceResult r = balance_load(f.counted(), unit_bracket(501));
  EXPECT_EQ(r.status, BalanceStatus::load_not_carried);
  EXPECT_EQ(r.heavy_force, 500.0);
  EXPECT_EQ(r.iterations, 2);
}

TEST(LoadBalance, FindsARootBesideHeightsWhereTheForceIsNotDefined) {
  // Not defined from 0.6 up to the light end, as for a wheel whose patch is
  // partly empty: a root below 0.6 is still found, whichever failure.
  for (double bad :
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    Force f{[bad](double h) { return h >= 0.6 && h < 1 ? bad : 100 * (1 - h); }, {}};
    BalanceProblem p = unit_bracket(50);
    p.light_force = 0.0;
    const BalanceResult r = balance_load(f.counted(), p);
    ASSERT_EQ(r.status, BalanceStatus::converged);
    EXPECT_NEAR(r.height, 0.5, 1e-12);
    EXPECT_TRUE(r.monotone);
    EXPECT_EQ(r.iterations, int(f.asked.size()));
  }
}

TEST(LoadBalance, StopsAtANonFiniteForceAndSaysWhere) {
  // The root, 0.8, lies where F is not defined: the search closes in on the
  // edge of that region, 0.6, from the heights that carry more than W.
  for (double bad :
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    Force f{[bad](double h) { return h >= 0.6 && h < 1 ? bad : 100 * (1 - h); }, {}};
    BalanceProblem p = unit_bracket(20);
    p.light_force = 0.0;
    const BalanceResult r = balance_load(f.counted(), p);
    EXPECT_EQ(r.status, BalanceStatus::non_finite_force);
    EXPECT_EQ(r.failed_height, 0.6);
    EXPECT_EQ(r.height, 0.6);
    EXPECT_EQ(r.low, std::nextafter(0.6, 0.0));
    EXPECT_EQ(r.force_low, 100 * (1 - r.low));
    EXPECT_TRUE(std::isnan(r.force));
    EXPECT_EQ(r.iterations, int(f.asked.size()));
    EXPECT_LE(r.iterations, p.max_iterations);
  }
  // Run out of evaluations first: the lowest failure seen.
  Force f{[](double h) { return h >= 0.6 && h < 1 ? std::nan("") : 100 * (1 - h); }, {}};
  BalanceProblem p = unit_bracket(20);
  p.light_force = 0.0;
  p.max_iterations = 12;
  const BalanceResult r = balance_load(f.counted(), p);
  EXPECT_EQ(r.status, BalanceStatus::non_finite_force);
  EXPECT_GE(r.failed_height, 0.6);
  EXPECT_TRUE(std::isnan(f.law(r.failed_height)));
  EXPECT_LE(r.iterations, 12);

  // At an end: nothing is known beyond it.
  Force at_end{[](double h) { return h == 1 ? std::nan("") : 1 - h; }, {}};
  const BalanceResult light = balance_load(at_end.counted(), unit_bracket(0.5));
  EXPECT_EQ(light.status, BalanceStatus::non_finite_force);
  EXPECT_EQ(light.failed_height, 1.0);
  EXPECT_EQ(light.iterations, 1);
  EXPECT_EQ(light.low, 1.0);  // no defined height sampled below it
  EXPECT_EQ(light.high, 1.0);
  Force heavy{[](double h) { return h == 0 ? std::nan("") : 1 - h; }, {}};
  const BalanceResult deep = balance_load(heavy.counted(), unit_bracket(0.5));
  EXPECT_EQ(deep.status, BalanceStatus::non_finite_force);
  EXPECT_EQ(deep.failed_height, 0.0);
  EXPECT_EQ(deep.iterations, 2);
}

TEST(LoadBalance, AForceThatJumpsOverTheLoadDoesNotConverge) {
  Force f{[](double h) { return h < 0.3 ? 100.0 : 40.0 * (1 - h); }, {}};
  const BalanceResult r = balance_load(f.counted(), unit_bracket(50));
  EXPECT_EQ(r.status, BalanceStatus::not_converged);
  // The bracket closes on the jump, with the force on either side.
  EXPECT_NEAR(r.low, 0.3, 1e-15);
  EXPECT_NEAR(r.high, 0.3, 1e-15);
  EXPECT_EQ(r.force_low, 100.0);
  EXPECT_NEAR(r.force_high, 28.0, 1e-12);
  EXPECT_LE(r.iterations, 100);
  // Closed on adjacent heights: no height between them is left unsampled.
  EXPECT_TRUE(r.closed);
  EXPECT_EQ(std::nextafter(r.low, 1.0), r.high);
}

TEST(LoadBalance, GivesUpWhenTheEvaluationsRunOut) {
  Force f{sinking, {}};
  BalanceProblem p = unit_bracket(300);
  p.tolerance = p.accepted_tolerance = 0;  // never met but by an exact root
  p.max_iterations = 8;
  const BalanceResult r = balance_load(f.counted(), p);
  EXPECT_EQ(r.status, BalanceStatus::not_converged);
  EXPECT_FALSE(r.closed);
  EXPECT_LE(r.iterations, 8);
  EXPECT_EQ(r.iterations, int(f.asked.size()));
}

TEST(LoadBalance, FlagsAForceThatIsNotMonotoneAtTheRoot) {
  // Three roots of F = W = 50: at 0.2, 0.5 and 0.8; whichever is found, the
  // samples or the probes show the force does not fall steadily through W.
  Force three{[](double h) { return 50 - 2000 * (h - 0.2) * (h - 0.5) * (h - 0.8); }, {}};
  const BalanceResult r = balance_load(three.counted(), unit_bracket(50));
  ASSERT_EQ(r.status, BalanceStatus::converged);
  EXPECT_FALSE(r.monotone);

  // A force that dips below zero and rises again away from its one root
  // (root 0.4; the samples at 0.8 and 1 rise with h) is not flagged.
  Force dip{
      [](double h) { return h < 0.5 ? 100 * (1 - 2 * h) : -10 * std::sin(2 * M_PI * (h - 0.5)); },
      {}};
  const BalanceResult one = balance_load(dip.counted(), unit_bracket(20));
  ASSERT_EQ(one.status, BalanceStatus::converged);
  EXPECT_NEAR(one.height, 0.4, 1e-10);
  EXPECT_TRUE(one.monotone);

  // Probing can be switched off; it costs two evaluations.
  Force plain{sinking, {}};
  BalanceProblem p = unit_bracket(100);
  const int with_probes = balance_load(plain.counted(), p).iterations;
  p.check_monotone = false;
  EXPECT_EQ(balance_load(plain.counted(), p).iterations, with_probes - 2);
}

}  // namespace
