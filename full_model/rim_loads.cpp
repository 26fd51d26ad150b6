#include "../api/strict_fp.h"

#include "rim_loads.h"

#include <cmath>

#include "rim_stress.h"

namespace wheelsoil::detail::full_model {

namespace fm = full_model;

namespace {

// The point with only the stresses that a density reads evaluated; the others
// are left 0 and do not enter it.
fm::RimPoint rim_point(double y, double theta, bool tangential, bool normal, bool lateral) {
  fm::RimPoint p{};
  p.y = y;
  p.cos_theta = std::cos(theta);
  p.sin_theta = std::sin(theta);
  if (tangential) p.tau_x = shear_stress_x(y, theta);
  if (normal) p.sigma = normal_stress(y, theta);
  if (lateral) p.tau_y = shear_stress_y(y, theta);
  return p;
}

}  // namespace

double rim_fx_integrand(double y, double theta) {
  return fm::rim_fx_density(rim_point(y, theta, true, true, false), model_state.radius);
}

double rim_fy_integrand(double y, double theta) {
  return fm::rim_fy_density(rim_point(y, theta, false, false, true), model_state.radius);
}

double rim_fz_integrand(double y, double theta) {
  return fm::rim_fz_density(rim_point(y, theta, true, true, false), model_state.radius);
}

double rim_mx_integrand(double y, double theta) {
  return fm::rim_mx_density(rim_point(y, theta, true, true, true), model_state.radius);
}

double rim_my_integrand(double y, double theta) {
  return fm::rim_my_density(rim_point(y, theta, true, true, false), model_state.radius);
}

double rim_mz_integrand(double y, double theta) {
  return fm::rim_mz_density(rim_point(y, theta, true, true, true), model_state.radius);
}

}  // namespace wheelsoil::detail::full_model
