// The soil's stresses at one rim angle: the direction of the slip velocity,
// the shear displacement accumulated since the point entered the soil, the
// normal stress blended between the rim and the band, and the shear stress.
#ifndef WHEELSOIL_LOAD_MODEL_POINT_STRESS_H
#define WHEELSOIL_LOAD_MODEL_POINT_STRESS_H

#include <cmath>

#include "load_model.h"

namespace wheelsoil::detail::load_model {

// Documented functions over load_model_state, one-line adapters over the
// arithmetic below.
void slip_direction(double theta, double *lon, double *lat);
double shear_displacement(double theta, double theta_top, double radius_used);
void point_stress(double theta, double j, double lon, double lat, double *sigma, double *tau,
                  double *tau_x, double *tau_y);

// q = v/(r omega): 1/(1 + s) when skidding (s < 0), else 1 - s (NaN s too).
inline double velocity_ratio(double s) { return s < 0 ? 1 / (1 + s) : 1 - s; }

// Direction cosines of a rim point's slip velocity: along the circumference
// and along the axle.
struct SlipDirection {
  double lon, lat;
};

// (e_x, e_y)/|(e_x, e_y)|, the slip velocity relative to the soil in units of
// the rim speed; (0, 0) where it vanishes (or is too small for its magnitude
// to be formed), so that such a point carries no shear.
inline SlipDirection slip_direction(const LoadModelState &m, double theta) {
  const double s = m.slip;
  // e_x = 1 - q cos(theta); when skidding it divides by 1 + s instead.
  const double e_x = s < 0 ? 1 - std::cos(theta) / (1 + s) : 1 - std::cos(theta) * (1 - s);
  const double e_y = std::tan(m.slip_angle) * velocity_ratio(s);
  const double speed = std::sqrt(e_y * e_y + e_x * e_x);
  if (speed == 0) return {0.0, 0.0};
  return {e_x / speed, e_y / speed};
}

// |(j_x, j_y)|: the shear displacement from entry at theta_top to theta, the
// integral of the slip velocity over the rim angle times radius_used.
inline double shear_displacement(const LoadModelState &m, double theta, double theta_top,
                                 double radius_used) {
  const double q = velocity_ratio(m.slip);
  const double j_x =
      radius_used * ((theta_top - theta) - q * (std::sin(theta_top) - std::sin(theta)));
  // do not reassociate: tan(beta) ((q r) (theta_top - theta))
  const double j_y = std::tan(m.slip_angle) * (q * radius_used * (theta_top - theta));
  return std::sqrt(j_y * j_y + j_x * j_x);
}

// weight k r^n (cos x - cos entry)^n: Bekker's pressure-sinkage law for the
// sinkage r (cos x - cos entry) of one contact circle. The cosine difference
// goes to pow as it is, so above the entry angle a non-integer n gives NaN.
inline double sinkage_term(double weight, double k, double radius, double n, double x,
                           double entry) {
  return std::pow(std::cos(x) - std::cos(entry), n) * (std::pow(radius, n) * k) * weight;
}

// (1 - lambda) k r_b^n (cos x - cos theta_1b)^n: the band's term.
inline double band_term(const LoadModelState &m, double x) {
  return sinkage_term(1 - m.band_ratio, m.modulus_sum, m.band_radius, m.sinkage_exponent, x,
                      m.band_entry_angle);
}

// lambda k r^n (cos x - cos theta_1)^n: the rim's term.
inline double rim_term(const LoadModelState &m, double x) {
  return sinkage_term(m.band_ratio, m.modulus_sum, m.radius, m.sinkage_exponent, x,
                      m.rim_entry_angle);
}

// The stresses at one rim angle.
struct PointStress {
  double sigma;  // normal stress (Pa)
  double tau;    // shear stress (Pa)
  double tau_x;  // its part along the circumference (Pa)
  double tau_y;  // its part along the axle (Pa)
};

// sigma by angle region, the first that holds; then tau and its components
// along the slip direction (lon, lat), which j (a shear displacement) shapes.
inline PointStress point_stress(const LoadModelState &m, double theta, double j, double lon,
                                double lat) {
  const double theta1 = m.rim_entry_angle;
  const double theta1b = m.band_entry_angle;
  const double theta_m = m.peak_stress_angle;
  const double theta2 = m.rear_angle;
  double sigma;
  if (theta1 < theta && theta < theta2) {
    // Between the rim's entry and an exit behind it: no contact at all.
    return {0.0, 0.0, 0.0, 0.0};
  } else if (theta2 <= theta && theta < theta_m) {
    // Rear region (Wong-Reece): each circle's rear maps linearly onto its front.
    const double t = (theta - theta2) / (theta_m - theta2);
    const double x_b = theta1b - (theta1b - theta_m) * t;
    const double x_r = theta1 - (theta1 - theta_m) * t;
    sigma = band_term(m, x_b) + rim_term(m, x_r);
  } else if (theta_m <= theta && theta <= theta1b) {
    // Front region, both circles in contact.
    sigma = band_term(m, theta) + rim_term(m, theta);
  } else {
    // Ahead of the band's entry (and any other angle, NaN too): the rim alone.
    sigma = rim_term(m, theta);
  }
  // Mohr-Coulomb strength times the Janosi-Hanamoto shear function.
  const double tau =
      (1 - std::exp(-(j / m.shear_modulus))) * (m.cohesion + sigma * std::tan(m.friction_angle));
  // A point that does not slip carries no shear in any direction.
  if (lon == 0 && lat == 0) return {sigma, tau, 0.0, 0.0};
  return {sigma, tau, tau * lon, lat * tau};
}

}  // namespace wheelsoil::detail::load_model

#endif
