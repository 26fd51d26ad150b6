// The operating point from C++: the centre height at which the soil carries a
// vertical load W, rim_fz + side_fz = W, every other input used as given.
// Reentrant; a layer over the C interface like models.hpp.
#ifndef WHEELSOIL_EQUILIBRIUM_HPP
#define WHEELSOIL_EQUILIBRIUM_HPP

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "models.hpp"

namespace wheelsoil {

// How a solve ended.
enum class EquilibriumStatus : int {
  converged = WHEELSOIL_EQ_CONVERGED,                // within the tolerance
  invalid_load = WHEELSOIL_EQ_INVALID_LOAD,          // W not finite or not positive
  invalid_wheel = WHEELSOIL_EQ_INVALID_WHEEL,        // radius, width or tilt_sine unusable
  load_not_carried = WHEELSOIL_EQ_LOAD_NOT_CARRIED,  // one radius of sinkage carries less
  non_finite_loads = WHEELSOIL_EQ_NON_FINITE_LOADS,  // the model gave NaN or Inf on the way
  not_converged = WHEELSOIL_EQ_NOT_CONVERGED,        // no height within the tolerance
};

// The status's name, e.g. "load_not_carried".
inline const char *status_name(EquilibriumStatus status) {
  switch (status) {
    case EquilibriumStatus::converged: return "converged";
    case EquilibriumStatus::invalid_load: return "invalid_load";
    case EquilibriumStatus::invalid_wheel: return "invalid_wheel";
    case EquilibriumStatus::load_not_carried: return "load_not_carried";
    case EquilibriumStatus::non_finite_loads: return "non_finite_loads";
    case EquilibriumStatus::not_converged: return "not_converged";
  }
  return "unknown";
}

// How a solve searches.
struct EquilibriumOptions {
  double tolerance = 1e-10;    // target |F - W| / W, finite and >= 0
  int max_iterations = 100;    // model evaluations allowed, >= 1
  bool check_monotone = true;  // probe the force a little above and below the root
  // The most |F - W| / W still converged (the message gives the residual)
  // where the target cannot be met; finite and >= tolerance.
  double accepted_tolerance = 1e-6;
};

// What a solve found.
struct EquilibriumResult {
  EquilibriumStatus status = EquilibriumStatus::not_converged;
  bool converged = false;    // status is converged
  bool monotone = true;      // false: the force does not fall steadily through W there
  int iterations = 0;        // model evaluations used
  double centre_height = 0;  // solved h_c (m); the best found otherwise, NaN if none
  double sinkage = 0;        // at the wheel's mid-plane (m)
  double max_sinkage = 0;    // at its lowest edge (m)
  double vertical_load = 0;  // rim_fz + side_fz at centre_height (N)
  double residual = 0;       // vertical_load - W (N)
  WheelSoilOutput loads{};   // the 18 loads at centre_height
  std::string message;       // what happened, in words
};

namespace detail {

// The C interface's options.
inline wheelsoil_equilibrium_options c_options(const EquilibriumOptions &o) {
  return {o.tolerance, o.max_iterations, o.check_monotone ? 1 : 0, o.accepted_tolerance};
}

// The C++ record of a C result.
inline EquilibriumResult from_c(const wheelsoil_equilibrium_result &r) {
  EquilibriumResult e;
  e.status = static_cast<EquilibriumStatus>(r.status);
  e.converged = r.converged != 0;
  e.monotone = r.monotone != 0;
  e.iterations = r.iterations;
  e.centre_height = r.centre_height;
  e.sinkage = r.sinkage;
  e.max_sinkage = r.max_sinkage;
  e.vertical_load = r.vertical_load;
  e.residual = r.residual;
  std::memcpy(&e.loads, r.loads, sizeof e.loads);
  e.message = r.message;
  return e;
}

}  // namespace detail

// The operating point of one wheel at the load W (N).
inline EquilibriumResult solve_equilibrium(const WheelSoilInput &input, double load,
                                           const EquilibriumOptions &equilibrium = {},
                                           const Options &options = {}) {
  const wheelsoil_equilibrium_options o = detail::c_options(equilibrium);
  wheelsoil_equilibrium_result r;
  detail::check(wheelsoil_equilibrium_ex(reinterpret_cast<const double *>(&input), 29, load, &o,
                                         detail::flags_of(options), &r));
  return detail::from_c(r);
}

// results[k]: the operating point of vector k of `in` at loads[k * load_stride]
// (load_stride 0: one load for all), bit for bit as single solves.
inline BatchResult solve_equilibrium_batch(const InputView &in, const double *loads,
                                           std::ptrdiff_t load_stride, EquilibriumResult *results,
                                           const BatchOptions &batch = {},
                                           const EquilibriumOptions &equilibrium = {},
                                           const Options &options = {}) {
  const wheelsoil_equilibrium_options o = detail::c_options(equilibrium);
  std::vector<wheelsoil_equilibrium_result> c_results(in.count);
  detail::ProgressBridge bridge(batch.progress);
  std::size_t done = 0;
  const int code = wheelsoil_equilibrium_batch(
      in.data, in.count, in.vector_stride, in.slot_stride, loads, load_stride, &o, batch.threads,
      detail::flags_of(options), bridge.callback(), &bridge, c_results.data(), &done);
  const BatchResult r = bridge.finish(code, done);
  for (std::size_t k = 0; k < r.done; ++k) results[k] = detail::from_c(c_results[k]);
  return r;
}

}  // namespace wheelsoil

#endif
