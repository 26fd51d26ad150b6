// Synthetic test measurements: the fitted laws at known parameters plus
// Gaussian noise from a fixed seed, the same on every platform (the
// standard library's normal distribution is not).
#ifndef WHEELSOIL_TESTS_FIT_SYNTHETIC_TESTS_H
#define WHEELSOIL_TESTS_FIT_SYNTHETIC_TESTS_H

#include <wheelsoil/fit.hpp>
#include <wheelsoil/tables.hpp>

#include <cmath>
#include <cstdint>
#include <random>

namespace wheelsoil::testing {

// Standard normal deviates by Box–Muller from mt19937's 32-bit words.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : engine_(seed) {}
  double normal() {
    const double u1 = (double(engine_()) + 1) / 4294967297.0;
    const double u2 = double(engine_()) / 4294967296.0;
    return std::sqrt(-2 * std::log(u1)) * std::cos(6.283185307179586 * u2);
  }

 private:
  std::mt19937 engine_;
};

// LETE sand's pressure-sinkage values (SI).
struct PlateTruth {
  double n = 0.79, k_c = 102e3, k_phi = 5301e3;
};

// Readings on plates of the given sizes, sinkage 5-50 mm, noise sd (Pa).
inline PlateData plate_readings(const PlateTruth &t, std::initializer_list<double> sizes, double sd,
                                std::uint32_t seed) {
  Noise noise(seed);
  PlateData d;
  for (double b : sizes) {
    for (int i = 1; i <= 10; ++i) {
      const double z = 0.005 * i;
      d.size.push_back(b);
      d.sinkage.push_back(z);
      d.pressure.push_back(plate_pressure(t.k_c, t.k_phi, t.n, b, z) + sd * noise.normal());
    }
  }
  return d;
}

// LETE sand's strength, K of 12 mm.
struct ShearTruth {
  double c = 1.3e3, phi = 0.5428, K = 0.012, kr = 1;
};

// Readings at the given normal stresses, displacement 0-60 mm, noise sd (Pa).
inline ShearData shear_readings(const ShearTruth &t, std::initializer_list<double> stresses,
                                double sd, std::uint32_t seed) {
  Noise noise(seed);
  ShearData d;
  for (double sigma : stresses) {
    for (int i = 0; i <= 20; ++i) {
      const double j = 0.003 * i;
      d.normal_stress.push_back(sigma);
      d.displacement.push_back(j);
      d.shear_stress.push_back(shear_stress_law(t.c, t.phi, t.K, t.kr, sigma, j) +
                               sd * noise.normal());
    }
  }
  return d;
}

// The rover wheel of the examples on dry sand: r = 0.13 m, b = 0.16 m.
inline WheelSoilInput rover_on_dry_sand() {
  WheelSoilInput in{};
  apply_soil(*find_soil("dry_sand"), in);
  in.radius = 0.13;
  in.width = 0.16;
  in.band_ratio = 1;
  in.kr = 1;
  in.vx = 0.1;
  in.c1 = 0.4;
  in.c2 = 0.15;
  in.c3 = 0.1;
  in.c4 = 0;
  in.gravity = 9.81;
  return in;
}

// Runs at slips -0.2 to 0.6 under each load, at the wheel `truth`; noise sd
// 0.3 N, 0.03 N m and 0.3 mm.
inline WheelData wheel_runs(const WheelSoilInput &truth, std::initializer_list<double> loads,
                            std::uint32_t seed) {
  Noise noise(seed);
  WheelData d;
  for (double w : loads) {
    for (int i = -2; i <= 6; ++i) {
      const double s = 0.1 * i;
      const WheelPoint p = wheel_point(truth, s, w);
      d.slip.push_back(s);
      d.load.push_back(w);
      d.drawbar_pull.push_back(p.drawbar_pull + 0.3 * noise.normal());
      d.torque.push_back(p.torque + 0.03 * noise.normal());
      d.sinkage.push_back(p.sinkage + 0.3e-3 * noise.normal());
    }
  }
  return d;
}

}  // namespace wheelsoil::testing

#endif
