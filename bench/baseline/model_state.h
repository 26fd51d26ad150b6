// The previous evaluator's own copy of the model state (the same 26 fields in
// the same order), so that its inline functions are found for it alone.
#ifndef WHEELSOIL_BENCH_BASELINE_MODEL_STATE_H
#define WHEELSOIL_BENCH_BASELINE_MODEL_STATE_H

#include <wheelsoil/records.hpp>

#include "gauss_legendre.h"

namespace baseline_fused {

struct ModelState {
  double vx, vy, vz, wx, wy, wz;
  double radius, width, band_ratio, band_height;
  double soil_density, cohesion, friction_angle;
  double sinkage_exponent, k_c, k_phi;
  double kx, ky, kr;
  double tilt_sine, centre_height;
  double c1, c2, c3, c4;
  double gravity;
};
static_assert(sizeof(ModelState) == 26 * sizeof(double), "26 parameters");

using wheelsoil::WheelSoilOutput;
using wheelsoil::detail::full_model::gl_abscissa;
using wheelsoil::detail::full_model::gl_nodes;
using wheelsoil::detail::full_model::gl_point_weight;
using wheelsoil::detail::full_model::gl_strip_factor;
using wheelsoil::detail::full_model::gl_weights;

}  // namespace baseline_fused

#endif
