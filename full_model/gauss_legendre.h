// Two-dimensional Gauss-Legendre product quadrature over a region whose inner
// limits depend on the outer variable, with the rules of 2 to 30 points.
#ifndef WHEELSOIL_FULL_MODEL_GAUSS_LEGENDRE_H
#define WHEELSOIL_FULL_MODEL_GAUSS_LEGENDRE_H

namespace wheelsoil::detail::full_model {

constexpr int gl_max_points = 30;

#include "gl_tables.inc"

// A full table row set, mirrored from the non-negative half so that
// x[n][n-1-k] = -x[n][k] and w[n][n-1-k] = w[n][k] hold bit for bit.
struct GaussLegendreTable {
  double entry[gl_max_points + 1][gl_max_points];
};

constexpr GaussLegendreTable mirror_table(const double (&half)[31][15], bool negate) {
  GaussLegendreTable t{};
  for (int n = 2; n <= gl_max_points; ++n) {
    for (int k = 0; k < (n + 1) / 2; ++k) {
      t.entry[n][k] = half[n][k];
      t.entry[n][n - 1 - k] = negate && half[n][k] != 0.0 ? -half[n][k] : half[n][k];
    }
  }
  return t;
}

inline constexpr GaussLegendreTable gl_node_table = mirror_table(gl_half_nodes, true);
inline constexpr GaussLegendreTable gl_weight_table = mirror_table(gl_half_weights, false);

// gl_nodes[n][k]: node k of the n-point rule on [-1, 1], descending; rows 0
// and 1 and the entries k >= n are 0.0. gl_weights[n][k]: its weight.
inline constexpr const double (&gl_nodes)[31][30] = full_model::gl_node_table.entry;
inline constexpr const double (&gl_weights)[31][30] = full_model::gl_weight_table.entry;

// The inner limit at the outer variable x.
using LimitFunction = double (*)(double x);
// The integrand at (outer variable x, inner variable t).
using IntegrandFunction = double (*)(double x, double t);

// I = integral over x in [a, b] of the integral over t in [lower(x), upper(x)]
// of integrand(x, t), by the n_outer x n_inner product rule. Counts below 2
// contribute nothing; counts above 30 are taken as 30.
double gauss_legendre_2d(double a, double b, LimitFunction lower, LimitFunction upper,
                         IntegrandFunction integrand, int n_outer, int n_inner);

// x_i = ((b - a) xi_i + b + a)/2, in the grouping that fixes its bits.
inline double gl_abscissa(double d, double node, double b, double a) {
  return ((d * node + b) + a) * 0.5;
}

// (U - L)(b - a)/4, formed once per outer point.
inline double gl_strip_factor(double g, double d) { return (g * d) * 0.25; }

// The weight of the point (i, j): the strip factor times w_i, then w_j.
inline double gl_point_weight(double p, double w_outer, double w_inner) {
  return (p * w_outer) * w_inner;
}

inline int gl_clamp_count(int n) { return n > gl_max_points ? gl_max_points : n; }

}  // namespace wheelsoil::detail::full_model

#endif
