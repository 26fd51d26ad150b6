// Sidewall loads: passive earth pressure and in-plane shear on the submerged
// part of the two sidewall discs at y = +b/2 (plus side) and y = -b/2 (minus
// side). A sidewall point (y_s, rho, theta) lies at (rho sin theta, y_s,
// -rho cos theta); the force per unit area on it is q_s = (tau_t cos - tau_r
// sin, p, tau_t sin + tau_r cos), the area element rho drho dtheta.
#ifndef WHEELSOIL_BENCH_BASELINE_SIDEWALL_LOADS_H
#define WHEELSOIL_BENCH_BASELINE_SIDEWALL_LOADS_H

#include <cmath>

#include "contact_geometry.h"
#include "rim_stress.h"
#include "model_state.h"

namespace baseline_fused {

// Offset of the passive-pressure angle: close to, but not, pi/4 (by about 9e-10).
constexpr double passive_angle_offset = 0.7853981625;
// Lateral speed below which a sidewall is taken as not pushing into the soil.
constexpr double side_speed_dead_band = 1e-5;

// The side positions: width times 0.5 and width times -0.5.
inline double plus_side(const ModelState &m) { return m.width * 0.5; }
inline double minus_side(const ModelState &m) { return m.width * (-0.5); }

// k = tan(phi/2 + pi/4): the root of Rankine's passive coefficient k^2.
inline double passive_root(const ModelState &m) {
  return std::tan(m.friction_angle * 0.5 + passive_angle_offset);
}

// theta_e = acos((r - z)/rho): where the circle of radius rho enters the soil.
inline double side_entry_angle(const ModelState &m, double z, double rho) {
  return std::acos((m.radius - z) / rho);
}

// Upper limit of theta: theta_e on a sunk side, else 0.
inline double side_upper_limit(double z, double theta_e) { return z > 0 ? theta_e : 0.0; }
// Lower limit of theta: -theta_e on a sunk side, else -0.
inline double side_lower_limit(double z, double theta_e) { return -side_upper_limit(z, theta_e); }

// Depth of the point below the soil surface beside the side, 0 above it.
inline double side_depth(const ModelState &m, double z, double rho, double cos_theta) {
  const double d = z + rho * cos_theta - m.radius;
  return d < 0 ? 0.0 : d;
}

// The circle of radius rho of a side sunk by z, where it enters the soil.
struct SideCircle {
  double sinkage;  // z of the side
  double rho;
  double theta_e, cos_theta_e, sin_theta_e;
};

// Tangential shear displacement from theta_e to theta (the rim's longitudinal
// displacement with rho for r), 0 off the soil.
inline double side_tangential_disp(const ModelState &m, double y, const SideCircle &c,
                                   double theta, double cos_theta, double sin_theta) {
  if (!(c.sinkage > 0)) return 0.0;
  if (!(c.theta_e > 0)) return 0.0;
  const double d = (c.cos_theta_e - cos_theta) * (m.wx * y + m.vz) +
                   (c.sin_theta_e - sin_theta) * (m.wz * y - m.vx) +
                   (c.theta_e - theta) * (m.wy * c.rho);
  return displacement_from_numerator(d, m.wy);
}

// Radial shear displacement along the outward radius from theta_e to theta.
inline double side_radial_disp(const ModelState &m, double y, const SideCircle &c,
                               double cos_theta, double sin_theta) {
  if (!(c.sinkage > 0)) return 0.0;
  if (!(c.theta_e > 0)) return 0.0;
  const double d = (c.cos_theta_e - cos_theta) * (m.wz * y - m.vx) -
                   (c.sin_theta_e - sin_theta) * (m.wx * y + m.vz);
  return displacement_from_numerator(d, m.wy);
}

// Signed lateral pressure p: Rankine passive pressure where the sidewall
// moves outwards into the soil faster than the dead band, scaled on the band,
// negated on the plus side. passive_k is passive_root(m).
inline double side_pressure(const ModelState &m, double y, double z, double rho,
                            double cos_theta, double sin_theta, double passive_k) {
  const double v = sin_theta * (m.wz * rho) + m.vy + cos_theta * (m.wx * rho);
  double p = 0;
  const bool moving = v > side_speed_dead_band || v < -side_speed_dead_band;
  if (v * y >= 0 && moving) {
    // depth |g| gamma k^2 + 2 c k, in this grouping
    p = (((side_depth(m, z, rho, cos_theta) * std::fabs(m.gravity)) * m.soil_density) *
         passive_k) *
            passive_k +
        ((m.cohesion * 2) * passive_k);
  }
  if (m.radius - m.band_height <= rho && rho <= m.radius) p = p * ((m.band_ratio * m.radius) / rho);
  if (y > 0) p = -p;
  return p;
}

// Sidewall shear: (1 - e^(-|j|/kx)) tan(phi) |p| sgn(j); no cohesion term.
inline double side_shear(const ModelState &m, double j, double pressure, double tan_phi) {
  return (1 - std::exp(-(std::fabs(j) / m.kx))) * (tan_phi * std::fabs(pressure) * sgn(j));
}

// The stresses and trigonometry at one sidewall point.
struct SidePoint {
  double y, rho, cos_theta, sin_theta;
  double tau_t, tau_r, p;
};

// Force densities: q_s rho.
inline double side_fx_density(const SidePoint &s) {
  return (s.tau_t * s.cos_theta - s.tau_r * s.sin_theta) * s.rho;
}
inline double side_fy_density(const SidePoint &s) { return s.p * s.rho; }
inline double side_fz_density(const SidePoint &s) {
  return (s.tau_t * s.sin_theta + s.tau_r * s.cos_theta) * s.rho;
}

// Moment densities: pos_s x (q_s rho). The area element's rho is already in
// each force density, so the moments are in N m.
inline double side_mx_density(const SidePoint &s) {
  return (s.tau_t * s.sin_theta + s.tau_r * s.cos_theta) * s.rho * s.y -
         s.p * s.rho * (-(s.cos_theta * s.rho));
}
inline double side_my_density(const SidePoint &s) {
  return (s.tau_t * s.cos_theta - s.tau_r * s.sin_theta) * s.rho * (-(s.cos_theta * s.rho)) -
         (s.tau_t * s.sin_theta + s.tau_r * s.cos_theta) * s.rho * (s.sin_theta * s.rho);
}
inline double side_mz_density(const SidePoint &s) {
  return s.p * s.rho * (s.sin_theta * s.rho) -
         (s.tau_t * s.cos_theta - s.tau_r * s.sin_theta) * s.rho * s.y;
}

}  // namespace baseline_fused

#endif
