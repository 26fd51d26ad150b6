// The soils of the library on the rover wheel of the model tests, for
// property tests of the operating point.
#ifndef WHEELSOIL_TESTS_EQUILIBRIUM_SOIL_CASES_H
#define WHEELSOIL_TESTS_EQUILIBRIUM_SOIL_CASES_H

#include <wheelsoil/tables.hpp>

#include <cstring>
#include <vector>

#include "../full_model/rover_wheel.h"

struct TestSoil {
  const char *name;
  const wheelsoil::Soil *values;
  bool snow;  // soft: carries at most ~40 N on this wheel
};

inline std::vector<TestSoil> published_soils() {
  std::vector<TestSoil> all;
  for (const wheelsoil::Soil &s : wheelsoil::soils)
    all.push_back({s.name, &s, std::strncmp(s.name, "snow", 4) == 0});
  return all;
}

// The rover wheel on soil s, moving at 0.1 m/s with longitudinal slip `slip`
// (driving for slip > 0, braking for slip < 0) and tilt sine `tilt`; the
// wheel's own density is kept.
inline wheelsoil::WheelSoilInput wheel_on(const TestSoil &s, double slip, double tilt) {
  wheelsoil::WheelSoilInput in = rover_wheel();
  const double density = in.soil_density;
  wheelsoil::apply_soil(*s.values, in);
  in.soil_density = density;
  in.tilt_sine = tilt;
  in.vx = 0.1;
  // u = wy r: (u - vx)/u = slip when driving, (u - vx)/vx = slip when braking.
  const double u = slip >= 0 ? in.vx / (1 - slip) : in.vx * (1 + slip);
  in.wy = u / in.radius;
  return in;
}

#endif
