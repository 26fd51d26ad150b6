// The full wheel-soil model: the per-call record and state every model
// function reads, and the driver. The input and output vectors are the public
// records wheelsoil::WheelSoilInput and wheelsoil::WheelSoilOutput.
//
// Frame: right-handed axes at the wheel centre, x forward (direction of
// travel), y along the axle, z up. y is also the lateral position across the
// wheel, 0 at its mid-plane. The rim angle theta is measured from the downward
// vertical through the centre, positive towards the front. All angles are in
// radians; no unit is converted (SI is used in the comments below).
#ifndef WHEELSOIL_FULL_MODEL_WHEEL_SOIL_MODEL_H
#define WHEELSOIL_FULL_MODEL_WHEEL_SOIL_MODEL_H

#include <wheelsoil/records.hpp>

#include "vector_unit.h"

namespace wheelsoil::detail::full_model {

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

// A state holding the given inputs' values (slots 21, 26, 27 dropped).
ModelState make_state(const WheelSoilInput &input);

// The 18 outputs of state m, by the strip evaluator on the widest vector unit
// it is built for (strip_evaluator.h): the same bits as the reference path.
// Reads only m, so any number may run at once, each with its own state.
void evaluate(const ModelState &m, WheelSoilOutput *out);

// evaluate on the given unit (sse2, avx or avx512), for tests and benchmarks: the
// same bits on each; false (and nothing written) for a unit it is not built
// for or this CPU lacks.
bool evaluate_on(VectorUnit unit, const ModelState &m, WheelSoilOutput *out);

// The 18 outputs by the reference path: one gauss_legendre_2d call per
// integral over the documented coordinate-only functions. Writes model_state.
void reference_loads(WheelSoilCall *call);

// Slots 6-11 as the minus side's integrals plus the plus side's, and slots
// 12-17 as bit copies of slots 0-5.
void finish_outputs(WheelSoilOutput *out, const double (&plus)[6], const double (&minus)[6]);

// run_model by the reference path.
void run_model_reference(double *output, const double *input);

}  // namespace wheelsoil::detail::full_model

#endif
