// Rim stresses at a point (y, theta) of the contact patch: the shear
// displacements, the normal stress of the outer and the band surface and their
// blend, and the longitudinal and lateral shear stresses.
#ifndef WHEELSOIL_BENCH_BASELINE_RIM_STRESS_H
#define WHEELSOIL_BENCH_BASELINE_RIM_STRESS_H

#include <cmath>

#include "model_state.h"

namespace baseline_fused {

// Displacement magnitude standing in for N/wy when the wheel does not spin.
constexpr double locked_displacement = 10.0;
// The hump law's peak constant (not 1/(1 - e^-1) = 1.5819767...).
constexpr double hump_constant = 1.582;

// sgn(v): +1, -1, or 0 for v = 0 (and for NaN).
inline double sgn(double v) { return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0); }

// N/wy, the time integral of a slip velocity; the sentinel +-10 (0 for N = 0)
// when the wheel does not spin.
inline double displacement_from_numerator(double numerator, double wy) {
  if (wy != 0) return numerator / wy;
  if (numerator > 0) return locked_displacement;
  if (numerator < 0) return -locked_displacement;
  return 0.0;
}

// k_c/b + k_phi, the combined pressure-sinkage modulus.
inline double sinkage_modulus(const ModelState &m) { return m.k_c / m.width + m.k_phi; }

// K_o = r^n (k_c/b + k_phi): the outer surface's pressure-sinkage law.
inline double outer_modulus(const ModelState &m) {
  return std::pow(m.radius, m.sinkage_exponent) * sinkage_modulus(m);
}

// K_b = |r - h_b|^n (k_c/b + k_phi): the band surface's law.
inline double band_modulus(const ModelState &m) {
  return std::pow(std::fabs(m.radius - m.band_height), m.sinkage_exponent) *
         sinkage_modulus(m);
}

// Normal stress of one surface (Bekker pressure-sinkage law), with the rear
// region [theta2, theta_m) mapped linearly onto the front [theta_m, theta1].
inline double surface_normal_stress(double modulus, double n, double theta1,
                                    double cos_theta1, double theta_m, double theta2,
                                    double theta, double cos_theta) {
  double cos_equivalent;
  if (theta_m <= theta && theta <= theta1) {
    cos_equivalent = cos_theta;
  } else if (theta2 <= theta && theta < theta_m) {
    // do not reassociate: theta1 - ((theta - theta2)/(theta_m - theta2))(theta1 - theta_m)
    const double theta_e =
        theta1 - ((theta - theta2) / (theta_m - theta2)) * (theta1 - theta_m);
    cos_equivalent = std::cos(theta_e);
  } else {
    return 0.0;
  }
  return std::pow(std::fabs(cos_equivalent - cos_theta1), n) * modulus;
}

// sigma = lambda sigma_o + (1 - lambda) sigma_b; callers take sigma_o alone
// when lambda is exactly 1, without evaluating the band.
inline double blended_normal_stress(double lambda, double band, double outer) {
  return band * (1 - lambda) + outer * lambda;
}

// N_x: numerator of the longitudinal shear displacement from theta1 to theta.
inline double displacement_numerator_x(const ModelState &m, double y, double theta1,
                                       double cos_theta1, double sin_theta1,
                                       double theta, double cos_theta, double sin_theta) {
  return ((cos_theta1 - cos_theta) * (m.wx * y + m.vz) +
          (sin_theta1 - sin_theta) * (m.wz * y - m.vx)) +
         (theta1 - theta) * (m.radius * m.wy);
}

// N_y: numerator of the lateral shear displacement from theta1 to theta.
inline double displacement_numerator_y(const ModelState &m, double theta1,
                                       double cos_theta1, double sin_theta1,
                                       double theta, double cos_theta, double sin_theta) {
  return ((cos_theta - cos_theta1) * (m.radius * m.wz) + (theta1 - theta) * m.vy) +
         (sin_theta1 - sin_theta) * (m.wx * m.radius);
}

// j_x at a point whose strip has entry angle theta1; 0 without contact.
inline double shear_displacement_x(const ModelState &m, double y, double theta1,
                                   double cos_theta1, double sin_theta1, double theta,
                                   double cos_theta, double sin_theta) {
  if (theta1 <= 0) return 0.0;
  return displacement_from_numerator(
      displacement_numerator_x(m, y, theta1, cos_theta1, sin_theta1, theta, cos_theta,
                               sin_theta),
      m.wy);
}

// j_y at a point whose strip has entry angle theta1; 0 without contact.
inline double shear_displacement_y(const ModelState &m, double theta1, double cos_theta1,
                                   double sin_theta1, double theta, double cos_theta,
                                   double sin_theta) {
  if (theta1 <= 0) return 0.0;
  return displacement_from_numerator(
      displacement_numerator_y(m, theta1, cos_theta1, sin_theta1, theta, cos_theta,
                               sin_theta),
      m.wy);
}

// v_t: the rim point's sliding velocity along the tangent, negated.
inline double slip_velocity_t(const ModelState &m, double y, double cos_theta,
                              double sin_theta) {
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

// F(j, K): Janosi-Hanamoto 1 - e^(-j/K) for kr exactly 1, else the hump law
// ((1.582/kr - 1) e + 1) kr (1 - e), which tends to kr for large j.
inline double mobilisation(double kr, double j, double modulus) {
  if (kr == 1) return 1 - std::exp(-(j / modulus));
  const double e = std::exp(-(j / modulus));
  return (((hump_constant / kr - 1) * e + 1) * kr) * (1 - e);
}

// One shear component: strength times mobilisation, directed along the slip
// velocity component v_dir of the total v; 0 where the point does not slip.
inline double shear_component(double v_dir, double v, double tau_max, double factor) {
  const double direction = v != 0 ? std::fabs(v_dir / v) : 0.0;
  return (sgn(v_dir) * tau_max) * (factor * direction);
}

}  // namespace baseline_fused

#endif
