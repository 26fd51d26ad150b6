// Contact geometry and slip: the rim's sinkage across the width, the entry,
// maximum-stress and exit angles of the outer and the band surface, and the
// longitudinal slip ratio.
#ifndef WHEELSOIL_BENCH_BASELINE_CONTACT_GEOMETRY_H
#define WHEELSOIL_BENCH_BASELINE_CONTACT_GEOMETRY_H

#include <cmath>

#include "model_state.h"

namespace baseline_fused {

// The marker of an undefined slip ratio (no spin and no forward speed).
constexpr double undefined_slip = 2.0;

// z(y): depth of the rim section at y below a level soil surface, for a wheel
// centre h_c above it, tilted about x by asin(s_t); never negative.
inline double sinkage_at(const ModelState &m, double y) {
  const double q = std::sqrt(1.0 - m.tilt_sine * m.tilt_sine);
  // do not reassociate: (r - h_c/q) - (s_t y)/q
  const double z = (m.radius - m.centre_height / q) - (m.tilt_sine * y) / q;
  return z < 0 ? 0.0 : z;
}

// theta_1 from the sinkage z: where the outer surface meets the soil in front.
inline double entry_angle_at_sinkage(const ModelState &m, double z) {
  return std::acos(1.0 - z / m.radius);
}

// s: (u - vx)/u when the rim turns faster than the centre moves, else
// (u - vx)/vx; 2 when both are zero.
inline double slip_ratio(const ModelState &m) {
  const double u = m.wy * m.radius;
  if (std::fabs(u) > std::fabs(m.vx)) return (u - m.vx) / u;
  if (std::fabs(m.vx) != 0) return (u - m.vx) / m.vx;
  return undefined_slip;
}

// theta_m = (c1 + c2 s) theta_1 (Wong-Reece), 0 for an undefined slip.
inline double max_stress_angle(const ModelState &m, double s, double theta1) {
  if (s == undefined_slip) return 0.0;
  return theta1 * (m.c2 * s + m.c1);
}

// theta_2 = -(c3 + c4 s) theta_1, -theta_1 for an undefined slip.
inline double exit_angle(const ModelState &m, double s, double theta1) {
  if (s == undefined_slip) return -theta1;
  return -(theta1 * (m.c4 * s + m.c3));
}

// theta_b1: entry angle of the band surface of radius r - h_b, 0 where the
// sinkage does not exceed h_b.
inline double band_entry_angle(const ModelState &m, double z) {
  if (z > m.band_height) return std::acos((m.radius - z) / (m.radius - m.band_height));
  return 0.0;
}

// theta_bm = (c1 + c2 s) theta_b1, 0 for an undefined slip.
inline double band_max_stress_angle(const ModelState &m, double s, double theta_b1) {
  if (s == undefined_slip) return 0.0;
  return (m.c2 * s + m.c1) * theta_b1;
}

// theta_b2: the outer surface's exit angle for a defined slip, -theta_b1 else.
inline double band_exit_angle(double s, double theta2, double theta_b1) {
  if (s != undefined_slip) return theta2;
  return -theta_b1;
}

// The contact angles of both surfaces at one lateral position.
struct StripAngles {
  double sinkage;      // z (m)
  double theta1;       // outer entry angle
  double theta_m;      // outer maximum-stress angle
  double theta2;       // outer (and, for a defined slip, band) exit angle
  double theta_b1;     // band entry angle
  double theta_bm;     // band maximum-stress angle
  double theta_b2;     // band exit angle
};

inline StripAngles strip_angles(const ModelState &m, double s, double y) {
  StripAngles a;
  a.sinkage = sinkage_at(m, y);
  a.theta1 = entry_angle_at_sinkage(m, a.sinkage);
  a.theta_m = max_stress_angle(m, s, a.theta1);
  a.theta2 = exit_angle(m, s, a.theta1);
  a.theta_b1 = band_entry_angle(m, a.sinkage);
  a.theta_bm = band_max_stress_angle(m, s, a.theta_b1);
  a.theta_b2 = band_exit_angle(s, a.theta2, a.theta_b1);
  return a;
}

}  // namespace baseline_fused

#endif
