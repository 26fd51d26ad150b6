#include "../api/strict_fp.h"

#include "sidewall_loads.h"

namespace wheelsoil::detail::full_model {

namespace fm = full_model;

namespace {

fm::SideCircle side_circle(double y, double rho) {
  fm::SideCircle c;
  c.sinkage = sinkage_at(y);
  c.rho = rho;
  c.theta_e = fm::side_entry_angle(model_state, c.sinkage, rho);
  c.cos_theta_e = std::cos(c.theta_e);
  c.sin_theta_e = std::sin(c.theta_e);
  return c;
}

// The point at (y_s, rho, theta) with its three stresses.
fm::SidePoint side_point(double y, double rho, double theta) {
  fm::SidePoint s;
  s.y = y;
  s.rho = rho;
  s.cos_theta = std::cos(theta);
  s.sin_theta = std::sin(theta);
  s.tau_t = side_shear_tangential(y, rho, theta);
  s.tau_r = side_shear_radial(y, rho, theta);
  s.p = side_pressure(y, rho, theta);
  return s;
}

// The per-side functions, bound to the side position at compile time.
enum Side { plus, minus };

double side_position(Side side) {
  return side == plus ? fm::plus_side(model_state) : fm::minus_side(model_state);
}

template <Side side>
double upper_limit(double rho) {
  const double z = sinkage_at(side_position(side));
  return fm::side_upper_limit(z, fm::side_entry_angle(model_state, z, rho));
}

template <Side side>
double lower_limit(double rho) {
  const double z = sinkage_at(side_position(side));
  return fm::side_lower_limit(z, fm::side_entry_angle(model_state, z, rho));
}

template <Side side, double (*density)(const fm::SidePoint &)>
double integrand(double rho, double theta) {
  return density(side_point(side_position(side), rho, theta));
}

}  // namespace

double side_depth(double y, double rho, double theta) {
  return fm::side_depth(model_state, sinkage_at(y), rho, std::cos(theta));
}

double side_tangential_disp(double y, double rho, double theta) {
  return fm::side_tangential_disp(model_state, y, side_circle(y, rho), theta, std::cos(theta),
                                  std::sin(theta));
}

double side_radial_disp(double y, double rho, double theta) {
  return fm::side_radial_disp(model_state, y, side_circle(y, rho), std::cos(theta),
                              std::sin(theta));
}

double side_pressure(double y, double rho, double theta) {
  return fm::side_pressure(model_state, y, sinkage_at(y), rho, std::cos(theta), std::sin(theta),
                           fm::passive_root(model_state));
}

double side_shear_tangential(double y, double rho, double theta) {
  return fm::side_shear(model_state, side_tangential_disp(y, rho, theta),
                        side_pressure(y, rho, theta), std::tan(model_state.friction_angle));
}

double side_shear_radial(double y, double rho, double theta) {
  return fm::side_shear(model_state, side_radial_disp(y, rho, theta), side_pressure(y, rho, theta),
                        std::tan(model_state.friction_angle));
}

double side_lower_limit_plus(double rho) { return lower_limit<plus>(rho); }
double side_upper_limit_plus(double rho) { return upper_limit<plus>(rho); }
double side_lower_limit_minus(double rho) { return lower_limit<minus>(rho); }
double side_upper_limit_minus(double rho) { return upper_limit<minus>(rho); }

double side_fx_integrand_plus(double rho, double theta) {
  return integrand<plus, fm::side_fx_density>(rho, theta);
}
double side_fy_integrand_plus(double rho, double theta) {
  return integrand<plus, fm::side_fy_density>(rho, theta);
}
double side_fz_integrand_plus(double rho, double theta) {
  return integrand<plus, fm::side_fz_density>(rho, theta);
}
double side_mx_integrand_plus(double rho, double theta) {
  return integrand<plus, fm::side_mx_density>(rho, theta);
}
double side_my_integrand_plus(double rho, double theta) {
  return integrand<plus, fm::side_my_density>(rho, theta);
}
double side_mz_integrand_plus(double rho, double theta) {
  return integrand<plus, fm::side_mz_density>(rho, theta);
}
double side_fx_integrand_minus(double rho, double theta) {
  return integrand<minus, fm::side_fx_density>(rho, theta);
}
double side_fy_integrand_minus(double rho, double theta) {
  return integrand<minus, fm::side_fy_density>(rho, theta);
}
double side_fz_integrand_minus(double rho, double theta) {
  return integrand<minus, fm::side_fz_density>(rho, theta);
}
double side_mx_integrand_minus(double rho, double theta) {
  return integrand<minus, fm::side_mx_density>(rho, theta);
}
double side_my_integrand_minus(double rho, double theta) {
  return integrand<minus, fm::side_my_density>(rho, theta);
}
double side_mz_integrand_minus(double rho, double theta) {
  return integrand<minus, fm::side_mz_density>(rho, theta);
}

}  // namespace wheelsoil::detail::full_model
