// The 18 loads evaluated strip by strip: every integral's 30 inner points are
// formed together, as arrays of gl_lanes values, so that the arithmetic of a
// strip runs without branches on the vector unit, and the elementary
// functions of a strip are taken together through a math provider:
//   double tan(double), double pow(double, double)         per call
//   void acos(const double *x, const Mask *use, double *y)  y = acos(x) where
//   void cos(const double *x, const Mask *use, double *y)   use (or use is
//   void exp(const double *x, const Mask *use, double *y)   null), else 0.0
//   void pow(const double *x, double e, const Mask *use, double *y)
//   void sincos(const double *x, double *s, double *c)
// each over gl_lanes lanes (Mask: strips::Mask, a double's width). The
// arithmetic is the documented functions' own inline arithmetic, in the same
// order, and the sums run in the quadrature's one traversal (gl_product_rule),
// so with the C library's functions the bits are those of the reference path.
//
// Reuse that keeps the bits, each because a deterministic function of equal
// arguments gives equal results:
// - a rim strip whose sinkage equals the previous strip's bit for bit has the
//   same angles, points, sines, cosines, normal stress and lateral slip speed
//   (every strip of an untilted wheel);
// - a mobilisation exponent array equal to the previous strip's reuses its
//   exponentials;
// - the minus side reuses the plus side's sines and cosines when the two
//   sinkages are equal.
// Work skipped because its terms are +-0, which leave a sum that starts at +0
// unchanged (gl_product_rule):
// - a sidewall point whose signed strength tan(phi)|p|sgn(j) is +-0 and whose
//   mobilisation exponent is not positive has a finite factor (1 - e), so its
//   shear is +-0 whatever e is: e is not formed and 0 stands in for it, which
//   changes at most the sign of zero terms;
// - a sidewall strip that provably pushes nowhere into the soil (the lateral
//   speed bounded over the whole circle) has p = +-0 and shear +-0 at every
//   point while every factor is finite; it is not evaluated.
#ifndef WHEELSOIL_FULL_MODEL_STRIP_EVALUATOR_H
#define WHEELSOIL_FULL_MODEL_STRIP_EVALUATOR_H

#include <cmath>
#include <cstring>

#include "arith_namespace.h"
#include "contact_geometry.h"
#include "gauss_legendre.h"
#include "rim_loads.h"
#include "rim_stress.h"
#include "sidewall_loads.h"
#include "wheel_soil_model.h"

namespace wheelsoil::detail::full_model {
inline namespace WHEELSOIL_ARITH_NAMESPACE {
namespace strips {

constexpr int points = 30;  // every integral's count in each direction

// A lane's flag: 1 where a function is to be taken (a double's width, so that
// flags and values share the vector unit's lanes).
using Mask = long long;

// Whether two doubles, or two strips of lanes, hold the same bits.
inline bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }
inline bool same_lanes(const double *a, const double *b) {
  return std::memcmp(a, b, gl_lanes * sizeof(double)) == 0;
}

// Quantities formed once per call and shared by the rim and both sides.
struct CallConstants {
  double slip;          // s, or the undefined-slip marker 2
  double outer_k;       // K_o
  double band_k;        // K_b
  double tan_phi;       // tan(phi)
  double passive_k;     // k = tan(phi/2 + 0.7853981625)
  bool outer_only;      // lambda exactly 1: the band is not evaluated
  bool shared_modulus;  // kx and ky the same bits: F(j, ky) = F(j, kx)
};

// The per-call constants of state m, with the functions of Math.
template <class Math>
CallConstants call_constants(const ModelState &m) {
  CallConstants c;
  c.slip = slip_ratio(m);
  c.outer_k = outer_modulus(m, Math::pow(m.radius, m.sinkage_exponent));
  c.band_k = band_modulus(m, Math::pow(band_radius(m), m.sinkage_exponent));
  c.tan_phi = Math::tan(m.friction_angle);
  c.passive_k = Math::tan(passive_angle(m));
  c.outer_only = m.band_ratio == 1;
  c.shared_modulus = same_bits(m.kx, m.ky);
  return c;
}

// exp over a strip's lanes, kept for the next strip: equal exponents (bit for
// bit) give equal values.
template <class Math>
class ExpMemo {
 public:
  const double *operator()(const double *x) {
    if (!valid_ || !same_lanes(x, arg_)) {
      std::memcpy(arg_, x, sizeof arg_);
      Math::exp(arg_, nullptr, value_);
      valid_ = true;
    }
    return value_;
  }

 private:
  bool valid_ = false;
  alignas(64) double arg_[gl_lanes];
  alignas(64) double value_[gl_lanes];
};

// The rim: y over [-b/2, b/2], theta from exit_angle(y) to entry_angle(y).
template <class Math>
class RimStrips {
 public:
  RimStrips(const ModelState &m, const CallConstants &c) : m_(m), c_(c) {}

  // The contact angles of every strip, their elementary functions together.
  void outer_points(const double *y, int n) {
    const ModelState &m = m_;
    const double s = c_.slip;
    alignas(64) double arg[gl_lanes];
    for (int i = 0; i < gl_lanes; ++i) {
      z_[i] = sinkage_at(m, y[i < n ? i : n - 1]);
      arg[i] = entry_cosine(m, z_[i]);
    }
    Math::acos(arg, nullptr, theta1_);
    for (int i = 0; i < gl_lanes; ++i) {
      theta_m_[i] = max_stress_angle(m, s, theta1_[i]);
      theta2_[i] = exit_angle(m, s, theta1_[i]);
    }
    Math::sincos(theta1_, sin1_, cos1_);
    if (c_.outer_only) return;
    alignas(64) Mask contact[gl_lanes];
    for (int i = 0; i < gl_lanes; ++i) {
      contact[i] = band_in_contact(m, z_[i]);
      arg[i] = band_entry_cosine(m, z_[i]);
    }
    Math::acos(arg, contact, theta_b1_);  // 0 where the band is not in contact
    for (int i = 0; i < gl_lanes; ++i) {
      theta_bm_[i] = band_max_stress_angle(m, s, theta_b1_[i]);
      theta_b2_[i] = band_exit_angle(s, theta2_[i], theta_b1_[i]);
    }
    Math::cos(theta_b1_, nullptr, cos_b1_);
  }

  // The strip's limits, formed in outer_points.
  double lower(int i, double) const { return theta2_[i]; }  // exit_angle(y)
  double upper(int i, double) const { return theta1_[i]; }  // entry_angle(y)

  // The six load densities at the strip's points.
  bool values(int i, double y, const double *t, double (*f)[gl_lanes]) {
    if (!(have_strip_ && same_bits(z_[i], strip_sinkage_))) y_free_terms(i, t);
    const ModelState &m = m_;
    const double theta1 = theta1_[i], cos1 = cos1_[i], sin1 = sin1_[i];
    alignas(64) double v_t[gl_lanes], v[gl_lanes], jx[gl_lanes], jy[gl_lanes];
    alignas(64) double ax[gl_lanes], ay[gl_lanes];
    for (int j = 0; j < gl_lanes; ++j) {
      v_t[j] = slip_velocity_t(m, y, cos_[j], sin_[j]);
      v[j] = slip_speed(v_t[j], v_l_[j]);
      // shear_displacement_x and _y, the strip's contact decided once
      jx[j] = displacement_from_numerator(
          displacement_numerator_x(m, y, theta1, cos1, sin1, t[j], cos_[j], sin_[j]), m.wy);
      jy[j] = displacement_from_numerator(
          displacement_numerator_y(m, theta1, cos1, sin1, t[j], cos_[j], sin_[j]), m.wy);
    }
    if (strip_without_contact(theta1))
      for (int j = 0; j < gl_lanes; ++j) jx[j] = jy[j] = 0.0;
    alignas(64) double jt[gl_lanes];
    for (int j = 0; j < gl_lanes; ++j) {
      jt[j] = total_displacement(jx[j], jy[j]);
      ax[j] = mobilisation_exponent(jt[j], m.kx);
    }
    if (!c_.shared_modulus)
      for (int j = 0; j < gl_lanes; ++j) ay[j] = mobilisation_exponent(jt[j], m.ky);
    const double *ex = exp_x_(ax);
    const double *ey = c_.shared_modulus ? ex : exp_y_(ay);
    const double r = m.radius;
    for (int j = 0; j < gl_lanes; ++j) {
      const double tau_max = shear_strength(sigma_[j], c_.tan_phi, m.cohesion);
      RimPoint pt;
      pt.y = y;
      pt.cos_theta = cos_[j];
      pt.sin_theta = sin_[j];
      pt.sigma = sigma_[j];
      pt.tau_x = shear_component(v_t[j], v[j], tau_max, mobilisation_law(m.kr, ex[j]));
      pt.tau_y = shear_component(v_l_[j], v[j], tau_max, mobilisation_law(m.kr, ey[j]));
      f[0][j] = rim_fx_density(pt, r);
      f[1][j] = rim_fy_density(pt, r);
      f[2][j] = rim_fz_density(pt, r);
      f[3][j] = rim_mx_density(pt, r);
      f[4][j] = rim_my_density(pt, r);
      f[5][j] = rim_mz_density(pt, r);
    }
    return true;
  }

 private:
  // sigma of one surface at the strip's points (Bekker, rear mapped onto front).
  void surface(double modulus, double theta1, double cos1, double theta_m, double theta2,
               const double *t, double *sigma) const {
    alignas(64) Mask front[gl_lanes], rear[gl_lanes], region[gl_lanes];
    alignas(64) double theta_e[gl_lanes], cos_e[gl_lanes], ratio[gl_lanes], power[gl_lanes];
    for (int j = 0; j < gl_lanes; ++j) {
      front[j] = in_front_region(theta1, theta_m, t[j]);
      rear[j] = !front[j] && in_rear_region(theta_m, theta2, t[j]);
      region[j] = front[j] || rear[j];
    }
    for (int j = 0; j < gl_lanes; ++j)
      theta_e[j] = rear_equivalent_angle(theta1, theta_m, theta2, t[j]);
    Math::cos(theta_e, rear, cos_e);
    for (int j = 0; j < gl_lanes; ++j) ratio[j] = depth_ratio(front[j], cos_[j], cos_e[j], cos1);
    Math::pow(ratio, m_.sinkage_exponent, region, power);
    for (int j = 0; j < gl_lanes; ++j) sigma[j] = surface_stress(region[j], power[j], modulus);
  }

  // The terms of strip i that do not depend on y: sines, cosines, sigma, v_l.
  void y_free_terms(int i, const double *t) {
    Math::sincos(t, sin_, cos_);
    surface(c_.outer_k, theta1_[i], cos1_[i], theta_m_[i], theta2_[i], t, sigma_);
    if (!c_.outer_only) {
      alignas(64) double band[gl_lanes];
      surface(c_.band_k, theta_b1_[i], cos_b1_[i], theta_bm_[i], theta_b2_[i], t, band);
      for (int j = 0; j < gl_lanes; ++j)
        sigma_[j] = blended_normal_stress(m_.band_ratio, band[j], sigma_[j]);
    }
    for (int j = 0; j < gl_lanes; ++j) v_l_[j] = slip_velocity_l(m_, cos_[j], sin_[j]);
    strip_sinkage_ = z_[i];
    have_strip_ = true;
  }

  const ModelState &m_;
  const CallConstants &c_;
  // per strip
  alignas(64) double z_[gl_lanes], theta1_[gl_lanes], theta_m_[gl_lanes], theta2_[gl_lanes];
  alignas(64) double sin1_[gl_lanes], cos1_[gl_lanes];
  alignas(64) double theta_b1_[gl_lanes], theta_bm_[gl_lanes], theta_b2_[gl_lanes];
  alignas(64) double cos_b1_[gl_lanes];
  // per point of the last strip whose y-free terms were formed
  bool have_strip_ = false;
  double strip_sinkage_ = 0;
  alignas(64) double sin_[gl_lanes], cos_[gl_lanes], sigma_[gl_lanes], v_l_[gl_lanes];
  ExpMemo<Math> exp_x_, exp_y_;
};

// The sines and cosines of a side's points, strip by strip, kept for the other
// side: equal sinkages give the same circles and points.
struct SideGrid {
  double sinkage;              // z of the side that filled it (m)
  bool filled[gl_max_points];  // strip i's values are present
  alignas(64) double sin[gl_max_points][gl_lanes];
  alignas(64) double cos[gl_max_points][gl_lanes];
  // Makes the grid the side's of sinkage z, empty.
  void claim(double z) {
    sinkage = z;
    for (bool &f : filled) f = false;
  }
};

// Slack on |sin|, |cos| <= 1 for a last-bit excess of the functions.
constexpr double unit_slack = 1.0000001;
// Products below this magnitude cannot overflow in the displacement numerators.
constexpr double safe_magnitude = 1e300;

// Whether v*y >= 0 and |v| > 1e-5 fail for every v in [lo, hi], the computed
// product included (v*y rounds monotonically in v).
inline bool never_pushes(double lo, double hi, double y) {
  const double dead = side_speed_dead_band;
  if (y > 0) return hi <= dead && -dead * y < 0;
  if (y < 0) return lo >= -dead && dead * y < 0;
  return lo >= -dead && hi <= dead;
}

// One sidewall: rho over [r - z, r], theta over [-theta_e, theta_e].
template <class Math>
class SideStrips {
 public:
  SideStrips(const ModelState &m, const CallConstants &c, double y_s, double z, SideGrid &grid)
      : m_(m), c_(c), y_(y_s), z_(z), grid_(grid) {
    const double wxy = m.wx * y_s + m.vz, wzy = m.wz * y_s - m.vx;
    // every factor of a point's terms finite and no displacement NaN, so that
    // a point without pressure contributes only +-0
    finite_ = std::isfinite(c.tan_phi) && m.kx > 0 && m.kx < INFINITY && std::isfinite(m.wy) &&
              std::isfinite(y_s) && std::fabs(m.radius) <= safe_magnitude && z <= safe_magnitude &&
              std::fabs(wxy) <= safe_magnitude && std::fabs(wzy) <= safe_magnitude;
  }

  // The entry angle of every circle, its elementary functions together.
  void outer_points(const double *rho, int n) {
    alignas(64) double arg[gl_lanes];
    for (int i = 0; i < gl_lanes; ++i) {
      rho_[i] = rho[i < n ? i : n - 1];
      arg[i] = side_entry_cosine(m_, z_, rho_[i]);
    }
    Math::acos(arg, nullptr, theta_e_);
    Math::sincos(theta_e_, sin_e_, cos_e_);
  }

  // The circle's limits, -theta_e and theta_e.
  double lower(int i, double) const { return side_lower_limit(z_, theta_e_[i]); }
  double upper(int i, double) const { return side_upper_limit(z_, theta_e_[i]); }

  // The six load densities at the circle's points; false for a circle
  // without pressure anywhere.
  bool values(int i, double rho, const double *t, double (*f)[gl_lanes]) {
    if (unloaded(i, rho)) return false;
    const ModelState &m = m_;
    const double *sn, *cs;
    alignas(64) double own_sin[gl_lanes], own_cos[gl_lanes];
    if (same_bits(grid_.sinkage, z_)) {
      if (!grid_.filled[i]) Math::sincos(t, grid_.sin[i], grid_.cos[i]);
      grid_.filled[i] = true;
      sn = grid_.sin[i];
      cs = grid_.cos[i];
    } else {
      Math::sincos(t, own_sin, own_cos);
      sn = own_sin;
      cs = own_cos;
    }
    SideCircle circle;
    circle.sinkage = z_;
    circle.rho = rho;
    circle.theta_e = theta_e_[i];
    circle.cos_theta_e = cos_e_[i];
    circle.sin_theta_e = sin_e_[i];
    alignas(64) double p[gl_lanes], jt[gl_lanes], jr[gl_lanes];
    alignas(64) double st[gl_lanes], sr[gl_lanes], xt[gl_lanes], xr[gl_lanes];
    alignas(64) Mask need_t[gl_lanes], need_r[gl_lanes];
    const double y = y_, z = z_, passive_k = c_.passive_k, tan_phi = c_.tan_phi;
    // side_pressure, its per-circle choices taken once
    for (int j = 0; j < gl_lanes; ++j)
      p[j] = side_passive_pressure(m, y, z, rho, cs[j], sn[j], passive_k);
    if (side_on_band(m, rho)) {
      const double band_factor = side_band_factor(m, rho);
      for (int j = 0; j < gl_lanes; ++j) p[j] = side_banded_pressure(p[j], band_factor);
    }
    if (side_pressure_negated(y))
      for (int j = 0; j < gl_lanes; ++j) p[j] = -p[j];
    for (int j = 0; j < gl_lanes; ++j) {
      // side_tangential_disp and side_radial_disp, the circle's soil decided once
      jt[j] = displacement_from_numerator(
          side_tangential_numerator(m, y, circle, t[j], cs[j], sn[j]), m.wy);
      jr[j] = displacement_from_numerator(side_radial_numerator(m, y, circle, cs[j], sn[j]), m.wy);
    }
    if (!side_circle_in_soil(circle))
      for (int j = 0; j < gl_lanes; ++j) jt[j] = jr[j] = 0.0;
    for (int j = 0; j < gl_lanes; ++j) {
      st[j] = side_shear_strength(tan_phi, p[j], jt[j]);
      sr[j] = side_shear_strength(tan_phi, p[j], jr[j]);
      xt[j] = side_shear_exponent(m, jt[j]);
      xr[j] = side_shear_exponent(m, jr[j]);
    }
    // (1 - e) is finite for an exponent <= 0: a +-0 strength gives a +-0 shear
    for (int j = 0; j < gl_lanes; ++j) {
      need_t[j] = !(st[j] == 0 && xt[j] <= 0);
      need_r[j] = !(sr[j] == 0 && xr[j] <= 0);
    }
    alignas(64) double et[gl_lanes], er[gl_lanes];
    Math::exp(xt, need_t, et);
    Math::exp(xr, need_r, er);
    for (int j = 0; j < gl_lanes; ++j) {
      SidePoint pt;
      pt.y = y_;
      pt.rho = rho;
      pt.cos_theta = cs[j];
      pt.sin_theta = sn[j];
      pt.tau_t = side_shear_from(et[j], st[j]);
      pt.tau_r = side_shear_from(er[j], sr[j]);
      pt.p = p[j];
      f[0][j] = side_fx_density(pt);
      f[1][j] = side_fy_density(pt);
      f[2][j] = side_fz_density(pt);
      f[3][j] = side_mx_density(pt);
      f[4][j] = side_my_density(pt);
      f[5][j] = side_mz_density(pt);
    }
    return true;
  }

 private:
  // Whether every point of circle i has p = +-0 and finite factors, so that
  // its terms are all +-0: the lateral speed sin(theta)(wz rho) + vy +
  // cos(theta)(wx rho) lies in [lo, hi] for any theta, and no speed in it
  // pushes the side into the soil.
  bool unloaded(int i, double rho) const {
    const ModelState &m = m_;
    if (!(finite_ && std::isfinite(rho) && std::isfinite(theta_e_[i]) &&
          std::fabs(m.wy * rho) <= safe_magnitude))
      return false;
    if (side_on_band(m, rho) && !std::isfinite(side_band_factor(m, rho))) return false;
    const double a = std::fabs(m.wz * rho) * unit_slack;
    const double c = std::fabs(m.wx * rho) * unit_slack;
    return never_pushes((m.vy - a) - c, (m.vy + a) + c, y_);
  }

  const ModelState &m_;
  const CallConstants &c_;
  const double y_, z_;
  SideGrid &grid_;
  bool finite_;
  alignas(64) double rho_[gl_lanes], theta_e_[gl_lanes], sin_e_[gl_lanes], cos_e_[gl_lanes];
};

// The six integrals of the side at y_s; zeros where the side is not sunk. The
// first sunk side claims the grid of sines and cosines.
template <class Math>
void side_loads(const ModelState &m, const CallConstants &c, double y_s, SideGrid &grid,
                bool &claimed, double (&sum)[6]) {
  const double z = sinkage_at(m, y_s);
  if (!(z > 0)) {
    for (double &s : sum) s = 0.0;
    return;
  }
  if (!claimed) grid.claim(z);
  claimed = true;
  SideStrips<Math> strips(m, c, y_s, z, grid);
  gl_product_rule(m.radius - z, m.radius, points, points, strips, sum);
}

// The 18 outputs of state m, with the elementary functions of Math.
template <class Math>
void evaluate(const ModelState &state, WheelSoilOutput *out) {
  const ModelState m = state;  // a local copy: no output can alias it
  const CallConstants c = call_constants<Math>(m);
  double rim[6], plus[6], minus[6];
  RimStrips<Math> rim_strips(m, c);
  gl_product_rule(m.width * (-0.5), m.width * 0.5, points, points, rim_strips, rim);
  SideGrid grid;
  bool claimed = false;
  side_loads<Math>(m, c, plus_side(m), grid, claimed, plus);
  side_loads<Math>(m, c, minus_side(m), grid, claimed, minus);
  // finish_outputs, here so that no flag of the build reaches even the bits
  // of a NaN (which operand of minus + plus a NaN comes from)
  double *slot = &out->rim_fx;
  for (int k = 0; k < 6; ++k) {
    slot[k] = rim[k];
    slot[6 + k] = minus[k] + plus[k];
    slot[12 + k] = rim[k];
  }
}

}  // namespace strips
}  // namespace WHEELSOIL_ARITH_NAMESPACE
}  // namespace wheelsoil::detail::full_model

#endif
