// The default evaluator for one vector unit, chosen by WHEELSOIL_UNIT_SSE2 or
// WHEELSOIL_UNIT_AVX: the strip evaluator with the C library's elementary
// functions, one point at a time, so that its 18 results are the reference
// path's bits on either unit (the arithmetic between the functions is IEEE
// arithmetic at any width). A point whose argument equals the previous
// point's, bit for bit, takes its value (runs of equal angles at the rear of a
// band out of contact, the padding lanes).
#include "../api/strict_fp.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "strip_evaluator.h"
#include "wheel_soil_model.h"

namespace wheelsoil::detail::full_model {

namespace {

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
  static void pow(const double *x, double e, const strips::Mask *use, double *y) {
    each(x, use, y, [e](double v) { return std::pow(v, e); });
  }
  static void sincos(const double *x, double *s, double *c) {
    for (int j = 0; j < gl_lanes; ++j) {
      if (j > 0 && strips::same_bits(x[j], x[j - 1])) {
        s[j] = s[j - 1];
        c[j] = c[j - 1];
      } else {
        s[j] = std::sin(x[j]);
        c[j] = std::cos(x[j]);
      }
    }
  }
};

}  // namespace

#if defined(WHEELSOIL_UNIT_AVX)
void evaluate_avx(const ModelState &m, WheelSoilOutput *out) {
#elif defined(WHEELSOIL_UNIT_SSE2)
void evaluate_sse2(const ModelState &m, WheelSoilOutput *out) {
#else
#error "WHEELSOIL_UNIT_<unit> names the unit this file is built for"
#endif
  strips::evaluate<LibmMath>(m, out);
}

}  // namespace wheelsoil::detail::full_model
