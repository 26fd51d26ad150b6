#include "../api/strict_fp.h"

#include "rim_stress.h"

#include "contact_geometry.h"

namespace wheelsoil::detail::full_model {

namespace fm = full_model;

double shear_displacement_x(double y, double theta) {
  const double theta1 = entry_angle(y);
  return fm::shear_displacement_x(model_state, y, theta1, std::cos(theta1), std::sin(theta1), theta,
                                  std::cos(theta), std::sin(theta));
}

double shear_displacement_y(double y, double theta) {
  const double theta1 = entry_angle(y);
  return fm::shear_displacement_y(model_state, theta1, std::cos(theta1), std::sin(theta1), theta,
                                  std::cos(theta), std::sin(theta));
}

double outer_normal_stress(double y, double theta) {
  const ModelState &m = model_state;
  const double theta1 = entry_angle(y);
  return fm::surface_normal_stress(fm::outer_modulus(m), m.sinkage_exponent, theta1,
                                   std::cos(theta1), max_stress_angle(y), exit_angle(y), theta,
                                   std::cos(theta));
}

double band_normal_stress(double y, double theta) {
  const ModelState &m = model_state;
  const double theta_b1 = band_entry_angle(y);
  return fm::surface_normal_stress(fm::band_modulus(m), m.sinkage_exponent, theta_b1,
                                   std::cos(theta_b1), band_max_stress_angle(y), band_exit_angle(y),
                                   theta, std::cos(theta));
}

double normal_stress(double y, double theta) {
  const double lambda = model_state.band_ratio;
  if (lambda == 1) return outer_normal_stress(y, theta);
  return fm::blended_normal_stress(lambda, band_normal_stress(y, theta),
                                   outer_normal_stress(y, theta));
}

namespace {

// One shear component at (y, theta): the lateral one when `lateral`, else the
// longitudinal one. Both share the displacement j and the strength tau_max.
double rim_shear(double y, double theta, bool lateral) {
  const ModelState &m = model_state;
  const double v_t = fm::slip_velocity_t(m, y, std::cos(theta), std::sin(theta));
  const double v_l = fm::slip_velocity_l(m, std::cos(theta), std::sin(theta));
  const double j =
      fm::total_displacement(shear_displacement_x(y, theta), shear_displacement_y(y, theta));
  const double tau_max =
      fm::shear_strength(normal_stress(y, theta), std::tan(m.friction_angle), m.cohesion);
  return fm::shear_component(lateral ? v_l : v_t, fm::slip_speed(v_t, v_l), tau_max,
                             fm::mobilisation(m.kr, j, lateral ? m.ky : m.kx));
}

}  // namespace

double shear_stress_x(double y, double theta) { return rim_shear(y, theta, false); }

double shear_stress_y(double y, double theta) { return rim_shear(y, theta, true); }

}  // namespace wheelsoil::detail::full_model
