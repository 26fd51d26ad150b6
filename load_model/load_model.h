// The simplified vertical-load model: the per-call record, the model state
// every model function reads, and the driver. The input vector is the public
// record wheelsoil::LoadModelInput.
//
// Rim angles are in radians from the downward vertical through the wheel
// centre, positive towards the front. No unit is converted; SI is used in the
// comments below.
#ifndef WHEELSOIL_LOAD_MODEL_LOAD_MODEL_H
#define WHEELSOIL_LOAD_MODEL_LOAD_MODEL_H

#include <wheelsoil/records.hpp>

namespace wheelsoil::detail::load_model {

// The working record of one call: the inputs followed by the result.
struct LoadModelCall {
  LoadModelInput input;
  double load;  // the vertical load the soil carries (N)
};
static_assert(sizeof(LoadModelCall) == 21 * sizeof(double), "21 slots");

// The parameters of the current evaluation: each input slot unchanged, then
// the three quantities derived from them once per call.
struct LoadModelState {
  double band_radius, width, band_ratio, radius, spare_4;
  double cohesion, friction_angle, sinkage_exponent, k_c, k_phi, shear_modulus;
  double rim_entry_angle, band_entry_angle, front_angle, peak_stress_angle, rear_angle;
  double slip, slip_angle, spare_18, spare_19;
  double modulus_sum;      // k = k_c/b + k_phi, the combined pressure-sinkage modulus
  double front_mid_angle;  // theta_b, between front_angle and peak_stress_angle (rad)
  double rear_mid_angle;   // theta_d, between peak_stress_angle and rear_angle (rad)
};
static_assert(sizeof(LoadModelState) == 23 * sizeof(double), "23 parameters");

// The module's state: written only by setup_load_state, at the start of every
// call, and read by the documented coordinate-only model functions.
extern LoadModelState load_model_state;

// One complete evaluation: output[0] = the load of input[0..19].
void run_load_model(double *output, const double *input);

// Fills load_model_state from the call's inputs and clears its load.
void setup_load_state(LoadModelCall *call);

// The state of the given inputs, with k, theta_b and theta_d formed.
inline LoadModelState make_state(const LoadModelInput &in) {
  LoadModelState m;
  m.band_radius = in.band_radius;
  m.width = in.width;
  m.band_ratio = in.band_ratio;
  m.radius = in.radius;
  m.spare_4 = in.spare_4;
  m.cohesion = in.cohesion;
  m.friction_angle = in.friction_angle;
  m.sinkage_exponent = in.sinkage_exponent;
  m.k_c = in.k_c;
  m.k_phi = in.k_phi;
  m.shear_modulus = in.shear_modulus;
  m.rim_entry_angle = in.rim_entry_angle;
  m.band_entry_angle = in.band_entry_angle;
  m.front_angle = in.front_angle;
  m.peak_stress_angle = in.peak_stress_angle;
  m.rear_angle = in.rear_angle;
  m.slip = in.slip;
  m.slip_angle = in.slip_angle;
  m.spare_18 = in.spare_18;
  m.spare_19 = in.spare_19;
  // Bekker: k_c/b + k_phi, the quotient first.
  m.modulus_sum = in.k_c / in.width + in.k_phi;
  m.front_mid_angle = (in.front_angle + in.peak_stress_angle) * 0.5;
  m.rear_mid_angle = (in.peak_stress_angle + in.rear_angle) * 0.5;
  return m;
}

}  // namespace wheelsoil::detail::load_model

#endif
