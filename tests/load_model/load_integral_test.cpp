// The 3x3 inverse, the quadratic fits, the closed-form integrals and the
// vertical load they give.
#include "load_integral.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "load_cases.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::load_model;

namespace {

namespace lm = load_model;

constexpr double pi = 3.141592653589793;

// A fit expands the quadratic into monomials of theta ~ 0.3: cancellation
// costs a few digits of the 16, more the closer the abscissae.
constexpr double fit_tolerance = 1e-10;
// The closed-form integrals lose a few ulps to cancellation of G(hi) - G(lo).
constexpr double integral_tolerance = 1e-14;
// The fitted load against the exact integral: the fits' rounding, relative.
constexpr double load_tolerance = 1e-12;

TEST(Invert3x3, IdentityIsItsOwnInverse) {
  const double id[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  double inv[9];
  ASSERT_EQ(invert_3x3(id, inv), 1);
  for (int k = 0; k < 9; ++k) EXPECT_EQ(inv[k], id[k]) << k;
}

TEST(Invert3x3, GivesTheInverseNotItsTranspose) {
  const double m[9] = {1, 2, 3, 0, 1, 4, 0, 0, 1};
  const double expected[9] = {1, -2, 5, 0, 1, -4, 0, 0, 1};
  double inv[9];
  ASSERT_EQ(invert_3x3(m, inv), 1);
  for (int k = 0; k < 9; ++k) EXPECT_EQ(inv[k], expected[k]) << k;
}

TEST(Invert3x3, DeterminantTestIsStrict) {
  double inv[9];
  const double at_limit[9] = {0.0001, 0, 0, 0, 1, 0, 0, 0, 1};
  EXPECT_EQ(invert_3x3(at_limit, inv), 1);
  const double below[9] = {std::nextafter(0.0001, 0.0), 0, 0, 0, 1, 0, 0, 0, 1};
  std::fill(inv, inv + 9, 7.0);
  EXPECT_EQ(invert_3x3(below, inv), 0);
  for (double v : inv) EXPECT_EQ(v, 7.0);                        // left as it was
  const double negative[9] = {0, 1, 0, 0.00005, 0, 0, 0, 0, 1};  // det = -0.00005
  EXPECT_EQ(invert_3x3(negative, inv), 0);
}

TEST(Invert3x3, NaNDeterminantPassesTheTest) {
  const double m[9] = {std::nan(""), 0, 0, 0, 1, 0, 0, 0, 1};
  double inv[9];
  EXPECT_EQ(invert_3x3(m, inv), 1);
  EXPECT_TRUE(std::isnan(inv[0]));
}

// The quadratic 3x^2 - 2x + 0.5, and its fit through three of its points.
double f(double x) { return (3 * x - 2) * x + 0.5; }

lm::Quadratic fit(double x1, double x2, double x3) {
  double c2, c1, c0;
  fit_quadratic(x1, x2, x3, f(x1), f(x2), f(x3), &c2, &c1, &c0);
  return {c2, c1, c0};
}

struct FitQuadratic : ::testing::TestWithParam<double> {};

// Spans from well above the determinant threshold (~0.074 rad for equal
// spacing) to far below it: the inverse and the interpolation alike must
// reproduce the quadratic.
TEST_P(FitQuadratic, ReproducesAQuadratic) {
  const double span = GetParam();
  const double x1 = 0.3, x3 = 0.3 + span, x2 = (x1 + x3) * 0.5;
  const lm::Quadratic q = fit(x1, x2, x3);
  const double tol = fit_tolerance * std::max(1.0, 0.1 / span);
  EXPECT_NEAR(q.c2, 3.0, tol * 3);
  EXPECT_NEAR(q.c1, -2.0, tol * 3);
  EXPECT_NEAR(q.c0, 0.5, tol * 3);
}

INSTANTIATE_TEST_SUITE_P(Spans, FitQuadratic, ::testing::Values(0.5, 0.1, 0.075, 0.07, 0.01, 1e-3));

TEST(QuadraticFallback, CoincidingAbscissaeLowerTheDegree) {
  // two the same: the line through the two distinct abscissae
  const lm::Quadratic line = fit(0.3, 0.3, 0.5);
  EXPECT_EQ(line.c2, 0.0);
  EXPECT_NEAR(line.c1 * 0.3 + line.c0, f(0.3), 1e-15);
  EXPECT_NEAR(line.c1 * 0.5 + line.c0, f(0.5), 1e-15);
  const lm::Quadratic line_23 = fit(0.5, 0.3, 0.3);
  EXPECT_EQ(line_23.c2, 0.0);
  EXPECT_NEAR(line_23.c1, line.c1, 1e-15);
  // all the same: the constant
  const lm::Quadratic constant = fit(0.3, 0.3, 0.3);
  EXPECT_EQ(constant.c2, 0.0);
  EXPECT_EQ(constant.c1, 0.0);
  EXPECT_EQ(constant.c0, f(0.3));
}

TEST(ClosedFormIntegrals, KnownValues) {
  EXPECT_NEAR(integral_x2_cos(0, pi / 2), pi * pi / 4 - 2, integral_tolerance);
  EXPECT_NEAR(integral_x2_sin(0, pi), pi * pi - 4, integral_tolerance * 10);
}

TEST(ClosedFormIntegrals, EmptyAndReversedIntervals) {
  for (double x : {-0.4, 0.0, 0.27, 1.3}) {
    EXPECT_EQ(integral_x2_sin(x, x), 0.0);
    EXPECT_EQ(integral_x2_cos(x, x), 0.0);
    EXPECT_EQ(integral_x2_sin(0.1, x), -integral_x2_sin(x, 0.1));
    EXPECT_EQ(integral_x2_cos(0.1, x), -integral_x2_cos(x, 0.1));
  }
}

// The load of stresses the fits reproduce, against b r k (sin theta_a - sin theta_2).
struct ConstantStressLoad : ::testing::Test {
  static double exact(const LoadModelInput &in) {
    const double k = in.k_c / in.width + in.k_phi;
    return in.width * in.radius * k * (std::sin(in.front_angle) - std::sin(in.rear_angle));
  }
  static void expect_exact(const LoadModelInput &in) {
    const double load = load_cases::load_of(in);
    EXPECT_NEAR(load, exact(in), load_tolerance * exact(in));
  }
};

TEST_F(ConstantStressLoad, BothFitsInvertible) {
  expect_exact(load_cases::constant_stress(-0.1, 0.1, 0.3));
}

TEST_F(ConstantStressLoad, NearSingularFitsInterpolate) {
  expect_exact(load_cases::constant_stress(-0.1, 0.1, 0.13));    // front span 0.03
  expect_exact(load_cases::constant_stress(0.08, 0.1, 0.3));     // rear span 0.02
  expect_exact(load_cases::constant_stress(0.099, 0.1, 0.101));  // both tiny
}

TEST_F(ConstantStressLoad, FrontOfNoWidthCarriesNothing) {
  expect_exact(load_cases::constant_stress(-0.1, 0.2, 0.2));
  // adjacent angles: a midpoint that coincides with an end
  expect_exact(load_cases::constant_stress(-0.1, 0.2, std::nextafter(0.2, 1.0)));
}

TEST_F(ConstantStressLoad, PatchOfNoWidthCarriesNothingWhateverItsStress) {
  LoadModelInput in = load_cases::base();
  in.rear_angle = in.peak_stress_angle = in.front_angle = in.rim_entry_angle + 0.1;
  EXPECT_TRUE(std::isnan(lm::sample_at(lm::make_state(in), in.front_angle).sigma));
  EXPECT_EQ(load_cases::load_of(in), 0.0);
}

TEST(VerticalLoad, NoRadiusNoLoad) {
  LoadModelInput in = load_cases::base();
  in.radius = 0;
  EXPECT_EQ(load_cases::load_of(in), 0.0);
}

}  // namespace
