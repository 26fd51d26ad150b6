#include "../api/strict_fp.h"

#include "gauss_legendre.h"

namespace wheelsoil::detail::full_model {

namespace fm = full_model;

namespace {

// The documented callbacks as a strip of the product rule: one integral.
struct CallbackStrip {
  LimitFunction lower_limit, upper_limit;
  IntegrandFunction integrand;
  int n_inner;
  void outer_points(const double *, int) {}
  double lower(int, double x) const { return lower_limit(x); }
  double upper(int, double x) const { return upper_limit(x); }
  bool values(int, double x, const double *t, double (*f)[fm::gl_lanes]) const {
    for (int j = 0; j < n_inner; ++j) f[0][j] = integrand(x, t[j]);
    return true;
  }
};

}  // namespace

double gauss_legendre_2d(double a, double b, LimitFunction lower, LimitFunction upper,
                         IntegrandFunction integrand, int n_outer, int n_inner) {
  n_outer = fm::gl_clamp_count(n_outer);
  n_inner = fm::gl_clamp_count(n_inner);
  CallbackStrip strip{lower, upper, integrand, n_inner};
  double sum[1];
  fm::gl_product_rule(a, b, n_outer, n_inner, strip, sum);
  return sum[0];
}

}  // namespace wheelsoil::detail::full_model
