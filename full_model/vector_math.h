// The strip evaluator's math provider on SLEEF's deterministic functions, over
// a vector unit Isa:
//   using V; static constexpr int width;
//   V load(const double *); void store(double *, V);
//   V exp(V), log(V), cos(V), acos(V), pow(V, V); void sincos(V, V &s, V &c)
// The per-call functions (tan, pow) take the scalar member of the same
// family, which gives the same bits as every width.
#ifndef WHEELSOIL_FULL_MODEL_VECTOR_MATH_H
#define WHEELSOIL_FULL_MODEL_VECTOR_MATH_H

#include <sleef.h>

#include <cmath>

#include "arith_namespace.h"
#include "gauss_legendre.h"
#include "strip_evaluator.h"

namespace wheelsoil::detail::full_model {
inline namespace WHEELSOIL_ARITH_NAMESPACE {
namespace strips {

template <class Isa>
struct SleefMath {
  static constexpr int width = Isa::width;
  static_assert(gl_lanes % width == 0, "a strip is whole blocks of lanes");

  static double tan(double x) { return Sleef_cinz_tand1_u10purec(x); }
  static double pow(double x, double y) { return Sleef_cinz_powd1_u10purec(x, y); }

  // Whether any lane of the block at j is used.
  static bool block_used(const Mask *use, int j) {
    if (!use) return true;
    for (int k = 0; k < width; ++k)
      if (use[j + k]) return true;
    return false;
  }

  // y = f(x) over the used blocks, then 0.0 in every unused lane.
  template <class F>
  static void each(const double *x, const Mask *use, double *y, F f) {
    for (int j = 0; j < gl_lanes; j += width) {
      if (block_used(use, j)) {
        Isa::store(y + j, f(Isa::load(x + j)));
      } else {
        for (int k = 0; k < width; ++k) y[j + k] = 0.0;
      }
    }
    if (use)
      for (int j = 0; j < gl_lanes; ++j) y[j] = use[j] ? y[j] : 0.0;
  }

  static void acos(const double *x, const Mask *use, double *y) {
    each(x, use, y, [](typename Isa::V v) { return Isa::acos(v); });
  }
  static void cos(const double *x, const Mask *use, double *y) {
    each(x, use, y, [](typename Isa::V v) { return Isa::cos(v); });
  }
  static void exp(const double *x, const Mask *use, double *y) {
    each(x, use, y, [](typename Isa::V v) { return Isa::exp(v); });
  }
  // x^e for x >= 0 (or NaN): exp(e log x) for a finite, non-zero e, which
  // keeps pow's values at x = 0, 1, infinity and NaN and is within a few
  // ulps elsewhere at a third of pow's cost; pow itself for any other e.
  static void pow(const double *x, double e, const Mask *use, double *y) {
    alignas(64) double ev[width];
    for (double &v : ev) v = e;
    const typename Isa::V ve = Isa::load(ev);
    if (e != 0 && std::isfinite(e)) {
      each(x, use, y, [e](typename Isa::V v) {
        alignas(64) double l[width];
        Isa::store(l, Isa::log(v));
        for (int k = 0; k < width; ++k) l[k] = e * l[k];
        return Isa::exp(Isa::load(l));
      });
    } else {
      each(x, use, y, [ve](typename Isa::V v) { return Isa::pow(v, ve); });
    }
  }
  static void sincos(const double *x, double *s, double *c) {
    for (int j = 0; j < gl_lanes; j += width) {
      typename Isa::V vs, vc;
      Isa::sincos(Isa::load(x + j), vs, vc);
      Isa::store(s + j, vs);
      Isa::store(c + j, vc);
    }
  }
};

}  // namespace strips
}  // namespace WHEELSOIL_ARITH_NAMESPACE
}  // namespace wheelsoil::detail::full_model

#endif
