#include "../api/strict_fp.h"

#include "contact_diagnostics.h"

#include "evaluation_modes.h"
#include "gauss_legendre.h"
#include "rim_point.h"

namespace wheelsoil::detail::full_model {

namespace {

// The input to evaluate and whether its results are to be mirrored back.
WheelSoilInput frame_input(const WheelSoilInput &in, bool direction_aware, bool *mirror) {
  *mirror = direction_aware && travels_backward(in);
  return *mirror ? mirrored_input(in) : in;
}

}  // namespace

void contact_geometry(const WheelSoilInput &input, bool direction_aware, ContactGeometry *out) {
  bool mirror;
  const ModelState m = make_state(frame_input(input, direction_aware, &mirror));
  const RimConstants c = rim_constants(m);
  const double sign = mirror ? -1.0 : 1.0;
  out->slip_ratio = c.slip;  // (u - vx)/u and (u - vx)/vx keep their value mirrored
  const double a = m.width * (-0.5), b = m.width * 0.5, d = b - a;
  for (int i = 0; i < contact_strips; ++i) {
    const double y = gl_abscissa(d, gl_nodes[contact_strips][i], b, a);
    const StripAngles s = strip_angles(m, c.slip, y);
    out->y[i] = y;
    out->sinkage[i] = s.sinkage;
    out->entry_angle[i] = sign * s.theta1;
    out->max_stress_angle[i] = sign * s.theta_m;
    out->exit_angle[i] = sign * s.theta2;
    out->band_entry_angle[i] = sign * s.theta_b1;
    out->band_max_stress_angle[i] = sign * s.theta_bm;
    out->band_exit_angle[i] = sign * s.theta_b2;
  }
  out->side_sinkage_plus = sinkage_at(m, m.width * 0.5);
  out->side_sinkage_minus = sinkage_at(m, m.width * (-0.5));
}

void stress_profile(const WheelSoilInput &input, bool direction_aware, const double *y,
                    std::size_t n_y, const double *theta, std::size_t n_theta,
                    const StressProfileOut &out) {
  bool mirror;
  const ModelState m = make_state(frame_input(input, direction_aware, &mirror));
  const RimConstants c = rim_constants(m);
  for (std::size_t i = 0; i < n_y; ++i) {
    const RimStrip strip = rim_strip(m, c, y[i]);
    for (std::size_t j = 0; j < n_theta; ++j) {
      const std::size_t k = i * n_theta + j;
      const RimPointStress p = rim_point_stress(m, c, strip, mirror ? -theta[j] : theta[j]);
      if (out.normal_stress) out.normal_stress[k] = p.sigma;
      if (out.shear_stress_x) out.shear_stress_x[k] = mirror ? -p.tau_x : p.tau_x;
      if (out.shear_stress_y) out.shear_stress_y[k] = p.tau_y;
      if (out.shear_displacement_x) out.shear_displacement_x[k] = mirror ? -p.j_x : p.j_x;
      if (out.shear_displacement_y) out.shear_displacement_y[k] = p.j_y;
    }
  }
}

}  // namespace wheelsoil::detail::full_model
