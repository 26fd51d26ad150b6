// The opt-in ways of evaluating talvor beside the documented one:
//
// Direction-aware evaluation. The model puts the entry angle in front (+x),
// so a wheel travelling in -x is evaluated in the frame mirrored about the
// wheel's y-z plane (x -> -x) and its loads mapped back. The mirror of each
// slot: velocities are vectors (vx negated, vy and vz kept), angular
// velocities pseudovectors (wx kept, wy and wz negated), the tilt is about x
// (kept); forces as vectors (fx negated), moments as pseudovectors (my and mz
// negated); every other slot is a scalar. A wheel travels backwards when
// vx < 0, or when vx is +-0 and wy < 0 (spin in place); at rest (vx and wy
// both +-0) it is not mirrored. Mirroring negates exactly, so the loads of a
// wheel and of its mirror image are each other's mirror, bit for bit.
//
// Split rule. Each rim strip is split at the maximum-stress angles of the
// outer and (where the band is evaluated) the band surface, and at the band's
// entry and exit angles, wherever these lie inside it; the 30-point rule runs
// on each piece. The lateral rule and the sidewall integrals are the default
// path's. The normal stress has a kink at the maximum-stress angle, which one
// 30-point rule across the strip resolves only to about 1e-3 of the load.
#ifndef WHEELSOIL_FULL_MODEL_EVALUATION_MODES_H
#define WHEELSOIL_FULL_MODEL_EVALUATION_MODES_H

#include <wheelsoil/records.hpp>

#include "wheel_soil_model.h"

namespace wheelsoil::detail::full_model {

// The elementary functions an evaluation takes: the C library's (the default,
// run_model's bits) or SLEEF's deterministic vector functions
// (run_model_vector).
enum class MathFunctions { standard, vector };

// How to evaluate; value-initialised, the documented model.
struct EvaluationMode {
  MathFunctions math = MathFunctions::standard;
  bool split_rule = false;       // the rim strips split at their kinks
  bool direction_aware = false;  // travel in -x evaluated mirrored
};

// Whether the wheel travels in -x: vx < 0, or vx +-0 and wy < 0.
bool travels_backward(const WheelSoilInput &in);

// The input seen in the frame mirrored about the y-z plane.
WheelSoilInput mirrored_input(const WheelSoilInput &in);

// Loads mapped between the mirrored frame and the wheel's (the same map both
// ways): the x forces and the y and z moments negated.
void mirror_loads(WheelSoilOutput *out);

// The six rim loads (slots 0-5) of state m by the split rule.
void split_rule_rim_loads(const ModelState &m, double (&rim)[6]);

// The 18 outputs of in, evaluated as mode asks. The split rule takes the C
// library's functions only: with MathFunctions::vector it is not offered (the
// callers refuse that combination), and here writes NaN to all 18 slots.
void evaluate_input(const WheelSoilInput &in, const EvaluationMode &mode, WheelSoilOutput *out);

}  // namespace wheelsoil::detail::full_model

#endif
