// The README's rover wheel: r = 0.13 m, b = 0.16 m on dry sand, 10 mm of
// sinkage, slip 0.2 (vx = 0.08 m/s, wy r = 0.1 m/s).
#ifndef WHEELSOIL_TESTS_FULL_MODEL_README_WHEEL_H
#define WHEELSOIL_TESTS_FULL_MODEL_README_WHEEL_H

#include <wheelsoil/records.hpp>

inline wheelsoil::WheelSoilInput readme_wheel() {
  wheelsoil::WheelSoilInput in{};
  in.vx = 0.08;
  in.wy = 0.1 / 0.13;
  in.radius = 0.13;
  in.width = 0.16;
  in.band_ratio = 1;
  in.soil_density = 1600;
  in.cohesion = 1040;
  in.friction_angle = 28 * 3.141592653589793 / 180;
  in.sinkage_exponent = 1.1;
  in.k_c = 990;
  in.k_phi = 1528430;
  in.kx = 0.025;
  in.ky = 0.025;
  in.kr = 1;
  in.centre_height = 0.12;
  in.c1 = 0.4;
  in.c2 = 0.15;
  in.c3 = 0.1;
  in.c4 = 0;
  in.gravity = 9.81;
  return in;
}

// The wheel at slip s >= 0: the rim turning at u = 0.1 m/s, the centre at
// u (1 - s).
inline wheelsoil::WheelSoilInput readme_wheel_at_slip(double s) {
  wheelsoil::WheelSoilInput in = readme_wheel();
  in.vx = 0.1 * (1 - s);
  in.wy = 0.1 / 0.13;
  return in;
}

#endif
