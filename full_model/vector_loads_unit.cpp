// The vector-maths evaluator for one vector unit, chosen by
// WHEELSOIL_UNIT_<UNIT> (SCALAR, SSE2, AVX, AVX512). This file is compiled
// once per unit, with that unit's instruction set and no other; the arithmetic
// between the functions is the same IEEE arithmetic on every unit.
#include "../api/strict_fp.h"

#include <sleef.h>

#include "vector_math.h"

#if defined(WHEELSOIL_UNIT_AVX512) || defined(WHEELSOIL_UNIT_AVX) || defined(WHEELSOIL_UNIT_SSE2)
#include <immintrin.h>
#endif

namespace wheelsoil::detail::full_model {
namespace {

#if defined(WHEELSOIL_UNIT_AVX512)
struct Unit {
  using V = __m512d;
  static constexpr int width = 8;
  static V load(const double *p) { return _mm512_loadu_pd(p); }
  static void store(double *p, V v) { _mm512_storeu_pd(p, v); }
  static V exp(V x) { return Sleef_cinz_expd8_u10avx512fnofma(x); }
  static V cos(V x) { return Sleef_cinz_cosd8_u10avx512fnofma(x); }
  static V acos(V x) { return Sleef_cinz_acosd8_u10avx512fnofma(x); }
  static V pow(V x, V y) { return Sleef_cinz_powd8_u10avx512fnofma(x, y); }
  static V log(V x) { return Sleef_cinz_logd8_u10avx512fnofma(x); }
  static void sincos(V x, V &s, V &c) {
    const Sleef___m512d_2 r = Sleef_cinz_sincosd8_u10avx512fnofma(x);
    s = r.x;
    c = r.y;
  }
};
#define WHEELSOIL_UNIT_ENTRY vector_loads_avx512
#elif defined(WHEELSOIL_UNIT_AVX)
struct Unit {
  using V = __m256d;
  static constexpr int width = 4;
  static V load(const double *p) { return _mm256_loadu_pd(p); }
  static void store(double *p, V v) { _mm256_storeu_pd(p, v); }
  static V exp(V x) { return Sleef_cinz_expd4_u10avx(x); }
  static V cos(V x) { return Sleef_cinz_cosd4_u10avx(x); }
  static V acos(V x) { return Sleef_cinz_acosd4_u10avx(x); }
  static V pow(V x, V y) { return Sleef_cinz_powd4_u10avx(x, y); }
  static V log(V x) { return Sleef_cinz_logd4_u10avx(x); }
  static void sincos(V x, V &s, V &c) {
    const Sleef___m256d_2 r = Sleef_cinz_sincosd4_u10avx(x);
    s = r.x;
    c = r.y;
  }
};
#define WHEELSOIL_UNIT_ENTRY vector_loads_avx
#elif defined(WHEELSOIL_UNIT_SSE2)
struct Unit {
  using V = __m128d;
  static constexpr int width = 2;
  static V load(const double *p) { return _mm_loadu_pd(p); }
  static void store(double *p, V v) { _mm_storeu_pd(p, v); }
  static V exp(V x) { return Sleef_cinz_expd2_u10sse2(x); }
  static V cos(V x) { return Sleef_cinz_cosd2_u10sse2(x); }
  static V acos(V x) { return Sleef_cinz_acosd2_u10sse2(x); }
  static V pow(V x, V y) { return Sleef_cinz_powd2_u10sse2(x, y); }
  static V log(V x) { return Sleef_cinz_logd2_u10sse2(x); }
  static void sincos(V x, V &s, V &c) {
    const Sleef___m128d_2 r = Sleef_cinz_sincosd2_u10sse2(x);
    s = r.x;
    c = r.y;
  }
};
#define WHEELSOIL_UNIT_ENTRY vector_loads_sse2
#elif defined(WHEELSOIL_UNIT_SCALAR)
struct Unit {
  using V = double;
  static constexpr int width = 1;
  static V load(const double *p) { return *p; }
  static void store(double *p, V v) { *p = v; }
  static V exp(V x) { return Sleef_cinz_expd1_u10purec(x); }
  static V cos(V x) { return Sleef_cinz_cosd1_u10purec(x); }
  static V acos(V x) { return Sleef_cinz_acosd1_u10purec(x); }
  static V pow(V x, V y) { return Sleef_cinz_powd1_u10purec(x, y); }
  static V log(V x) { return Sleef_cinz_logd1_u10purec(x); }
  static void sincos(V x, V &s, V &c) {
    const Sleef_double_2 r = Sleef_cinz_sincosd1_u10purec(x);
    s = r.x;
    c = r.y;
  }
};
#define WHEELSOIL_UNIT_ENTRY vector_loads_scalar
#else
#error "WHEELSOIL_UNIT_<unit> names the unit this file is built for"
#endif

}  // namespace

// The 18 outputs of state m on this unit.
void WHEELSOIL_UNIT_ENTRY(const ModelState &m, WheelSoilOutput *out) {
  strips::evaluate<strips::SleefMath<Unit>>(m, out);
}

}  // namespace wheelsoil::detail::full_model
