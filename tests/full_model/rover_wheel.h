// A rover wheel on dry sand, the base of the model tests: r = 0.13 m,
// b = 0.16 m, 20 mm of sinkage, slip 0.2.
#ifndef WHEELSOIL_TESTS_FULL_MODEL_ROVER_WHEEL_H
#define WHEELSOIL_TESTS_FULL_MODEL_ROVER_WHEEL_H

#include <vector>

#include "wheel_soil_model.h"

inline wheelsoil::WheelSoilInput rover_wheel() {
  wheelsoil::WheelSoilInput in{};
  in.vx = 0.1;
  in.wy = 0.125 / 0.13;  // u = 0.125 m/s: slip (u - vx)/u = 0.2
  in.radius = 0.13;
  in.width = 0.16;
  in.band_ratio = 1;
  in.band_height = 0;
  in.soil_density = 1600;
  in.cohesion = 1040;
  in.friction_angle = 0.4886921905584123;  // 28 degrees
  in.sinkage_exponent = 1.1;
  in.k_c = 990;
  in.k_phi = 1528430;
  in.kx = 0.025;
  in.ky = 0.025;
  in.kr = 1;
  in.tilt_sine = 0;
  in.centre_height = 0.11;
  in.c1 = 0.4;
  in.c2 = 0.3;
  in.c3 = 0.1;
  in.c4 = 0.1;
  in.gravity = 9.81;
  return in;
}

// The 18 outputs of run_model for in.
inline std::vector<double> talvor(const wheelsoil::WheelSoilInput &in) {
  std::vector<double> out(18);
  wheelsoil::detail::full_model::run_model(out.data(), &in.vx);
  return out;
}

// Makes in the module's state, for testing the coordinate-only functions.
inline void use_state(const wheelsoil::WheelSoilInput &in) {
  namespace fm = wheelsoil::detail::full_model;
  fm::model_state = fm::make_state(in);
}

#endif
