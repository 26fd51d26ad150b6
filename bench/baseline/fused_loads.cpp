// The fused evaluator as it stood before strip evaluation, with the inline
// arithmetic it was built on (the headers beside this file), kept so that the
// benchmark measures the default path against it in the same run.
// The fused evaluator: the same 18 integrals as the reference path, with each
// quantity formed once where the reference forms it at every use. Per call:
// the slip ratio, the moduli, tan(phi), the passive coefficient. Per strip
// (outer point): the sinkage and the contact angles with their sines and
// cosines. Per quadrature point: the stresses, shared by the six integrals of
// the surface. Every value comes from the same inline arithmetic as the
// documented functions, and the six sums are accumulated in the same i-outer,
// j-inner order with the same weight products, so the bits are the same.
#include "../../api/strict_fp.h"

#include <cmath>
#include <cstring>

#include "contact_geometry.h"
#include "gauss_legendre.h"
#include "rim_loads.h"
#include "rim_stress.h"
#include "sidewall_loads.h"
#include "model_state.h"
#include "wheel_soil_model.h"

namespace baseline_fused {


namespace {

constexpr int points = 30;

// The same divisor bit for bit, so that j/a and j/b cannot differ.
bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Accumulate S_k = S_k + v_k * w for the six loads of one point.
inline void accumulate(double (&sum)[6], const double (&v)[6], double w) {
  for (int k = 0; k < 6; ++k) sum[k] = sum[k] + v[k] * w;
}

// The six rim integrals over y in [-b/2, b/2], theta in [exit, entry].
void rim_loads(const ModelState &m, double (&sum)[6]) {
  const double s = slip_ratio(m);
  const double outer_k = outer_modulus(m);
  const double band_k = band_modulus(m);
  const double tan_phi = std::tan(m.friction_angle);
  const double n = m.sinkage_exponent;
  const bool outer_only = m.band_ratio == 1;
  const bool shared_modulus = same_bits(m.kx, m.ky);
  const double r = m.radius;

  const double a = m.width * (-0.5);
  const double b = m.width * 0.5;
  const double d = b - a;
  for (int k = 0; k < 6; ++k) sum[k] = 0.0;
  for (int i = 0; i < points; ++i) {
    const double y = gl_abscissa(d, gl_nodes[points][i], b, a);
    const StripAngles ang = strip_angles(m, s, y);
    const double lo = ang.theta2;  // exit_angle(y)
    const double hi = ang.theta1;  // entry_angle(y)
    const double cos1 = std::cos(ang.theta1);
    const double sin1 = std::sin(ang.theta1);
    const double cos_b1 = outer_only ? 0.0 : std::cos(ang.theta_b1);
    const double g = hi - lo;
    const double p = gl_strip_factor(g, d);
    for (int j = 0; j < points; ++j) {
      const double theta = gl_abscissa(g, gl_nodes[points][j], hi, lo);
      RimPoint pt;
      pt.y = y;
      pt.cos_theta = std::cos(theta);
      pt.sin_theta = std::sin(theta);

      const double outer = surface_normal_stress(outer_k, n, ang.theta1, cos1, ang.theta_m,
                                                 ang.theta2, theta, pt.cos_theta);
      if (outer_only) {
        pt.sigma = outer;
      } else {
        const double band = surface_normal_stress(band_k, n, ang.theta_b1, cos_b1, ang.theta_bm,
                                                  ang.theta_b2, theta, pt.cos_theta);
        pt.sigma = blended_normal_stress(m.band_ratio, band, outer);
      }

      const double v_t = slip_velocity_t(m, y, pt.cos_theta, pt.sin_theta);
      const double v_l = slip_velocity_l(m, pt.cos_theta, pt.sin_theta);
      const double v = slip_speed(v_t, v_l);
      const double jx = shear_displacement_x(m, y, ang.theta1, cos1, sin1, theta, pt.cos_theta,
                                             pt.sin_theta);
      const double jy =
          shear_displacement_y(m, ang.theta1, cos1, sin1, theta, pt.cos_theta, pt.sin_theta);
      const double jt = total_displacement(jx, jy);
      const double tau_max = shear_strength(pt.sigma, tan_phi, m.cohesion);
      const double fx = mobilisation(m.kr, jt, m.kx);
      const double fy = shared_modulus ? fx : mobilisation(m.kr, jt, m.ky);
      pt.tau_x = shear_component(v_t, v, tau_max, fx);
      pt.tau_y = shear_component(v_l, v, tau_max, fy);

      const double load[6] = {rim_fx_density(pt, r), rim_fy_density(pt, r),
                              rim_fz_density(pt, r), rim_mx_density(pt, r),
                              rim_my_density(pt, r), rim_mz_density(pt, r)};
      accumulate(sum, load, gl_point_weight(p, gl_weights[points][i], gl_weights[points][j]));
    }
  }
}

// The six integrals of the side at y_s over rho in [r - z, r], theta in
// [-theta_e, theta_e]; zeros where the side is not sunk.
void side_loads(const ModelState &m, double y_s, double (&sum)[6]) {
  for (int k = 0; k < 6; ++k) sum[k] = 0.0;
  const double z = sinkage_at(m, y_s);
  if (!(z > 0)) return;
  const double passive_k = passive_root(m);
  const double tan_phi = std::tan(m.friction_angle);

  const double a = m.radius - z;
  const double b = m.radius;
  const double d = b - a;
  for (int i = 0; i < points; ++i) {
    SideCircle c;
    c.sinkage = z;
    c.rho = gl_abscissa(d, gl_nodes[points][i], b, a);
    c.theta_e = side_entry_angle(m, z, c.rho);
    c.cos_theta_e = std::cos(c.theta_e);
    c.sin_theta_e = std::sin(c.theta_e);
    const double lo = side_lower_limit(z, c.theta_e);
    const double hi = side_upper_limit(z, c.theta_e);
    const double g = hi - lo;
    const double p = gl_strip_factor(g, d);
    for (int j = 0; j < points; ++j) {
      const double theta = gl_abscissa(g, gl_nodes[points][j], hi, lo);
      SidePoint pt;
      pt.y = y_s;
      pt.rho = c.rho;
      pt.cos_theta = std::cos(theta);
      pt.sin_theta = std::sin(theta);
      pt.p = side_pressure(m, y_s, z, c.rho, pt.cos_theta, pt.sin_theta, passive_k);
      pt.tau_t = side_shear(
          m, side_tangential_disp(m, y_s, c, theta, pt.cos_theta, pt.sin_theta), pt.p, tan_phi);
      pt.tau_r =
          side_shear(m, side_radial_disp(m, y_s, c, pt.cos_theta, pt.sin_theta), pt.p, tan_phi);

      const double load[6] = {side_fx_density(pt), side_fy_density(pt), side_fz_density(pt),
                              side_mx_density(pt), side_my_density(pt), side_mz_density(pt)};
      accumulate(sum, load, gl_point_weight(p, gl_weights[points][i], gl_weights[points][j]));
    }
  }
}

}  // namespace

void fused_loads(const ModelState &m, WheelSoilOutput *out) {
  double rim[6], plus[6], minus[6];
  rim_loads(m, rim);
  side_loads(m, plus_side(m), plus);
  side_loads(m, minus_side(m), minus);
  std::memcpy(&out->rim_fx, rim, sizeof rim);
  wheelsoil::detail::full_model::finish_outputs(out, plus, minus);
}

}  // namespace baseline_fused
