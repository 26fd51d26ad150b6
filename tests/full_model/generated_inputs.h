// Deterministic inputs that span the model's degenerate regions: realistic
// wheels with one to four of the special cases below laid over them.
#ifndef WHEELSOIL_TESTS_FULL_MODEL_GENERATED_INPUTS_H
#define WHEELSOIL_TESTS_FULL_MODEL_GENERATED_INPUTS_H

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "../golden.h"

namespace generated {

// splitmix64: the same sequence on every platform.
struct Random {
  std::uint64_t state;
  std::uint64_t next() {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double uniform(double lo, double hi) { return lo + (hi - lo) * double(next() >> 11) * 0x1p-53; }
  std::size_t below(std::size_t n) { return std::size_t(next() % n); }
};

inline double special_value(Random &rng) {
  const double values[] = {0.0,
                           -0.0,
                           1.0,
                           -1.0,
                           NAN,
                           -NAN,
                           INFINITY,
                           -INFINITY,
                           1e300,
                           -1e300,
                           1e-300,
                           5e-324,
                           std::numeric_limits<double>::max(),
                           2.0,
                           0.5};
  return values[rng.below(sizeof values / sizeof values[0])];
}

// Slots of the 29-slot input, by name.
enum {
  vx,
  vy,
  vz,
  wx,
  wy,
  wz,
  radius,
  width,
  band_ratio,
  band_height,
  soil_density,
  cohesion,
  friction_angle,
  sinkage_exponent,
  k_c,
  k_phi,
  kx,
  ky,
  kr,
  tilt_sine,
  centre_height,
  exit_ratio,
  c1,
  c2,
  c3,
  c4,
  spare_26,
  spare_27,
  gravity
};

inline void degenerate(std::vector<double> &p, Random &rng) {
  const double r = p[radius], b = p[width];
  switch (rng.below(16)) {
    case 0: {  // one edge out of the soil: tilt so that sinkage reaches 0 at +b/2 or -b/2
      const double s_t = rng.uniform(0.05, 0.6) * (rng.below(2) ? 1 : -1);
      const double q = std::sqrt(1 - s_t * s_t);
      p[tilt_sine] = s_t;
      p[centre_height] = q * r - std::fabs(s_t) * b * 0.5 + rng.uniform(-0.01, 0.01) * r;
      break;
    }
    case 1:
      p[vx] = 0;
      p[wy] = 0;
      break;                   // undefined slip
    case 2: p[wy] = 0; break;  // locked wheel: +-10 displacements
    case 3: p[kr] = 1; break;
    case 4: p[kr] = rng.below(2) ? std::nextafter(1.0, 2.0) : rng.uniform(0.2, 1.5); break;
    case 5:
      p[band_ratio] = double(rng.below(2));
      p[band_height] = rng.uniform(0, 0.3) * r;
      break;
    case 6:
      p[band_ratio] = rng.uniform(0, 1);
      p[band_height] = rng.uniform(-0.1, 0.5) * r;
      break;
    case 7: p[centre_height] = -rng.uniform(0, 1.5) * r; break;  // sinkage beyond the radius
    case 8: {                                                    // tilt near, at or beyond 1
      const double t[] = {0.999999, 1 - 1e-12, 1.0, -1.0, 1.0000001, -0.9999999999};
      p[tilt_sine] = t[rng.below(6)];
      break;
    }
    case 9: p[centre_height] = r * rng.uniform(1.0, 2.0); break;  // clear of the soil
    case 10: p[rng.below(29)] = special_value(rng); break;
    case 11:
      p[rng.below(29)] = special_value(rng);
      p[rng.below(29)] = special_value(rng);
      break;
    case 12: p[rng.below(2) ? kx : ky] = 0; break;
    case 13: p[width] = rng.below(2) ? 0.0 : -b; break;
    case 14:
      p[vy] = rng.uniform(-0.2, 0.2);
      p[wx] = rng.uniform(-1, 1);
      p[wz] = rng.uniform(-1, 1);
      break;
    default:
      p[vx] = -p[vx];
      p[wy] = rng.uniform(-2, 2) * p[wy];
      p[vz] = rng.uniform(-0.05, 0.05);
      break;
  }
}

// count inputs of 29 slots: golden realistic wheels with degenerate cases laid on.
inline std::vector<std::vector<double>> inputs(std::size_t count, std::uint64_t seed = 1) {
  const auto cases = golden::load("talvor.txt", 29, 18);
  std::vector<std::vector<double>> bases;
  for (const auto &c : cases)
    if (std::isfinite(c.outputs[0])) bases.push_back(c.inputs);
  Random rng{seed};
  std::vector<std::vector<double>> out;
  out.reserve(count);
  while (out.size() < count) {
    std::vector<double> p = bases[rng.below(bases.size())];
    const std::size_t layers = 1 + rng.below(4);
    for (std::size_t k = 0; k < layers; ++k) degenerate(p, rng);
    out.push_back(p);
  }
  return out;
}

}  // namespace generated

#endif
