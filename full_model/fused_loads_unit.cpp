// The default evaluator for one vector unit, chosen by WHEELSOIL_UNIT_SSE2,
// WHEELSOIL_UNIT_AVX or WHEELSOIL_UNIT_AVX512: the strip evaluator with the C
// library's elementary functions, one point at a time, so that its 18
// results are the reference path's bits on every unit (the arithmetic
// between the functions is IEEE arithmetic at any width). A point whose
// argument equals the previous point's, bit for bit, takes its value (runs of
// equal angles at the rear of a band out of contact, the padding lanes); a
// point whose angle is the exact negation of its mirror's takes the mirror's
// sine negated and its cosine.
#include "../api/strict_fp.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "strip_evaluator.h"
#include "wheel_soil_model.h"

namespace wheelsoil::detail::full_model {

namespace {

// Largest |x| whose sin and cos the mirror of a point reuses: every angle of
// the contact (acos lies in [0, pi]), NaN and infinities excluded.
constexpr double mirror_bound = 4.0;

// The C library's functions over a strip's lanes.
struct LibmMath {
  static double tan(double x) { return std::tan(x); }
  static double pow(double x, double y) { return std::pow(x, y); }

  // y[j] = f(x[j]) where use[j] (or use is null), 0.0 elsewhere.
  template <class F>
  static void each(const double *x, const strips::Mask *use, double *y, F f) {
    bool have = false;
    double last_x = 0, last_y = 0;
    for (int j = 0; j < gl_lanes; ++j) {
      if (use && !use[j]) {
        y[j] = 0.0;
        continue;
      }
      if (!have || !strips::same_bits(x[j], last_x)) {
        last_x = x[j];
        last_y = f(x[j]);
        have = true;
      }
      y[j] = last_y;
    }
  }

  static void acos(const double *x, const strips::Mask *use, double *y) {
    each(x, use, y, [](double v) { return std::acos(v); });
  }
  static void cos(const double *x, const strips::Mask *use, double *y) {
    each(x, use, y, [](double v) { return std::cos(v); });
  }
  static void exp(const double *x, const strips::Mask *use, double *y) {
    each(x, use, y, [](double v) { return std::exp(v); });
  }
  // x^e; for e = 1 the value x itself, which is what pow returns: the C
  // library's pow is within 0.54 ulp of x^e, and x^1 is the double x.
  static void pow(const double *x, double e, const strips::Mask *use, double *y) {
    if (e == 1.0)
      each(x, use, y, [](double v) { return v; });
    else
      each(x, use, y, [e](double v) { return std::pow(v, e); });
  }
  // sin and cos of a strip's points. The mirror of point j, point k = 29 - j,
  // often holds exactly -x[j] (a sidewall circle runs from -theta_e to
  // theta_e, a rim strip of undefined slip from -theta1 to theta1): for
  // |x| <= mirror_bound the C library's sin is odd and its cos even to the
  // last bit (LibmProperties tests), so point j takes -sin and cos of point k.
  static void sincos(const double *x, double *s, double *c) {
    for (int j = 0; j < gl_lanes; ++j) {
      const int k = strips::points - 1 - j;
      if (j > 0 && strips::same_bits(x[j], x[j - 1])) {
        s[j] = s[j - 1];
        c[j] = c[j - 1];
      } else if (k >= 0 && k < j && strips::same_bits(x[j], -x[k]) &&
                 std::fabs(x[k]) <= mirror_bound) {
        s[j] = -s[k];
        c[j] = c[k];
      } else {
        // one argument, read once, so that the compiler may take both in one
        // call (the same bits as two: LibmProperties tests) whether or not s
        // and x overlap
        const double v = x[j];
        s[j] = std::sin(v);
        c[j] = std::cos(v);
      }
    }
  }
};

}  // namespace

#if defined(WHEELSOIL_UNIT_AVX512)
void evaluate_avx512(const ModelState &m, WheelSoilOutput *out) {
#elif defined(WHEELSOIL_UNIT_AVX)
void evaluate_avx(const ModelState &m, WheelSoilOutput *out) {
#elif defined(WHEELSOIL_UNIT_SSE2)
void evaluate_sse2(const ModelState &m, WheelSoilOutput *out) {
#else
#error "WHEELSOIL_UNIT_<unit> names the unit this file is built for"
#endif
  strips::evaluate<LibmMath>(m, out);
}

}  // namespace wheelsoil::detail::full_model
