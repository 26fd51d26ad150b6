// The operating point of a wheel: the centre height at which the soil carries
// a given vertical load, rim_fz + side_fz = W, for the full model's inputs
// otherwise unchanged.
//
// The search runs between the height at which the wheel's lowest edge just
// touches the soil (no sinkage) and the height at which the lowest edge has
// sunk one radius. For a wheel tilted by asin(s_t) the lowest edge is at
// y = -b/2 when s_t > 0 and at y = +b/2 when s_t < 0. Every evaluation uses a
// state of its own (full_model::evaluate), so any number of solves may run
// at once on different threads.
//
// How it searches (load_balance.h):
// - The model is evaluated at one radius of sinkage first; if the soil
//   carries less than W there, the solve ends: load_not_carried, with that
//   force as evaluated (never rebuilt from F - W, which loses it beside a
//   load of 1e21 N).
// - At no sinkage the patch is empty and carries nothing: that end is not
//   evaluated. Some soils' loads are 0/0 there (kx = 0 or ky = 0).
// - TOMS 748 narrows the bracket until the newest sample is within 1e-10 W
//   of W, or until no representable centre height is left between its ends.
//   A height at which the loads are not finite (a tilted wheel with kx = 0
//   or ky = 0 where part of its width is out of the soil) is taken for the
//   edge of a region on the shallow side: the search bisects back to a
//   defined height below W and goes on, so a load carried where the loads
//   are defined is still found; non_finite_loads names the height where the
//   defined and undefined heights meet.
// - The better end is converged if |F - W| <= 1e-6 W (accepted_tolerance).
//   Beyond 1e-10 W that happens only where the force changes by more than
//   1e-10 W between adjacent centre heights (tiny loads; a steep onset of
//   stress), or when the evaluations run out; the message then gives the
//   residual. Otherwise not_converged:
//   the force jumps over W between two adjacent heights (both forces shown
//   with the digits that tell them apart), or the evaluations ran out.
// - At a converged height the force is probed 0.1 % of the sinkage scale
//   above and below: if it does not fall through W there, or the samples
//   cross W more than once, monotone is false and the message warns.
//
// Cost, measured by bench/equilibrium_sweep (the rover wheel on the 14
// published soils of the tests, slips -0.5 to 0.9, tilt sines -0.3, 0, 0.3,
// loads 50 to 150 N: 8,526 solves): a converged solve took at most 27 model
// evaluations (mean 11.1, 13 or fewer in 97 %), probes included; the eight
// above 20 are heavy clay tilted at 117 N and slips 0.6 to 0.9, where the
// root lies in the steep onset of a quadrature node entering the patch. A
// load not carried takes 1. A load inside a jump of the force (34 solves:
// braking on both snows, upland sandy loam at slip -0.1 tilted) took up to
// 74 (mean 55): the bracket closes on the jump down to adjacent heights.
// tests/equilibrium/evaluation_bound_test holds the solver to 27 and 74. max_iterations (100 by
// default) bounds every solve.
#ifndef WHEELSOIL_EQUILIBRIUM_WHEEL_EQUILIBRIUM_H
#define WHEELSOIL_EQUILIBRIUM_WHEEL_EQUILIBRIUM_H

#include <cstddef>
#include <string>

#include "../api/batch_runner.h"
#include "wheel_soil_model.h"

namespace wheelsoil::detail::equilibrium {

// How a solve ended. The numbers are stable: the Octave binding and the
// command line report them.
enum class EquilibriumStatus : int {
  converged = 0,         // rim_fz + side_fz = W within the accepted tolerance
  invalid_load = 1,      // W not finite or not positive
  invalid_wheel = 2,     // radius or width not finite and positive, or |tilt_sine| not below 1
  load_not_carried = 3,  // even one radius of sinkage carries less than W
  non_finite_loads = 4,  // the model gave a non-finite load during the search
  not_converged = 5,     // no height within the accepted tolerance: the force jumps over W,
                         // or the evaluations ran out
};

// Short name of a status, e.g. "load_not_carried".
const char *status_name(EquilibriumStatus status);

struct EquilibriumOptions {
  double tolerance = 1e-10;  // the target: the search stops at |F - W| <= tolerance W
  // The most |F - W| / W still reported as converged (with the residual in
  // the message) when the target cannot be met: where the vertical force
  // changes by more than tolerance W between adjacent centre heights, or the
  // evaluations run out. Not below tolerance.
  double accepted_tolerance = 1e-6;
  int max_iterations = 100;    // model evaluations allowed
  bool check_monotone = true;  // probe the force a little above and below the root
};

struct EquilibriumResult {
  EquilibriumStatus status = EquilibriumStatus::not_converged;
  bool converged = false;  // status is converged
  // Solved h_c (m). Also set when not converged: the best height found; for a
  // load not carried, the height at one radius of sinkage; for non-finite
  // loads, the height at which they arose.
  double centre_height = 0;
  double sinkage = 0;      // z(0), the sinkage at the wheel's mid-plane (m)
  double max_sinkage = 0;  // z at the lowest edge (m)
  // The 18 loads at centre_height (not set for non-finite loads); all zero
  // at no sinkage, where the patch is empty.
  WheelSoilOutput loads{};
  double vertical_load = 0;  // rim_fz + side_fz at centre_height (N)
  double residual = 0;       // vertical_load - W (N)
  int iterations = 0;        // model evaluations used, the probes included
  bool monotone = true;      // false: the vertical force rose with h_c near the root
  std::string message;       // what happened, in words, for a user
};

// The heights of the search: zero sinkage at the lowest edge (light; the
// model's sinkage there is exactly 0) and one radius of sinkage there
// (heavy). Assumes a valid wheel.
struct HeightBracket {
  double heavy;  // |s_t| b/2
  double light;  // r q + |s_t| b/2, q = sqrt(1 - s_t^2)
};
HeightBracket height_bracket(const WheelSoilInput &input);

// rim_fz + side_fz: the vertical force the soil exerts on the wheel.
inline double vertical_force(const WheelSoilOutput &loads) { return loads.rim_fz + loads.side_fz; }

// The centre height at which the soil carries load (N); every slot of input
// but centre_height is used as given.
EquilibriumResult solve_equilibrium(const WheelSoilInput &input, double load,
                                    const EquilibriumOptions &options = {});

// results[k] = solve_equilibrium(inputs[k * input_step], loads[k * load_step])
// for k < count, on up to `threads` threads (0: one per hardware thread),
// through the batch runner (hook: see run_batch). A step of 0 uses one input
// (or one load) for every solve. Results do not depend on the thread count.
BatchOutcome solve_equilibrium_batch(const WheelSoilInput *inputs, std::size_t input_step,
                                     const double *loads, std::size_t load_step, std::size_t count,
                                     EquilibriumResult *results, unsigned threads,
                                     const EquilibriumOptions &options = {},
                                     const BatchHook &hook = {});

}  // namespace wheelsoil::detail::equilibrium

#endif
