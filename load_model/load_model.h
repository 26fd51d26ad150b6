// The simplified vertical-load model: its input vector, the per-call record,
// the model state every model function reads, and the driver.
//
// Rim angles are in radians from the downward vertical through the wheel
// centre, positive towards the front. No unit is converted; SI is used in the
// comments below.
#ifndef WHEELSOIL_LOAD_MODEL_LOAD_MODEL_H
#define WHEELSOIL_LOAD_MODEL_LOAD_MODEL_H

// The 20 input slots, in storage order.
struct LoadModelInput {
  double band_radius;        // 0: r_b, radius of the band term of the normal stress (m)
  double width;              // 1: b, wheel width (m)
  double band_ratio;         // 2: lambda, weight of the rim term; the band term has 1 - lambda
  double radius;             // 3: r, rim radius (m)
  double spare_4;            // 4: read, no effect
  double cohesion;           // 5: c, soil cohesion (Pa)
  double friction_angle;     // 6: phi, internal friction angle (rad)
  double sinkage_exponent;   // 7: n, pressure-sinkage exponent
  double k_c;                // 8: cohesive modulus (N/m^(n+1))
  double k_phi;              // 9: frictional modulus (N/m^(n+2))
  double shear_modulus;      // 10: K, shear deformation modulus (m)
  double rim_entry_angle;    // 11: theta_1, where the rim meets the soil (rad)
  double band_entry_angle;   // 12: theta_1b, where the band meets the soil (rad)
  double front_angle;        // 13: theta_a, front end of the load integral (rad)
  double peak_stress_angle;  // 14: theta_m, angle of maximum normal stress (rad)
  double rear_angle;         // 15: theta_2, exit angle, rear end of the load integral (rad)
  double slip;               // 16: s, longitudinal slip; negative when skidding
  double slip_angle;         // 17: beta, slip angle (rad)
  double spare_18;           // 18: read, no effect
  double spare_19;           // 19: read, no effect
};
static_assert(sizeof(LoadModelInput) == 20 * sizeof(double), "20 input slots");

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

namespace load_model {

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

}  // namespace load_model

#endif
