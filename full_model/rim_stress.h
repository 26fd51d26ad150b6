// Rim stresses at a point (y, theta) of the contact patch: the shear
// displacements, the normal stress of the outer and the band surface and their
// blend, and the longitudinal and lateral shear stresses.
#ifndef WHEELSOIL_FULL_MODEL_RIM_STRESS_H
#define WHEELSOIL_FULL_MODEL_RIM_STRESS_H

#include <cmath>

#include "arith_namespace.h"
#include "wheel_soil_model.h"

namespace wheelsoil::detail::full_model {

// Documented functions over model_state, adapters over the arithmetic below.
double shear_displacement_x(double y, double theta);
double shear_displacement_y(double y, double theta);
double outer_normal_stress(double y, double theta);
double band_normal_stress(double y, double theta);
double normal_stress(double y, double theta);
double shear_stress_x(double y, double theta);
double shear_stress_y(double y, double theta);

inline namespace WHEELSOIL_ARITH_NAMESPACE {

// Displacement magnitude standing in for N/wy when the wheel does not spin.
constexpr double locked_displacement = 10.0;
// The hump law's peak constant (not 1/(1 - e^-1) = 1.5819767...).
constexpr double hump_constant = 1.582;

// sgn(v): +1, -1, or 0 for v = 0 (and for NaN).
inline double sgn(double v) { return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0); }

// N/wy, the time integral of a slip velocity; the sentinel +-10 (0 for N = 0)
// when the wheel does not spin. The quotient is formed either way and then
// selected, so that a strip of points runs without branches.
inline double displacement_from_numerator(double numerator, double wy) {
  const double quotient = numerator / wy;
  const double locked =
      numerator > 0 ? locked_displacement : (numerator < 0 ? -locked_displacement : 0.0);
  return wy != 0 ? quotient : locked;
}

// k_c/b + k_phi, the combined pressure-sinkage modulus.
inline double sinkage_modulus(const ModelState &m) { return m.k_c / m.width + m.k_phi; }

// K_o = r^n (k_c/b + k_phi): the outer surface's pressure-sinkage law, from
// r^n.
inline double outer_modulus(const ModelState &m, double radius_power) {
  return radius_power * sinkage_modulus(m);
}
inline double outer_modulus(const ModelState &m) {
  return outer_modulus(m, std::pow(m.radius, m.sinkage_exponent));
}

// |r - h_b|, the band surface's radius in its law.
inline double band_radius(const ModelState &m) { return std::fabs(m.radius - m.band_height); }

// K_b = |r - h_b|^n (k_c/b + k_phi): the band surface's law, from |r - h_b|^n.
inline double band_modulus(const ModelState &m, double radius_power) {
  return radius_power * sinkage_modulus(m);
}
inline double band_modulus(const ModelState &m) {
  return band_modulus(m, std::pow(band_radius(m), m.sinkage_exponent));
}

// The normal stress of one surface (Bekker pressure-sinkage law) in stages, so
// that a strip of points can take its cosines and powers all at once: the
// front region [theta_m, theta1] takes theta itself, the rear region
// [theta2, theta_m) the equivalent angle mapped linearly onto the front, and
// every other angle carries no stress.
inline bool in_front_region(double theta1, double theta_m, double theta) {
  return theta_m <= theta && theta <= theta1;
}
inline bool in_rear_region(double theta_m, double theta2, double theta) {
  return theta2 <= theta && theta < theta_m;
}

// theta_e = theta1 - ((theta - theta2)/(theta_m - theta2))(theta1 - theta_m):
// the rear angle mapped onto the front (theta2 onto theta1).
inline double rear_equivalent_angle(double theta1, double theta_m, double theta2, double theta) {
  // do not reassociate
  return theta1 - ((theta - theta2) / (theta_m - theta2)) * (theta1 - theta_m);
}

// |cos theta_e - cos theta1|, the depth below the surface over the radius,
// with cos theta_e the point's own cosine in front and the equivalent angle's
// behind.
inline double depth_ratio(bool front, double cos_theta, double cos_equivalent, double cos_theta1) {
  return std::fabs((front ? cos_theta : cos_equivalent) - cos_theta1);
}

// sigma of one surface from the power |cos theta_e - cos theta1|^n: K times
// it in either region, 0 elsewhere.
inline double surface_stress(bool in_region, double power, double modulus) {
  const double stress = power * modulus;
  return in_region ? stress : 0.0;
}

// Normal stress of one surface at theta, the stages above in order.
inline double surface_normal_stress(double modulus, double n, double theta1, double cos_theta1,
                                    double theta_m, double theta2, double theta, double cos_theta) {
  const bool front = in_front_region(theta1, theta_m, theta);
  const bool rear = !front && in_rear_region(theta_m, theta2, theta);
  if (!front && !rear) return 0.0;
  const double cos_equivalent =
      rear ? std::cos(rear_equivalent_angle(theta1, theta_m, theta2, theta)) : cos_theta;
  return surface_stress(
      true, std::pow(depth_ratio(front, cos_theta, cos_equivalent, cos_theta1), n), modulus);
}

// sigma = lambda sigma_o + (1 - lambda) sigma_b; callers take sigma_o alone
// when lambda is exactly 1, without evaluating the band.
inline double blended_normal_stress(double lambda, double band, double outer) {
  return band * (1 - lambda) + outer * lambda;
}

// N_x: numerator of the longitudinal shear displacement from theta1 to theta.
inline double displacement_numerator_x(const ModelState &m, double y, double theta1,
                                       double cos_theta1, double sin_theta1, double theta,
                                       double cos_theta, double sin_theta) {
  return ((cos_theta1 - cos_theta) * (m.wx * y + m.vz) +
          (sin_theta1 - sin_theta) * (m.wz * y - m.vx)) +
         (theta1 - theta) * (m.radius * m.wy);
}

// N_y: numerator of the lateral shear displacement from theta1 to theta.
inline double displacement_numerator_y(const ModelState &m, double theta1, double cos_theta1,
                                       double sin_theta1, double theta, double cos_theta,
                                       double sin_theta) {
  return ((cos_theta - cos_theta1) * (m.radius * m.wz) + (theta1 - theta) * m.vy) +
         (sin_theta1 - sin_theta) * (m.wx * m.radius);
}

// Whether a strip with entry angle theta1 is out of contact: its points
// accumulate no displacement.
inline bool strip_without_contact(double theta1) { return theta1 <= 0; }

// j_x at a point whose strip has entry angle theta1; 0 without contact.
inline double shear_displacement_x(const ModelState &m, double y, double theta1, double cos_theta1,
                                   double sin_theta1, double theta, double cos_theta,
                                   double sin_theta) {
  const double j = displacement_from_numerator(
      displacement_numerator_x(m, y, theta1, cos_theta1, sin_theta1, theta, cos_theta, sin_theta),
      m.wy);
  return strip_without_contact(theta1) ? 0.0 : j;
}

// j_y at a point whose strip has entry angle theta1; 0 without contact.
inline double shear_displacement_y(const ModelState &m, double theta1, double cos_theta1,
                                   double sin_theta1, double theta, double cos_theta,
                                   double sin_theta) {
  const double j = displacement_from_numerator(
      displacement_numerator_y(m, theta1, cos_theta1, sin_theta1, theta, cos_theta, sin_theta),
      m.wy);
  return strip_without_contact(theta1) ? 0.0 : j;
}

// v_t: the rim point's sliding velocity along the tangent, negated.
inline double slip_velocity_t(const ModelState &m, double y, double cos_theta, double sin_theta) {
  return (((m.wz * y) * cos_theta - (sin_theta * m.vz + cos_theta * m.vx)) -
          (m.wx * y) * sin_theta) +
         m.radius * m.wy;
}

// v_l: the rim point's lateral velocity.
inline double slip_velocity_l(const ModelState &m, double cos_theta, double sin_theta) {
  return ((m.radius * m.wz) * sin_theta + m.vy) + (m.radius * m.wx) * cos_theta;
}

// |(v_l, v_t)|.
inline double slip_speed(double v_t, double v_l) { return std::sqrt(v_l * v_l + v_t * v_t); }

// |(j_x, j_y)|.
inline double total_displacement(double j_x, double j_y) {
  return std::sqrt(j_y * j_y + j_x * j_x);
}

// tau_max = sigma tan(phi) + c (Mohr-Coulomb).
inline double shear_strength(double sigma, double tan_phi, double cohesion) {
  return sigma * tan_phi + cohesion;
}

// -(j/K), the exponent of the mobilisation factor.
inline double mobilisation_exponent(double j, double modulus) { return -(j / modulus); }

// F from e = exp(-(j/K)): Janosi-Hanamoto 1 - e for kr exactly 1, else the
// hump law ((1.582/kr - 1) e + 1) kr (1 - e), which tends to kr for large j.
inline double mobilisation_law(double kr, double e) {
  const double hump = (((hump_constant / kr - 1) * e + 1) * kr) * (1 - e);
  return kr == 1 ? 1 - e : hump;
}

// F(j, K).
inline double mobilisation(double kr, double j, double modulus) {
  return mobilisation_law(kr, std::exp(mobilisation_exponent(j, modulus)));
}

// One shear component: strength times mobilisation, directed along the slip
// velocity component v_dir of the total v; 0 where the point does not slip.
inline double shear_component(double v_dir, double v, double tau_max, double factor) {
  const double ratio = std::fabs(v_dir / v);
  const double direction = v != 0 ? ratio : 0.0;
  return (sgn(v_dir) * tau_max) * (factor * direction);
}

}  // namespace WHEELSOIL_ARITH_NAMESPACE
}  // namespace wheelsoil::detail::full_model

#endif
