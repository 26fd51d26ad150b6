// Elementary functions in plain double arithmetic, for the 32-bit/64-bit bit
// comparison only. The C libraries of the two targets round sin, cos, tan,
// exp and pow differently in the last bit (now and then by one ulp), so a
// comparison through them would see the libraries, not the model. Linked into
// a MEX module in place of the C library's functions, these give the same
// bits on any SSE2 target, and the comparison sees the model's own arithmetic
// alone. They are accurate to a few ulps for the arguments the model meets;
// they are never part of a deliverable.
//
// No math header is included: these definitions are the module's sin, cos,
// tan, sincos, exp and pow (the compiler turns sin and cos of one angle into
// sincos).
#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace {

std::uint64_t bits_of(double x) {
  std::uint64_t u;
  std::memcpy(&u, &x, sizeof u);
  return u;
}

double from_bits(std::uint64_t u) {
  double x;
  std::memcpy(&x, &u, sizeof x);
  return x;
}

bool is_nan(double x) { return x != x; }
bool is_finite(double x) { return x - x == 0; }
double magnitude(double x) { return x < 0 ? -x : x; }

constexpr double quiet_nan = __builtin_nan("");
constexpr double infinity = __builtin_inf();

// 2^k for -1022 <= k <= 1023.
double power_of_two(int k) { return from_bits(std::uint64_t(k + 1023) << 52); }

// x 2^k, exact unless the result is subnormal (rounded once) or overflows.
double scale(double x, int k) {
  if (k > 1023) return x * power_of_two(1023) * power_of_two(k - 1023 > 1023 ? 1023 : k - 1023);
  if (k < -1022) return x * power_of_two(-1022) * power_of_two(k + 1022 < -1022 ? -1022 : k + 1022);
  return x * power_of_two(k);
}

// The integer nearest t (ties away from zero), |t| < 2^62.
double nearest_integer(double t) {
  return t >= 0 ? double(std::int64_t(t + 0.5)) : -double(std::int64_t(0.5 - t));
}

// pi/2 in three parts; the first two have 33 significant bits, so k*part is
// exact for |k| < 2^20.
constexpr double half_pi_1 = 1.57079632673412561417e+00;
constexpr double half_pi_2 = 6.07710050630396597660e-11;
constexpr double half_pi_3 = 2.02226624879595063154e-21;
constexpr double two_over_pi = 6.36619772367581382433e-01;

// sin and cos of r, |r| <= pi/4, by their Taylor series.
double sin_kernel(double r) {
  const double z = r * r;
  double p = 1.0 / 355687428096000.0;  // 1/17!
  p = p * z - 1.0 / 1307674368000.0;
  p = p * z + 1.0 / 6227020800.0;
  p = p * z - 1.0 / 39916800.0;
  p = p * z + 1.0 / 362880.0;
  p = p * z - 1.0 / 5040.0;
  p = p * z + 1.0 / 120.0;
  p = p * z - 1.0 / 6.0;
  return r + r * (z * p);
}

double cos_kernel(double r) {
  const double z = r * r;
  double p = 1.0 / 6402373705728000.0;  // 1/18!
  p = p * z - 1.0 / 20922789888000.0;
  p = p * z + 1.0 / 87178291200.0;
  p = p * z - 1.0 / 479001600.0;
  p = p * z + 1.0 / 3628800.0;
  p = p * z - 1.0 / 40320.0;
  p = p * z + 1.0 / 720.0;
  p = p * z - 1.0 / 24.0;
  p = p * z + 0.5;
  return 1.0 - z * p;
}

// sin(x) and cos(x) by reduction to r = x - k pi/2 and the quadrant k mod 4.
void sin_cos(double x, double *s, double *c) {
  if (!is_finite(x)) {
    *s = *c = quiet_nan;
    return;
  }
  // Beyond 2^30 the reduction is not accurate, but still deterministic.
  const double t = magnitude(x) < 1073741824.0 ? x * two_over_pi : 0.0;
  const double k = nearest_integer(t);
  const double r = ((x - k * half_pi_1) - k * half_pi_2) - k * half_pi_3;
  const double sr = sin_kernel(r), cr = cos_kernel(r);
  switch (std::int64_t(k) & 3) {
    case 0:
      *s = sr;
      *c = cr;
      break;
    case 1:
      *s = cr;
      *c = -sr;
      break;
    case 2:
      *s = -sr;
      *c = -cr;
      break;
    default:
      *s = -cr;
      *c = sr;
      break;
  }
}

// ln 2 in two parts, the first with 32 significant bits.
constexpr double ln2_1 = 6.93147180369123816490e-01;
constexpr double ln2_2 = 1.90821492927058770002e-10;
constexpr double inv_ln2 = 1.44269504088896338700e+00;

double exp_kernel(double x) {
  if (is_nan(x)) return x;
  if (x > 709.782712893384) return infinity;
  if (x < -745.1332191019412) return 0.0;
  const double k = nearest_integer(x * inv_ln2);
  const double r = (x - k * ln2_1) - k * ln2_2;  // |r| <= ln2/2
  double p = 1.0 / 6227020800.0;                 // 1/13!
  for (double d : {479001600.0, 39916800.0, 3628800.0, 362880.0, 40320.0, 5040.0, 720.0, 120.0,
                   24.0, 6.0, 2.0, 1.0, 1.0})
    p = p * r + 1.0 / d;
  return scale(p, int(k));
}

// ln(x) for finite x > 0: x = m 2^e with m in [sqrt(1/2), sqrt(2)), and
// ln(m) = 2 atanh((m - 1)/(m + 1)) by its series.
double log_kernel(double x) {
  int e = 0;
  if (x < 2.2250738585072014e-308) {  // subnormal: make it normal first
    x = x * 18014398509481984.0;      // 2^54
    e = -54;
  }
  const std::uint64_t u = bits_of(x);
  e += int((u >> 52) & 0x7ff) - 1023;
  double m = from_bits((u & 0x000fffffffffffffULL) | 0x3ff0000000000000ULL);
  if (m > 1.4142135623730951) {
    m = m * 0.5;
    e += 1;
  }
  const double f = (m - 1) / (m + 1);
  const double z = f * f;
  double p = 1.0 / 21;
  for (double d : {19.0, 17.0, 15.0, 13.0, 11.0, 9.0, 7.0, 5.0, 3.0}) p = p * z + 1.0 / d;
  const double ln_m = 2 * f + 2 * f * (z * p);
  return e * ln2_1 + (ln_m + e * ln2_2);
}

// y is an integer, and an odd one.
bool is_integer(double y) {
  if (magnitude(y) >= 4503599627370496.0) return true;  // 2^52: no fraction bits left
  return double(std::int64_t(y)) == y;
}
bool is_odd_integer(double y) {
  if (magnitude(y) >= 9007199254740992.0 || !is_integer(y)) return false;  // 2^53: even
  return (std::int64_t(y) & 1) != 0;
}

}  // namespace

extern "C" {

double sin(double x) {
  double s, c;
  sin_cos(x, &s, &c);
  return s;
}

double cos(double x) {
  double s, c;
  sin_cos(x, &s, &c);
  return c;
}

void sincos(double x, double *s, double *c) { sin_cos(x, s, c); }

double tan(double x) {
  double s, c;
  sin_cos(x, &s, &c);
  return s / c;
}

double exp(double x) { return exp_kernel(x); }

// x^y with the C library's special cases.
double pow(double x, double y) {
  if (y == 0 || x == 1) return 1.0;
  if (is_nan(x) || is_nan(y)) return quiet_nan;
  const bool odd = is_odd_integer(y);
  if (x == 0) {
    if (y > 0) return odd ? x : 0.0;
    return odd ? 1 / x : infinity;
  }
  if (!is_finite(y)) {
    const double ax = magnitude(x);
    if (ax == 1) return 1.0;
    return (ax < 1) == (y > 0) ? 0.0 : infinity;
  }
  if (!is_finite(x)) {
    const double r = y > 0 ? infinity : 0.0;
    return x < 0 && odd ? -r : r;
  }
  if (x < 0) {
    if (!is_integer(y)) return quiet_nan;
    const double r = exp_kernel(y * log_kernel(-x));
    return odd ? -r : r;
  }
  return exp_kernel(y * log_kernel(x));
}

}  // extern "C"
