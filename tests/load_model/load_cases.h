// Inputs shared by the pindrel tests: a case of the reference vectors and
// variations of it.
#ifndef WHEELSOIL_TESTS_LOAD_MODEL_LOAD_CASES_H
#define WHEELSOIL_TESTS_LOAD_MODEL_LOAD_CASES_H

#include <cstring>
#include <string>
#include <vector>

#include "../golden.h"
#include "load_model.h"

namespace load_cases {

using wheelsoil::LoadModelInput;

inline LoadModelInput to_input(const std::vector<double> &slots) {
  LoadModelInput in;
  std::memcpy(&in, slots.data(), sizeof in);
  return in;
}

inline std::vector<double> to_slots(const LoadModelInput &in) {
  const double *p = &in.band_radius;
  return std::vector<double>(p, p + 20);
}

// The reference case of the given name.
inline golden::Case reference_case(const std::string &name) {
  for (const auto &c : golden::load("pindrel.txt", 20, 1))
    if (c.name == name) return c;
  throw std::runtime_error("no reference case " + name);
}

// Clayey soil under a 0.48 m rim, rim and band entry angles equal.
inline LoadModelInput base() { return to_input(reference_case("base").inputs); }

// The same wheel with a band inside the rim that enters the soil later.
inline LoadModelInput with_band() {
  LoadModelInput in = base();
  in.band_ratio = 0.6;
  in.band_radius = 0.45;
  in.band_entry_angle = 0.22;
  return in;
}

// A soil whose stresses the fits reproduce: n = 0 makes sigma the constant
// k_c/b + k_phi on the rim and the band, c = phi = 0 takes away all shear.
// The five samples lie in the rear and front regions, so the load is
// b r k (sin(theta_a) - sin(theta_2)).
inline LoadModelInput constant_stress(double rear, double peak, double front) {
  LoadModelInput in = base();
  in.sinkage_exponent = 0;
  in.cohesion = 0;
  in.friction_angle = 0;
  in.shear_modulus = 1;
  in.slip = 0.5;
  in.rear_angle = rear;
  in.peak_stress_angle = peak;
  in.front_angle = front;
  in.band_entry_angle = front;
  in.rim_entry_angle = front + 0.05;
  return in;
}

inline double load_of(const LoadModelInput &in) {
  double out = -1;
  wheelsoil::detail::load_model::run_load_model(&out, &in.band_radius);
  return out;
}

}  // namespace load_cases

#endif
