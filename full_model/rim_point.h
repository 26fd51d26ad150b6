// The stresses at one rim point with the state passed explicitly: the same
// arithmetic, in the same order, as the documented coordinate-only functions
// normal_stress, shear_stress_x, shear_stress_y and shear_displacement_x/_y,
// so that a point evaluated here has their bits. Used where points are chosen
// freely (stress profiles, the split rule) rather than on the fixed rule.
#ifndef WHEELSOIL_FULL_MODEL_RIM_POINT_H
#define WHEELSOIL_FULL_MODEL_RIM_POINT_H

#include <cmath>

#include "arith_namespace.h"
#include "contact_geometry.h"
#include "rim_stress.h"
#include "wheel_soil_model.h"

namespace wheelsoil::detail::full_model {
inline namespace WHEELSOIL_ARITH_NAMESPACE {

// Quantities formed once per evaluation.
struct RimConstants {
  double slip;     // s, or the undefined-slip marker 2
  double outer_k;  // K_o
  double band_k;   // K_b
  double tan_phi;  // tan(phi)
};

inline RimConstants rim_constants(const ModelState &m) {
  RimConstants c;
  c.slip = slip_ratio(m);
  c.outer_k = outer_modulus(m);
  c.band_k = band_modulus(m);
  c.tan_phi = std::tan(m.friction_angle);
  return c;
}

// The angles of one lateral position with the trigonometry its points share.
struct RimStrip {
  double y;  // lateral position (m)
  StripAngles angles;
  double cos1, sin1;  // of the outer entry angle
  double cos_b1;      // of the band entry angle
};

inline RimStrip rim_strip(const ModelState &m, const RimConstants &c, double y) {
  RimStrip s;
  s.y = y;
  s.angles = strip_angles(m, c.slip, y);
  s.cos1 = std::cos(s.angles.theta1);
  s.sin1 = std::sin(s.angles.theta1);
  s.cos_b1 = std::cos(s.angles.theta_b1);
  return s;
}

// The stresses and displacements at (strip y, theta).
struct RimPointStress {
  double cos_theta, sin_theta;
  double sigma;         // normal stress (Pa)
  double tau_x, tau_y;  // longitudinal and lateral shear stress (Pa)
  double j_x, j_y;      // longitudinal and lateral shear displacement (m)
};

inline RimPointStress rim_point_stress(const ModelState &m, const RimConstants &c,
                                       const RimStrip &s, double theta) {
  const StripAngles &a = s.angles;
  const double cos_t = std::cos(theta), sin_t = std::sin(theta);
  RimPointStress p;
  p.cos_theta = cos_t;
  p.sin_theta = sin_t;
  // normal_stress: the outer law alone for lambda exactly 1, else the blend
  const double outer = surface_normal_stress(c.outer_k, m.sinkage_exponent, a.theta1, s.cos1,
                                             a.theta_m, a.theta2, theta, cos_t);
  if (m.band_ratio == 1) {
    p.sigma = outer;
  } else {
    const double band = surface_normal_stress(c.band_k, m.sinkage_exponent, a.theta_b1, s.cos_b1,
                                              a.theta_bm, a.theta_b2, theta, cos_t);
    p.sigma = blended_normal_stress(m.band_ratio, band, outer);
  }
  p.j_x = shear_displacement_x(m, s.y, a.theta1, s.cos1, s.sin1, theta, cos_t, sin_t);
  p.j_y = shear_displacement_y(m, a.theta1, s.cos1, s.sin1, theta, cos_t, sin_t);
  // shear_stress_x and _y: one strength and one displacement, two directions
  const double v_t = slip_velocity_t(m, s.y, cos_t, sin_t);
  const double v_l = slip_velocity_l(m, cos_t, sin_t);
  const double v = slip_speed(v_t, v_l);
  const double j = total_displacement(p.j_x, p.j_y);
  const double tau_max = shear_strength(p.sigma, c.tan_phi, m.cohesion);
  p.tau_x = shear_component(v_t, v, tau_max, mobilisation(m.kr, j, m.kx));
  p.tau_y = shear_component(v_l, v, tau_max, mobilisation(m.kr, j, m.ky));
  return p;
}

}  // namespace WHEELSOIL_ARITH_NAMESPACE
}  // namespace wheelsoil::detail::full_model

#endif
