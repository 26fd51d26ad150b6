// The vertical load: the stresses at five rim angles, a quadratic in the
// angle through three of them on each of the rear and the front interval, and
// the closed-form integral of b r (sigma cos(theta) + tau_x sin(theta)) over
// those quadratics.
#ifndef WHEELSOIL_LOAD_MODEL_LOAD_INTEGRAL_H
#define WHEELSOIL_LOAD_MODEL_LOAD_INTEGRAL_H

#include <cmath>

#include "load_model.h"
#include "point_stress.h"

namespace wheelsoil::detail::load_model {

// Documented functions, one-line adapters over the arithmetic below
// (invert_3x3, integral_x2_sin and integral_x2_cos are documented as they
// stand below).
void fit_quadratic(double x1, double x2, double x3, double y1, double y2, double y3, double *c2,
                   double *c1, double *c0);
// Sets call->load from load_model_state.
void vertical_load(LoadModelCall *call);

// A fit's matrix whose |determinant| is below this counts as singular.
constexpr double singular_determinant = 0.0001;

// inv = adj(m)/det(m), the inverse of the row-major 3x3 matrix m, and 1; 0
// with inv untouched when |det| < 0.0001 (a NaN determinant passes).
inline int invert_3x3(const double *m, double *inv) {
  // Expansion along the first row.
  const double det = m[0] * (m[4] * m[8] - m[7] * m[5]) - m[1] * (m[3] * m[8] - m[6] * m[5]) +
                     m[2] * (m[3] * m[7] - m[6] * m[4]);
  if (std::fabs(det) < singular_determinant) return 0;
  const double d = 1 / det;
  for (int i = 0; i < 3; ++i) {
    // p < q: the columns other than i. Row i of the inverse holds the
    // cofactors of column i, each a 2x2 minor times d, signs alternating.
    const int p = i == 0 ? 1 : 0;
    const int q = i == 2 ? 1 : 2;
    const double a = (m[3 + p] * m[6 + q] - m[6 + p] * m[3 + q]) * d;
    const double b = (m[p] * m[6 + q] - m[6 + p] * m[q]) * d;
    const double c = (m[p] * m[3 + q] - m[3 + p] * m[q]) * d;
    const bool odd = i % 2 == 1;
    inv[3 * i] = odd ? -a : a;
    inv[3 * i + 1] = odd ? b : -b;
    inv[3 * i + 2] = odd ? -c : c;
  }
  return 1;
}

// c2 x^2 + c1 x + c0.
struct Quadratic {
  double c2, c1, c0;
};

// The interpolant through (x1, y1), (x2, y2), (x3, y3) by Newton's divided
// differences, expanded to monomials: exact to rounding for any distinct
// abscissae however close. Where abscissae coincide the first of them stands
// for the group: a line through two distinct ones, a constant for one.
inline Quadratic interpolate_quadratic(double x1, double x2, double x3, double y1, double y2,
                                       double y3) {
  const bool same12 = x1 == x2, same13 = x1 == x3, same23 = x2 == x3;
  if (same12 && same13) return {0.0, 0.0, y1};
  if (same12 || same13 || same23) {
    const double xb = same12 ? x3 : x2;
    const double yb = same12 ? y3 : y2;
    const double slope = (yb - y1) / (xb - x1);
    return {0.0, slope, y1 - slope * x1};
  }
  const double d12 = (y2 - y1) / (x2 - x1);
  const double d23 = (y3 - y2) / (x3 - x2);
  const double c2 = (d23 - d12) / (x3 - x1);
  // y1 + d12 (x - x1) + c2 (x - x1)(x - x2), collected by powers of x.
  return {c2, d12 - c2 * (x1 + x2), y1 - x1 * (d12 - c2 * x2)};
}

// The quadratic through the three points, by the inverse of the Vandermonde
// matrix; by interpolation where that matrix is too near singular to invert.
inline Quadratic fit_quadratic(double x1, double x2, double x3, double y1, double y2, double y3) {
  const double v[9] = {x1 * x1, x1, 1, x2 * x2, x2, 1, x3 * x3, x3, 1};
  double n[9] = {};  // written in full by a successful inversion
  if (!invert_3x3(v, n)) return interpolate_quadratic(x1, x2, x3, y1, y2, y3);
  return {n[0] * y1 + n[1] * y2 + n[2] * y3, n[3] * y1 + n[4] * y2 + n[5] * y3,
          n[6] * y1 + n[7] * y2 + n[8] * y3};
}

// G(x) = 2x sin(x) - (x^2 - 2) cos(x), an antiderivative of x^2 sin(x).
inline double x2_sin_antiderivative(double x) {
  return 2 * x * std::sin(x) - (x * x - 2) * std::cos(x);
}

// H(x) = (x^2 - 2) sin(x) + 2x cos(x), an antiderivative of x^2 cos(x).
inline double x2_cos_antiderivative(double x) {
  return (x * x - 2) * std::sin(x) + 2 * x * std::cos(x);
}

// The integral of x^2 sin(x) from lo to hi.
inline double integral_x2_sin(double lo, double hi) {
  return x2_sin_antiderivative(hi) - x2_sin_antiderivative(lo);
}

// The integral of x^2 cos(x) from lo to hi.
inline double integral_x2_cos(double lo, double hi) {
  return x2_cos_antiderivative(hi) - x2_cos_antiderivative(lo);
}

// The integrals of x^0, x^1 and x^2 times cos(x) (or sin(x)) over an interval.
struct Moments {
  double m0, m1, m2;
};

inline Moments cos_moments(double lo, double hi) {
  return {std::sin(hi) - std::sin(lo),
          (hi * std::sin(hi) + std::cos(hi)) - (lo * std::sin(lo) + std::cos(lo)),
          integral_x2_cos(lo, hi)};
}

inline Moments sin_moments(double lo, double hi) {
  return {std::cos(lo) - std::cos(hi),
          (std::sin(hi) - hi * std::cos(hi)) - (std::sin(lo) - lo * std::cos(lo)),
          integral_x2_sin(lo, hi)};
}

// c2 M2 + c1 M1 + c0 M0, the x^2 term first: the fitted stress times cos or
// sin integrated over an interval. An interval of no width carries nothing,
// whatever its stresses.
inline double fitted_integral(const Quadratic &f, const Moments &w, bool empty) {
  if (empty) return 0.0;
  return f.c2 * w.m2 + f.c1 * w.m1 + f.c0 * w.m0;
}

// sigma and tau_x at one sample angle.
struct Sample {
  double sigma, tau_x;
};

inline Sample sample_at(const LoadModelState &m, double theta) {
  const SlipDirection dir = slip_direction(m, theta);
  const double j = shear_displacement(m, theta, m.rim_entry_angle, m.radius);
  const PointStress p = point_stress(m, theta, j, dir.lon, dir.lat);
  return {p.sigma, p.tau_x};
}

// The vertical load of state m. Reads only m, so any number may run at once,
// each with a state of its own.
inline double evaluate(const LoadModelState &m) {
  const double theta_a = m.front_angle;
  const double theta_b = m.front_mid_angle;
  const double theta_c = m.peak_stress_angle;
  const double theta_d = m.rear_mid_angle;
  const double theta_e = m.rear_angle;

  // The samples, front to rear.
  const Sample a = sample_at(m, theta_a);
  const Sample b = sample_at(m, theta_b);
  const Sample c = sample_at(m, theta_c);
  const Sample d = sample_at(m, theta_d);
  const Sample e = sample_at(m, theta_e);

  // Normal stress front (P) and rear (Q), shear stress front (T) and rear (U);
  // both fits of an interval start at the shared sample theta_c.
  const Quadratic p = fit_quadratic(theta_c, theta_b, theta_a, c.sigma, b.sigma, a.sigma);
  const Quadratic q = fit_quadratic(theta_c, theta_d, theta_e, c.sigma, d.sigma, e.sigma);
  const Quadratic t = fit_quadratic(theta_c, theta_b, theta_a, c.tau_x, b.tau_x, a.tau_x);
  const Quadratic u = fit_quadratic(theta_c, theta_d, theta_e, c.tau_x, d.tau_x, e.tau_x);

  // Rear interval theta_e..theta_c, front interval theta_c..theta_a.
  const bool rear_empty = theta_e == theta_c;
  const bool front_empty = theta_c == theta_a;
  const double a1 = fitted_integral(q, cos_moments(theta_e, theta_c), rear_empty);
  const double a2 = fitted_integral(p, cos_moments(theta_c, theta_a), front_empty);
  const double a3 = fitted_integral(t, sin_moments(theta_c, theta_a), front_empty);
  const double a4 = fitted_integral(u, sin_moments(theta_e, theta_c), rear_empty);

  // do not reassociate: ((A1 + A2) + A3) + A4, then times (b r)
  const double total = ((a1 + a2) + a3) + a4;
  return total * (m.width * m.radius);
}

}  // namespace wheelsoil::detail::load_model

#endif
