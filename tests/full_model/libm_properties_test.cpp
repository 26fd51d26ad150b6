// Properties of the C library's sin and cos that the default evaluator relies
// on to keep the reference path's bits: sin and cos of one argument taken
// together (the compiler may fold the two calls into one sincos call) give the
// bits of separate calls, and for |x| <= 4 sin is odd and cos even to the last
// bit, so a point whose argument is the exact negation of another's takes its
// values. Checked over several million arguments: dense sweeps of [0, 4],
// neighbourhoods of every multiple of pi/8 up to 4 and of every power of two,
// and random bit patterns of every exponent (huge, subnormal, infinite, NaN).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <vector>

namespace {

// Called through volatile pointers, so that the compiler folds nothing: each
// call is one call of the library's function on a value it cannot see.
double (*volatile sin_of)(double) = [](double x) { return std::sin(x); };
double (*volatile cos_of)(double) = [](double x) { return std::cos(x); };

// sin and cos of one argument in one function, as the evaluator takes them.
struct SinCos {
  double s, c;
};
SinCos (*volatile together_of)(double) = [](double x) { return SinCos{std::sin(x), std::cos(x)}; };

constexpr double pi = 3.141592653589793;

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

double from_bits(std::uint64_t u) {
  double x;
  std::memcpy(&x, &u, sizeof x);
  return x;
}

// A fixed 64-bit generator (splitmix64), so that every run checks the same
// arguments.
struct Bits {
  std::uint64_t state;
  std::uint64_t next() {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15u);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
  }
};

// Non-negative arguments up to 4: a dense sweep, the neighbourhoods of every
// multiple of pi/8 and of every power of two, and random magnitudes.
std::vector<double> arguments_to_four() {
  std::vector<double> x;
  const auto add = [&x](double v) {
    if (v <= 4.0) x.push_back(v);
  };
  const int sweep = 1 << 20;
  for (int i = 0; i <= sweep; ++i) x.push_back(4.0 * i / sweep);
  for (int m = 1; m <= 10; ++m) {
    double v = m * (pi / 8), up = v, down = v;
    for (int k = 0; k < 4096; ++k) {
      add(up);
      add(down);
      up = std::nextafter(up, 8.0);
      down = std::nextafter(down, 0.0);
    }
  }
  for (int e = -1074; e <= 2; ++e) {
    double v = std::ldexp(1.0, e), up = v, down = v;
    for (int k = 0; k < 64; ++k) {
      add(up);
      add(down);
      up = std::nextafter(up, 8.0);
      down = std::nextafter(down, 0.0);
    }
  }
  Bits bits{14};
  for (int i = 0; i < (1 << 20); ++i) {
    // a uniform mantissa and a uniform exponent from 2^-1074 up to 4
    const std::uint64_t u = bits.next();
    const std::uint64_t exponent = (u >> 52) % 1026;  // biased 0 (subnormal) to 1025
    add(from_bits((exponent << 52) | (u & 0xfffffffffffffu)));
  }
  return x;
}

TEST(LibmProperties, SinIsOddAndCosEvenUpToFour) {
  std::size_t checked = 0, differing = 0;
  for (double x : arguments_to_four()) {
    const double s = sin_of(x), s_neg = sin_of(-x);
    const double c = cos_of(x), c_neg = cos_of(-x);
    if (!same_bits(s_neg, -s) || !same_bits(c_neg, c)) {
      if (++differing <= 10) ADD_FAILURE() << "x = " << x << ": sin " << s << ", " << s_neg;
    }
    ++checked;
  }
  EXPECT_EQ(differing, 0u) << "of " << checked;
}

TEST(LibmProperties, SinAndCosTogetherGiveTheBitsOfSeparateCalls) {
  std::vector<double> x = arguments_to_four();
  const std::size_t positive = x.size();
  for (std::size_t i = 0; i < positive; ++i) x.push_back(-x[i]);
  // random bit patterns: every exponent, huge arguments, infinities and NaNs
  Bits bits{41};
  for (int i = 0; i < (1 << 20); ++i) x.push_back(from_bits(bits.next()));
  const double special[] = {INFINITY, -INFINITY, NAN, -NAN, 1e300, -1e300, 0x1p1023, 1e22};
  x.insert(x.end(), std::begin(special), std::end(special));
  std::size_t differing = 0;
  for (double v : x) {
    const SinCos t = together_of(v);
    if (!same_bits(t.s, sin_of(v)) || !same_bits(t.c, cos_of(v))) {
      if (++differing <= 10) ADD_FAILURE() << "x = " << v;
    }
  }
  EXPECT_EQ(differing, 0u) << "of " << x.size();
}

}  // namespace
