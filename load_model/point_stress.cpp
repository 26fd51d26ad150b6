#include "../api/strict_fp.h"

#include "point_stress.h"

namespace wheelsoil::detail::load_model {

namespace lm = load_model;

void slip_direction(double theta, double *lon, double *lat) {
  const lm::SlipDirection d = lm::slip_direction(load_model_state, theta);
  *lon = d.lon;
  *lat = d.lat;
}

double shear_displacement(double theta, double theta_top, double radius_used) {
  return lm::shear_displacement(load_model_state, theta, theta_top, radius_used);
}

void point_stress(double theta, double j, double lon, double lat, double *sigma, double *tau,
                  double *tau_x, double *tau_y) {
  const lm::PointStress p = lm::point_stress(load_model_state, theta, j, lon, lat);
  *sigma = p.sigma;
  *tau = p.tau;
  *tau_x = p.tau_x;
  *tau_y = p.tau_y;
}

}  // namespace wheelsoil::detail::load_model
