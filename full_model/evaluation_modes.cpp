#include "../api/strict_fp.h"

#include "evaluation_modes.h"

#include <algorithm>
#include <utility>
#include <cmath>

#include "gauss_legendre.h"
#include "rim_loads.h"
#include "rim_point.h"
#include "vector_loads.h"

namespace wheelsoil::detail::full_model {

namespace {

constexpr int points = 30;

// The cut points of a strip from lo to hi: the angles strictly inside it
// where the normal stress has a kink, in the order met going from lo to hi.
int strip_cuts(const ModelState &m, const StripAngles &a, double lo, double hi, double (&cut)[4]) {
  double candidate[4] = {a.theta_m, a.theta_bm, a.theta_b1, a.theta_b2};
  const int candidates = m.band_ratio == 1 ? 1 : 4;  // the band only where it is evaluated
  const double low = std::min(lo, hi), high = std::max(lo, hi);
  int n = 0;
  for (int k = 0; k < candidates; ++k) {
    const double t = candidate[k];
    if (!(t > low && t < high)) continue;
    bool seen = false;
    for (int i = 0; i < n; ++i) seen = seen || cut[i] == t;
    if (!seen) cut[n++] = t;
  }
  // insertion sort, ascending from lo towards hi (descending if hi < lo)
  const bool ascending = lo <= hi;
  for (int i = 1; i < n; ++i)
    for (int j = i; j > 0 && (ascending ? cut[j] < cut[j - 1] : cut[j] > cut[j - 1]); --j)
      std::swap(cut[j], cut[j - 1]);
  return n;
}

}  // namespace

bool travels_backward(const WheelSoilInput &in) { return in.vx < 0 || (in.vx == 0 && in.wy < 0); }

WheelSoilInput mirrored_input(const WheelSoilInput &in) {
  WheelSoilInput m = in;
  m.vx = -in.vx;  // velocity: a vector
  m.wy = -in.wy;  // angular velocity: a pseudovector, its x part kept
  m.wz = -in.wz;
  return m;
}

void mirror_loads(WheelSoilOutput *out) {
  out->rim_fx = -out->rim_fx;
  out->rim_my = -out->rim_my;
  out->rim_mz = -out->rim_mz;
  out->side_fx = -out->side_fx;
  out->side_my = -out->side_my;
  out->side_mz = -out->side_mz;
  out->rim_fx_copy = -out->rim_fx_copy;
  out->rim_my_copy = -out->rim_my_copy;
  out->rim_mz_copy = -out->rim_mz_copy;
}

void split_rule_rim_loads(const ModelState &m, double (&rim)[6]) {
  const RimConstants c = rim_constants(m);
  const double r = m.radius;
  const double a = m.width * (-0.5), b = m.width * 0.5, d = b - a;
  // The stresses of a strip depend on y through its sinkage and, along the
  // slip velocity and the displacement, through wx y and wz y alone: with wx
  // and wz zero, a strip whose sinkage equals the previous one's (every strip
  // of an untilted wheel) has the same pieces and the same point stresses.
  const bool y_free = m.wx == 0 && m.wz == 0;
  bool have = false;
  double cached_sinkage = 0;
  int pieces = 0;
  double piece_length[5];
  RimPointStress q[5][points];
  double s[6] = {0, 0, 0, 0, 0, 0};
  for (int i = 0; i < points; ++i) {
    const double y = gl_abscissa(d, gl_nodes[points][i], b, a);
    const RimStrip strip = rim_strip(m, c, y);
    if (!(have && y_free && strip.angles.sinkage == cached_sinkage &&
          std::signbit(strip.angles.sinkage) == std::signbit(cached_sinkage))) {
      const double lo = strip.angles.theta2, hi = strip.angles.theta1;
      double cut[4];
      const int n_cuts = strip_cuts(m, strip.angles, lo, hi, cut);
      // pieces [lo, cut 0], [cut 0, cut 1], ..., [last cut, hi]
      pieces = n_cuts + 1;
      for (int k = 0; k < pieces; ++k) {
        const double p_lo = k == 0 ? lo : cut[k - 1];
        const double p_hi = k == n_cuts ? hi : cut[k];
        piece_length[k] = p_hi - p_lo;
        for (int j = 0; j < points; ++j)
          q[k][j] = rim_point_stress(m, c, strip,
                                     gl_abscissa(piece_length[k], gl_nodes[points][j], p_hi, p_lo));
      }
      have = true;
      cached_sinkage = strip.angles.sinkage;
    }
    for (int k = 0; k < pieces; ++k) {
      const double p = gl_strip_factor(piece_length[k], d);
      for (int j = 0; j < points; ++j) {
        RimPoint pt;
        pt.y = y;
        pt.cos_theta = q[k][j].cos_theta;
        pt.sin_theta = q[k][j].sin_theta;
        pt.sigma = q[k][j].sigma;
        pt.tau_x = q[k][j].tau_x;
        pt.tau_y = q[k][j].tau_y;
        const double w = gl_point_weight(p, gl_weights[points][i], gl_weights[points][j]);
        const double f[6] = {rim_fx_density(pt, r), rim_fy_density(pt, r), rim_fz_density(pt, r),
                             rim_mx_density(pt, r), rim_my_density(pt, r), rim_mz_density(pt, r)};
        for (int l = 0; l < 6; ++l) s[l] = s[l] + f[l] * w;
      }
    }
  }
  for (int l = 0; l < 6; ++l) rim[l] = s[l];
}

void evaluate_input(const WheelSoilInput &input, const EvaluationMode &mode, WheelSoilOutput *out) {
  const bool mirror = mode.direction_aware && travels_backward(input);
  const WheelSoilInput in = mirror ? mirrored_input(input) : input;
  const ModelState m = make_state(in);
  if (mode.split_rule && mode.math == MathFunctions::vector) {
    double *slot = &out->rim_fx;
    for (int k = 0; k < 18; ++k) slot[k] = NAN;
    return;
  }
  if (mode.math == MathFunctions::vector)
    vector_loads(m, out);
  else
    evaluate(m, out);
  if (mode.split_rule) {
    double rim[6];
    split_rule_rim_loads(m, rim);
    double *slot = &out->rim_fx;
    for (int k = 0; k < 6; ++k) slot[k] = slot[12 + k] = rim[k];
  }
  if (mirror) mirror_loads(out);
}

}  // namespace wheelsoil::detail::full_model
