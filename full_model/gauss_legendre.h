// Two-dimensional Gauss-Legendre product quadrature over a region whose inner
// limits depend on the outer variable, with the rules of 2 to 30 points.
#ifndef WHEELSOIL_FULL_MODEL_GAUSS_LEGENDRE_H
#define WHEELSOIL_FULL_MODEL_GAUSS_LEGENDRE_H

#include "arith_namespace.h"

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

inline namespace WHEELSOIL_ARITH_NAMESPACE {

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

// Lanes of a strip's point arrays: the largest count, padded to a multiple of
// every vector width.
constexpr int gl_lanes = 32;

// The product rule's traversal, the one place that fixes the order of the
// sums: outer points i from the largest node to the smallest; at each, the
// strip's lower limit, then its upper limit, the strip factor and the inner
// points t_ij; then S_k = S_k + f_k(i, j) ((p w_i) w_j) for j in order.
//
// Strip supplies
//   void outer_points(const double *x, int n)  the abscissas x_i, all at once,
//                                              before any strip is visited
//   double lower(int i, double x), double upper(int i, double x)
//   bool values(int i, double x, const double *t, double (*f)[gl_lanes])
//       f[k][j] for j < n_inner; t holds the n_inner points, padded to
//       gl_lanes with the last of them (or the lower limit, if none). It may return false instead
//       when every term of the strip is +0 or -0: a sum that starts at +0 never becomes -0 (x + y
//       is -0 only when both are), so such terms leave it unchanged.
template <int K, class Strip>
void gl_product_rule(double a, double b, int n_outer, int n_inner, Strip &strip, double (&sum)[K]) {
  double s[K];  // one plain accumulator per integral, in registers
  for (int k = 0; k < K; ++k) s[k] = 0.0;
  const double d = b - a;
  alignas(64) double x[gl_lanes];
  for (int i = 0; i < n_outer; ++i) x[i] = gl_abscissa(d, gl_nodes[n_outer][i], b, a);
  if (n_outer > 0) strip.outer_points(x, n_outer);
  for (int i = 0; i < n_outer; ++i) {
    const double lo = strip.lower(i, x[i]);  // lower first
    const double hi = strip.upper(i, x[i]);
    const double g = hi - lo;
    const double p = gl_strip_factor(g, d);
    alignas(64) double t[gl_lanes];
    int j = 0;
    for (; j < n_inner; ++j) t[j] = gl_abscissa(g, gl_nodes[n_inner][j], hi, lo);
    for (; j < gl_lanes; ++j) t[j] = n_inner > 0 ? t[n_inner - 1] : lo;
    alignas(64) double f[K][gl_lanes];
    if (!strip.values(i, x[i], t, f)) continue;
    for (j = 0; j < n_inner; ++j) {
      const double w = gl_point_weight(p, gl_weights[n_outer][i], gl_weights[n_inner][j]);
      // unrolled, so that the K sums stay in registers
#if defined(__clang__)
#pragma unroll
#elif defined(__GNUC__)
#pragma GCC unroll 8
#endif
      for (int k = 0; k < K; ++k) s[k] = s[k] + f[k][j] * w;
    }
  }
  for (int k = 0; k < K; ++k) sum[k] = s[k];
}

}  // namespace WHEELSOIL_ARITH_NAMESPACE
}  // namespace wheelsoil::detail::full_model

#endif
