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
  converged = 0,         // rim_fz + side_fz = W within the tolerance
  invalid_load = 1,      // W not finite or not positive
  invalid_wheel = 2,     // radius or width not finite and positive, or |tilt_sine| not below 1
  load_not_carried = 3,  // even one radius of sinkage carries less than W
  non_finite_loads = 4,  // the model gave a non-finite load during the search
  not_converged = 5,     // no height within the tolerance in the evaluations allowed
};

// Short name of a status, e.g. "load_not_carried".
const char *status_name(EquilibriumStatus status);

struct EquilibriumOptions {
  double tolerance = 1e-10;    // accepted |F - W| / W
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
  double sinkage = 0;        // z(0), the sinkage at the wheel's mid-plane (m)
  double max_sinkage = 0;    // z at the lowest edge (m)
  WheelSoilOutput loads{};   // the 18 loads at centre_height (not set for non-finite loads)
  double vertical_load = 0;  // rim_fz + side_fz at centre_height (N)
  double residual = 0;       // vertical_load - W (N)
  int iterations = 0;        // model evaluations used, the probes included
  bool monotone = true;      // false: the vertical force rose with h_c near the root
  std::string message;       // what happened, in words, for a user
};

// The heights of the search: zero sinkage at the lowest edge (light) and one
// radius of sinkage there (heavy). Assumes a valid wheel.
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
