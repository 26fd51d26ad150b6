#include "../api/strict_fp.h"

#include "gauss_legendre.h"

namespace wheelsoil::detail::full_model {

namespace fm = full_model;

double gauss_legendre_2d(double a, double b, LimitFunction lower, LimitFunction upper,
                         IntegrandFunction integrand, int n_outer, int n_inner) {
  n_outer = fm::gl_clamp_count(n_outer);
  n_inner = fm::gl_clamp_count(n_inner);
  double sum = 0.0;  // one plain accumulator, i outer, j inner
  const double d = b - a;
  for (int i = 0; i < n_outer; ++i) {
    const double x = fm::gl_abscissa(d, gl_nodes[n_outer][i], b, a);
    const double lo = lower(x);  // lower first
    const double hi = upper(x);
    const double g = hi - lo;
    const double p = fm::gl_strip_factor(g, d);
    for (int j = 0; j < n_inner; ++j) {
      const double t = fm::gl_abscissa(g, gl_nodes[n_inner][j], hi, lo);
      const double v = integrand(x, t);
      sum = sum + v * fm::gl_point_weight(p, gl_weights[n_outer][i], gl_weights[n_inner][j]);
    }
  }
  return sum;
}

}  // namespace wheelsoil::detail::full_model
