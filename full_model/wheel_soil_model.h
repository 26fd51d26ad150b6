// The full wheel-soil model: its input and output vectors, the per-call state
// every model function reads, and the driver.
//
// Frame: right-handed axes at the wheel centre, x forward (direction of
// travel), y along the axle, z up. y is also the lateral position across the
// wheel, 0 at its mid-plane. The rim angle theta is measured from the downward
// vertical through the centre, positive towards the front. All angles are in
// radians; no unit is converted (SI is used in the comments below).
#ifndef WHEELSOIL_FULL_MODEL_WHEEL_SOIL_MODEL_H
#define WHEELSOIL_FULL_MODEL_WHEEL_SOIL_MODEL_H

#include "vector_unit.h"

// The 29 input slots, in storage order.
struct WheelSoilInput {
  double vx;                  // 0: wheel-centre velocity along x (m/s)
  double vy;                  // 1: wheel-centre velocity along y (m/s)
  double vz;                  // 2: wheel-centre velocity along z (m/s)
  double wx;                  // 3: angular velocity about x (rad/s)
  double wy;                  // 4: angular velocity about the axle, the spin (rad/s)
  double wz;                  // 5: angular velocity about z (rad/s)
  double radius;              // 6: r, outer rim radius (m)
  double width;               // 7: b, wheel width (m)
  double band_ratio;          // 8: lambda, weight of the outer-surface stress in the blend
  double band_height;         // 9: h_b, depth of the band surface below the rim (m)
  double soil_density;        // 10: gamma, soil density (kg/m^3)
  double cohesion;            // 11: c, soil cohesion (Pa)
  double friction_angle;      // 12: phi, internal friction angle (rad)
  double sinkage_exponent;    // 13: n, pressure-sinkage exponent
  double k_c;                 // 14: cohesive modulus (N/m^(n+1))
  double k_phi;               // 15: frictional modulus (N/m^(n+2))
  double kx;                  // 16: longitudinal (and sidewall) shear modulus (m)
  double ky;                  // 17: lateral shear modulus (m)
  double kr;                  // 18: shear-law selector: 1 plain exponential, else hump law with residual kr
  double tilt_sine;           // 19: s_t, sine of the tilt about x, |s_t| < 1
  double centre_height;       // 20: h_c, wheel-centre height above the soil surface (m)
  double exit_sinkage_ratio;  // 21: read, no effect
  double c1;                  // 22: constant term of the maximum-stress angle factor
  double c2;                  // 23: slip term of the maximum-stress angle factor
  double c3;                  // 24: constant term of the exit angle factor
  double c4;                  // 25: slip term of the exit angle factor
  double spare_26;            // 26: read, no effect
  double spare_27;            // 27: read, no effect
  double gravity;             // 28: g, gravitational acceleration; |g| is used (m/s^2)
};
static_assert(sizeof(WheelSoilInput) == 29 * sizeof(double), "29 input slots");

// The 18 output slots: loads the soil exerts on the wheel, moments about the
// wheel centre.
struct WheelSoilOutput {
  double rim_fx, rim_fy, rim_fz;     // 0-2: rim forces (N)
  double rim_mx, rim_my, rim_mz;     // 3-5: rim moments (N m)
  double side_fx, side_fy, side_fz;  // 6-8: both sidewalls, forces (N)
  double side_mx, side_my, side_mz;  // 9-11: both sidewalls, moments (N m)
  double rim_fx_copy, rim_fy_copy, rim_fz_copy;  // 12-14: slots 0-2 once more
  double rim_mx_copy, rim_my_copy, rim_mz_copy;  // 15-17: slots 3-5 once more
};
static_assert(sizeof(WheelSoilOutput) == 18 * sizeof(double), "18 output slots");

// The working record of one call: the inputs followed by the outputs.
struct WheelSoilCall {
  WheelSoilInput input;
  WheelSoilOutput output;
};
static_assert(sizeof(WheelSoilCall) == 47 * sizeof(double), "47 slots");

// The 26 model parameters of the current evaluation, each the input slot of
// the same name, unchanged. Slots 21, 26 and 27 have no field.
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

// The module's state: written only by the driver, at the start of every call,
// and read by the documented coordinate-only model functions.
extern ModelState model_state;

// One complete evaluation: output[0..17] from input[0..28].
void run_model(double *output, const double *input);

// Fills model_state from the call's inputs and writes its 18 outputs.
void evaluate_loads(WheelSoilCall *call);

namespace full_model {

// A state holding the given inputs' values (slots 21, 26, 27 dropped).
ModelState state_from_input(const WheelSoilInput &input);

// The 18 outputs of state m, by the fused evaluator: each quantity is computed
// once and shared by all integrals, with the same bits as the reference path.
// Reads only m, so any number may run at once, each with its own state.
void fused_loads(const ModelState &m, WheelSoilOutput *out);

// fused_loads on the given unit (sse2 or avx), for tests and benchmarks: the
// same bits on each; false (and nothing written) for a unit it is not built
// for or this CPU lacks.
bool fused_loads_on(VectorUnit unit, const ModelState &m, WheelSoilOutput *out);

// The 18 outputs by the reference path: one gauss_legendre_2d call per
// integral over the documented coordinate-only functions. Writes model_state.
void reference_loads(WheelSoilCall *call);

// Slots 6-11 as the minus side's integrals plus the plus side's, and slots
// 12-17 as bit copies of slots 0-5.
void finish_outputs(WheelSoilOutput *out, const double (&plus)[6], const double (&minus)[6]);

// run_model by the reference path.
void run_model_reference(double *output, const double *input);

}  // namespace full_model

#endif
