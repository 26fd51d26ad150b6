// Sidewall loads: passive earth pressure and in-plane shear on the submerged
// part of the two sidewall discs at y = +b/2 (plus side) and y = -b/2 (minus
// side). A sidewall point (y_s, rho, theta) lies at (rho sin theta, y_s,
// -rho cos theta); the force per unit area on it is q_s = (tau_t cos - tau_r
// sin, p, tau_t sin + tau_r cos), the area element rho drho dtheta.
#ifndef WHEELSOIL_FULL_MODEL_SIDEWALL_LOADS_H
#define WHEELSOIL_FULL_MODEL_SIDEWALL_LOADS_H

#include <cmath>

#include "arith_namespace.h"
#include "contact_geometry.h"
#include "rim_stress.h"
#include "wheel_soil_model.h"

namespace wheelsoil::detail::full_model {

// Documented point functions over model_state.
double side_depth(double y, double rho, double theta);
double side_tangential_disp(double y, double rho, double theta);
double side_radial_disp(double y, double rho, double theta);
double side_pressure(double y, double rho, double theta);
double side_shear_tangential(double y, double rho, double theta);
double side_shear_radial(double y, double rho, double theta);

// Inner limits of theta at rho, and the integrands at (rho, theta), per side.
double side_lower_limit_plus(double rho);
double side_upper_limit_plus(double rho);
double side_lower_limit_minus(double rho);
double side_upper_limit_minus(double rho);
double side_fx_integrand_plus(double rho, double theta);
double side_fy_integrand_plus(double rho, double theta);
double side_fz_integrand_plus(double rho, double theta);
double side_mx_integrand_plus(double rho, double theta);
double side_my_integrand_plus(double rho, double theta);
double side_mz_integrand_plus(double rho, double theta);
double side_fx_integrand_minus(double rho, double theta);
double side_fy_integrand_minus(double rho, double theta);
double side_fz_integrand_minus(double rho, double theta);
double side_mx_integrand_minus(double rho, double theta);
double side_my_integrand_minus(double rho, double theta);
double side_mz_integrand_minus(double rho, double theta);

inline namespace WHEELSOIL_ARITH_NAMESPACE {

// Offset of the passive-pressure angle: close to, but not, pi/4 (by about 9e-10).
constexpr double passive_angle_offset = 0.7853981625;
// Lateral speed below which a sidewall is taken as not pushing into the soil.
constexpr double side_speed_dead_band = 1e-5;

// The side positions: width times 0.5 and width times -0.5.
inline double plus_side(const ModelState &m) { return m.width * 0.5; }
inline double minus_side(const ModelState &m) { return m.width * (-0.5); }

// phi/2 + pi/4 (the offset as above).
inline double passive_angle(const ModelState &m) {
  return m.friction_angle * 0.5 + passive_angle_offset;
}

// k = tan(phi/2 + pi/4): the root of Rankine's passive coefficient k^2.
inline double passive_root(const ModelState &m) { return std::tan(passive_angle(m)); }

// cos theta_e = (r - z)/rho, for the circle of radius rho.
inline double side_entry_cosine(const ModelState &m, double z, double rho) {
  return (m.radius - z) / rho;
}

// theta_e = acos((r - z)/rho): where the circle of radius rho enters the soil.
inline double side_entry_angle(const ModelState &m, double z, double rho) {
  return std::acos(side_entry_cosine(m, z, rho));
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
  double sinkage;  // z of the side (m)
  double rho;      // radius of the circle (m)
  double theta_e, cos_theta_e, sin_theta_e;
};

// Whether the circle's points accumulate shear displacement: the side is sunk
// and the circle enters the soil.
inline bool side_circle_in_soil(const SideCircle &c) { return c.sinkage > 0 && c.theta_e > 0; }

// D_t: numerator of the tangential shear displacement from theta_e to theta
// (the rim's longitudinal numerator with rho for r).
inline double side_tangential_numerator(const ModelState &m, double y, const SideCircle &c,
                                        double theta, double cos_theta, double sin_theta) {
  return (c.cos_theta_e - cos_theta) * (m.wx * y + m.vz) +
         (c.sin_theta_e - sin_theta) * (m.wz * y - m.vx) + (c.theta_e - theta) * (m.wy * c.rho);
}

// D_r: numerator of the radial shear displacement from theta_e to theta.
inline double side_radial_numerator(const ModelState &m, double y, const SideCircle &c,
                                    double cos_theta, double sin_theta) {
  return (c.cos_theta_e - cos_theta) * (m.wz * y - m.vx) -
         (c.sin_theta_e - sin_theta) * (m.wx * y + m.vz);
}

// Tangential shear displacement from theta_e to theta, 0 off the soil.
inline double side_tangential_disp(const ModelState &m, double y, const SideCircle &c, double theta,
                                   double cos_theta, double sin_theta) {
  const double j = displacement_from_numerator(
      side_tangential_numerator(m, y, c, theta, cos_theta, sin_theta), m.wy);
  return side_circle_in_soil(c) ? j : 0.0;
}

// Radial shear displacement along the outward radius from theta_e to theta.
inline double side_radial_disp(const ModelState &m, double y, const SideCircle &c, double cos_theta,
                               double sin_theta) {
  const double j =
      displacement_from_numerator(side_radial_numerator(m, y, c, cos_theta, sin_theta), m.wy);
  return side_circle_in_soil(c) ? j : 0.0;
}

// v: the lateral velocity of the sidewall point.
inline double side_lateral_speed(const ModelState &m, double rho, double cos_theta,
                                 double sin_theta) {
  return sin_theta * (m.wz * rho) + m.vy + cos_theta * (m.wx * rho);
}

// Whether the sidewall at y pushes into the soil at lateral velocity v:
// outwards (or y is 0), faster than the dead band.
inline bool side_pushes(double v, double y) {
  const bool moving = v > side_speed_dead_band || v < -side_speed_dead_band;
  return v * y >= 0 && moving;
}

// Whether a circle of radius rho lies on the band, both ends inclusive.
inline bool side_on_band(const ModelState &m, double rho) {
  return m.radius - m.band_height <= rho && rho <= m.radius;
}

// The band's scale of the pressure, lambda r/rho.
inline double side_band_factor(const ModelState &m, double rho) {
  return (m.band_ratio * m.radius) / rho;
}

// Rankine passive pressure where the sidewall at y moves outwards into the
// soil faster than the dead band, else 0. passive_k is passive_root(m).
inline double side_passive_pressure(const ModelState &m, double y, double z, double rho,
                                    double cos_theta, double sin_theta, double passive_k) {
  const double v = side_lateral_speed(m, rho, cos_theta, sin_theta);
  // depth |g| gamma k^2 + 2 c k, in this grouping
  const double passive =
      (((side_depth(m, z, rho, cos_theta) * std::fabs(m.gravity)) * m.soil_density) * passive_k) *
          passive_k +
      ((m.cohesion * 2) * passive_k);
  return side_pushes(v, y) ? passive : 0.0;
}

// The pressure on a circle of the band, scaled by lambda r/rho.
inline double side_banded_pressure(double p, double band_factor) { return p * band_factor; }

// The pressure signed as the y-component of the soil's force: negated on the
// plus side.
inline bool side_pressure_negated(double y) { return y > 0; }

// Signed lateral pressure p: the passive pressure, scaled on the band,
// negated on the plus side.
inline double side_pressure(const ModelState &m, double y, double z, double rho, double cos_theta,
                            double sin_theta, double passive_k) {
  double p = side_passive_pressure(m, y, z, rho, cos_theta, sin_theta, passive_k);
  if (side_on_band(m, rho)) p = side_banded_pressure(p, side_band_factor(m, rho));
  if (side_pressure_negated(y)) p = -p;
  return p;
}

// tan(phi) |p| sgn(j): the sidewall's shear strength with the sign of the
// displacement; no cohesion term.
inline double side_shear_strength(double tan_phi, double pressure, double j) {
  return tan_phi * std::fabs(pressure) * sgn(j);
}

// -(|j|/kx), the exponent of the sidewall's mobilisation.
inline double side_shear_exponent(const ModelState &m, double j) { return -(std::fabs(j) / m.kx); }

// Sidewall shear from e = exp(-(|j|/kx)) and the signed strength:
// (1 - e) tan(phi) |p| sgn(j).
inline double side_shear_from(double e, double strength) { return (1 - e) * strength; }

// Sidewall shear: (1 - e^(-|j|/kx)) tan(phi) |p| sgn(j).
inline double side_shear(const ModelState &m, double j, double pressure, double tan_phi) {
  return side_shear_from(std::exp(side_shear_exponent(m, j)),
                         side_shear_strength(tan_phi, pressure, j));
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

}  // namespace WHEELSOIL_ARITH_NAMESPACE
}  // namespace wheelsoil::detail::full_model

#endif
