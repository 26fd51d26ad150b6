#include "../api/strict_fp.h"

#include "wheel_soil_model.h"

#include <cstring>

#include "contact_geometry.h"
#include "gauss_legendre.h"
#include "rim_loads.h"
#include "sidewall_loads.h"

namespace wheelsoil::detail::full_model {

ModelState model_state;

ModelState make_state(const WheelSoilInput &in) {
  ModelState m;
  m.vx = in.vx;
  m.vy = in.vy;
  m.vz = in.vz;
  m.wx = in.wx;
  m.wy = in.wy;
  m.wz = in.wz;
  m.radius = in.radius;
  m.width = in.width;
  m.band_ratio = in.band_ratio;
  m.band_height = in.band_height;
  m.soil_density = in.soil_density;
  m.cohesion = in.cohesion;
  m.friction_angle = in.friction_angle;
  m.sinkage_exponent = in.sinkage_exponent;
  m.k_c = in.k_c;
  m.k_phi = in.k_phi;
  m.kx = in.kx;
  m.ky = in.ky;
  m.kr = in.kr;
  m.tilt_sine = in.tilt_sine;
  m.centre_height = in.centre_height;
  m.c1 = in.c1;
  m.c2 = in.c2;
  m.c3 = in.c3;
  m.c4 = in.c4;
  m.gravity = in.gravity;
  return m;
}

namespace {

constexpr int points = 30;

// One side's six integrals, or six zeros where the side is not sunk.
void reference_side(double y_s, LimitFunction lower, LimitFunction upper,
                    const IntegrandFunction (&integrands)[6], double (&loads)[6]) {
  const double z = sinkage_at(y_s);
  const double r = model_state.radius;
  for (int k = 0; k < 6; ++k) {
    loads[k] =
        z > 0 ? gauss_legendre_2d(r - z, r, lower, upper, integrands[k], points, points) : 0.0;
  }
}

}  // namespace

void finish_outputs(WheelSoilOutput *out, const double (&plus)[6], const double (&minus)[6]) {
  double *slot = &out->rim_fx;
  for (int k = 0; k < 6; ++k) {
    slot[6 + k] = minus[k] + plus[k];
    slot[12 + k] = slot[k];
  }
}

void reference_loads(WheelSoilCall *call) {
  model_state = make_state(call->input);
  double *slot = &call->output.rim_fx;
  const double b = model_state.width;

  static constexpr IntegrandFunction rim[6] = {rim_fx_integrand, rim_fy_integrand,
                                               rim_fz_integrand, rim_mx_integrand,
                                               rim_my_integrand, rim_mz_integrand};
  for (int k = 0; k < 6; ++k) {
    slot[k] =
        gauss_legendre_2d(b * (-0.5), b * 0.5, exit_angle, entry_angle, rim[k], points, points);
  }

  static constexpr IntegrandFunction plus_side[6] = {
      side_fx_integrand_plus, side_fy_integrand_plus, side_fz_integrand_plus,
      side_mx_integrand_plus, side_my_integrand_plus, side_mz_integrand_plus};
  static constexpr IntegrandFunction minus_side[6] = {
      side_fx_integrand_minus, side_fy_integrand_minus, side_fz_integrand_minus,
      side_mx_integrand_minus, side_my_integrand_minus, side_mz_integrand_minus};
  double plus[6], minus[6];
  reference_side(b * 0.5, side_lower_limit_plus, side_upper_limit_plus, plus_side, plus);
  reference_side(b * (-0.5), side_lower_limit_minus, side_upper_limit_minus, minus_side, minus);
  finish_outputs(&call->output, plus, minus);
}

// Copies the inputs into a record on the stack, evaluates, copies the outputs.
template <void (*driver)(WheelSoilCall *)>
void run_with(double *output, const double *input) {
  WheelSoilCall call;
  std::memcpy(&call.input, input, sizeof call.input);
  std::memset(&call.output, 0, sizeof call.output);
  driver(&call);
  std::memcpy(output, &call.output, sizeof call.output);
}

void run_model_reference(double *output, const double *input) {
  run_with<reference_loads>(output, input);
}

void evaluate_loads(WheelSoilCall *call) {
  model_state = make_state(call->input);
  evaluate(model_state, &call->output);
}

void run_model(double *output, const double *input) { run_with<evaluate_loads>(output, input); }

}  // namespace wheelsoil::detail::full_model
