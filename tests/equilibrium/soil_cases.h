// Published soils (Bekker's and planetary tables) on the rover wheel of the
// model tests, for property tests of the operating point.
#ifndef WHEELSOIL_TESTS_EQUILIBRIUM_SOIL_CASES_H
#define WHEELSOIL_TESTS_EQUILIBRIUM_SOIL_CASES_H

#include <cmath>
#include <vector>

#include "../full_model/rover_wheel.h"

struct Soil {
  const char *name;
  double n;        // sinkage exponent
  double k_c;      // N/m^(n+1)
  double k_phi;    // N/m^(n+2)
  double c;        // Pa
  double phi_deg;  // degrees
  double k;        // shear modulus (m)
  bool snow;       // soft: carries at most ~40 N on this wheel
};

inline std::vector<Soil> published_soils() {
  return {
      {"dry_sand", 1.1, 990, 1528430, 1040, 28, 0.025, false},
      {"sandy_loam_15", 0.7, 5270, 1515040, 1720, 29, 0.025, false},
      {"sandy_loam_11", 0.9, 52530, 1127970, 4830, 20, 0.025, false},
      {"clayey_soil", 0.5, 13190, 692150, 4140, 13, 0.006, false},
      {"heavy_clay", 0.13, 12700, 1555950, 68950, 34, 0.006, false},
      {"lean_clay", 0.2, 16430, 1724690, 68950, 20, 0.006, false},
      {"lete_sand", 0.79, 102000, 5301000, 1300, 31.1, 0.012, false},
      {"upland_sandy_loam", 1.1, 74600, 2080000, 3300, 33.7, 0.025, false},
      {"clayey_loam", 0.73, 41600, 2471000, 6100, 26.6, 0.025, false},
      {"snow_us", 1.6, 4370, 196720, 1030, 19.7, 0.04, true},
      {"snow_sweden", 1.44, 10550, 66080, 6000, 20.7, 0.04, true},
      {"lunar_soil", 1.0, 1400, 820000, 170, 35, 0.018, false},
      {"toyoura_sand", 1.0, 1370, 814000, 800, 37.2, 0.025, false},
      {"dlr_mars_simulant", 0.8, 5790, 180000, 300, 17.8, 0.015, false},
  };
}

// The rover wheel on soil s, moving at 0.1 m/s with longitudinal slip `slip`
// (driving for slip > 0, braking for slip < 0) and tilt sine `tilt`.
inline WheelSoilInput wheel_on(const Soil &s, double slip, double tilt) {
  WheelSoilInput in = rover_wheel();
  in.sinkage_exponent = s.n;
  in.k_c = s.k_c;
  in.k_phi = s.k_phi;
  in.cohesion = s.c;
  in.friction_angle = s.phi_deg * (M_PI / 180);
  in.kx = in.ky = s.k;
  in.tilt_sine = tilt;
  in.vx = 0.1;
  // u = wy r: (u - vx)/u = slip when driving, (u - vx)/vx = slip when braking.
  const double u = slip >= 0 ? in.vx / (1 - slip) : in.vx * (1 + slip);
  in.wy = u / in.radius;
  return in;
}

#endif
