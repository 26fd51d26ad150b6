// The Gauss-Legendre tables against an independent long-double computation,
// and the 2-D product rule's properties.
#include "gauss_legendre.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::full_model;

namespace {

// P_n(x) and P_n'(x) in long double, by the three-term recurrence.
void legendre(int n, long double x, long double &p, long double &dp) {
  long double p0 = 1, p1 = x;
  for (int k = 2; k <= n; ++k) {
    const long double p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
    p0 = p1;
    p1 = p2;
  }
  p = p1;
  dp = n * (x * p1 - p0) / (x * x - 1);
}

// The exact rule's node k and weight, polished by Newton from the table node.
void exact_entry(int n, int k, long double &x, long double &w) {
  x = gl_nodes[n][k];
  for (int it = 0; it < 4; ++it) {
    long double p, dp;
    legendre(n, x, p, dp);
    x -= p / dp;
  }
  long double p, dp;
  legendre(n, x, p, dp);
  w = 2 / ((1 - x * x) * dp * dp);
}

// n distinct roots in descending order, each within 2e-15: the whole rule.
TEST(GaussLegendreTable, EveryFilledRowIsTheExactRule) {
  for (int n = 2; n <= 30; ++n) {
    SCOPED_TRACE(n);
    long double weight_sum = 0;
    for (int k = 0; k < n; ++k) {
      long double x, w;
      exact_entry(n, k, x, w);
      EXPECT_LE(std::fabs(gl_nodes[n][k] - x), 2e-15L) << k;
      EXPECT_LE(std::fabs(gl_weights[n][k] - w), 2e-15L) << k;
      weight_sum += gl_weights[n][k];
      if (k > 0) {
        EXPECT_LT(gl_nodes[n][k], gl_nodes[n][k - 1]) << k;
      }
    }
    EXPECT_NEAR(double(weight_sum), 2.0, 3e-15);
  }
}

TEST(GaussLegendreTable, RowsAreExactlySymmetricAndZeroPadded) {
  for (int n = 0; n <= 30; ++n) {
    for (int k = 0; k < 30; ++k) {
      if (n < 2 || k >= n) {
        EXPECT_EQ(gl_nodes[n][k], 0.0) << n << "," << k;
        EXPECT_EQ(gl_weights[n][k], 0.0) << n << "," << k;
        continue;
      }
      EXPECT_EQ(gl_nodes[n][n - 1 - k], -gl_nodes[n][k]) << n << "," << k;
      EXPECT_EQ(gl_weights[n][n - 1 - k], gl_weights[n][k]) << n << "," << k;
    }
    if (n % 2 == 1 && n > 1) {
      EXPECT_EQ(gl_nodes[n][(n - 1) / 2], 0.0);
      EXPECT_FALSE(std::signbit(gl_nodes[n][(n - 1) / 2]));
    }
  }
}

// Callbacks that count their calls, and the order of the limit calls.
struct Calls {
  int lower = 0, upper = 0, integrand = 0;
  bool lower_first = true;
};
Calls calls;

double zero(double) { return ++calls.lower, 0.0; }
double one(double) {
  if (calls.upper >= calls.lower) calls.lower_first = false;
  return ++calls.upper, 1.0;
}
double identity(double x) {
  if (calls.upper >= calls.lower) calls.lower_first = false;
  return ++calls.upper, x;
}
double unit(double, double) { return ++calls.integrand, 1.0; }
double product(double x, double t) { return ++calls.integrand, x * t; }
double inner_power(double, double t) { return ++calls.integrand, std::pow(t, 59); }

struct GaussLegendre2d : ::testing::Test {
  void SetUp() override { calls = Calls{}; }
};

TEST_F(GaussLegendre2d, IntegratesPolynomialsExactly) {
  EXPECT_NEAR(gauss_legendre_2d(-1, 1, zero, one, unit, 30, 30), 2.0, 1e-14);
  EXPECT_NEAR(gauss_legendre_2d(0, 1, zero, identity, unit, 30, 30), 0.5, 1e-14);
  EXPECT_NEAR(gauss_legendre_2d(0, 1, zero, identity, product, 30, 30), 0.125, 1e-14);
  // degree 59 in the inner variable is still exact with 30 points
  EXPECT_NEAR(gauss_legendre_2d(0, 1, zero, one, inner_power, 30, 30), 1.0 / 60, 1e-14);
  for (int n = 2; n <= 30; ++n)
    EXPECT_NEAR(gauss_legendre_2d(0, 1, zero, identity, product, n, n), 0.125, 1e-14) << n;
}

TEST_F(GaussLegendre2d, CallsEachCallbackAsOftenAsDocumented) {
  gauss_legendre_2d(0, 1, zero, identity, product, 30, 30);
  EXPECT_EQ(calls.lower, 30);
  EXPECT_EQ(calls.upper, 30);
  EXPECT_EQ(calls.integrand, 900);
  EXPECT_TRUE(calls.lower_first);

  calls = Calls{};
  EXPECT_EQ(gauss_legendre_2d(0, 1, zero, one, unit, 0, 30), 0.0);
  EXPECT_EQ(calls.lower + calls.upper + calls.integrand, 0);

  calls = Calls{};
  EXPECT_EQ(gauss_legendre_2d(0, 1, zero, one, unit, 5, -1), 0.0);
  EXPECT_EQ(calls.lower, 5);
  EXPECT_EQ(calls.upper, 5);
  EXPECT_EQ(calls.integrand, 0);
}

TEST_F(GaussLegendre2d, DegenerateAndReversedRegions) {
  // a = b: every callback still runs, the result is exactly 0
  EXPECT_EQ(gauss_legendre_2d(0.3, 0.3, zero, one, unit, 30, 30), 0.0);
  EXPECT_EQ(calls.integrand, 900);
  // a zero-length strip contributes exactly 0
  EXPECT_EQ(gauss_legendre_2d(0, 1, zero, zero, unit, 30, 30), 0.0);
  // a one-point rule has weight 0
  EXPECT_EQ(gauss_legendre_2d(0, 1, zero, one, unit, 1, 1), 0.0);
  // reversing either pair of limits negates the result
  const double forward = gauss_legendre_2d(0, 1, zero, identity, product, 30, 30);
  EXPECT_NEAR(gauss_legendre_2d(1, 0, zero, identity, product, 30, 30), -forward, 1e-15);
  EXPECT_NEAR(gauss_legendre_2d(0, 1, identity, zero, product, 30, 30), -forward, 1e-15);
  // counts above the table are taken as 30
  EXPECT_EQ(gauss_legendre_2d(0, 1, zero, identity, product, 31, 99), forward);
}

}  // namespace
