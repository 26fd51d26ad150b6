#include "../api/strict_fp.h"

#include "wheel_equilibrium.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <initializer_list>
#include <limits>
#include <utility>
#include <vector>

#include "contact_geometry.h"
#include "load_balance.h"

namespace wheelsoil::detail::equilibrium {

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// printf into a std::string.
template <class... Args>
std::string format(const char *pattern, Args... args) {
  char text[512];
  std::snprintf(text, sizeof text, pattern, args...);
  return text;
}

// The fewest significant digits, 6 to 17, at which %g prints the distinct
// values among `values` distinctly.
int digits_to_tell(std::initializer_list<double> values) {
  for (int digits = 6; digits < 17; ++digits) {
    bool told = true;
    for (const double *a = values.begin(); a != values.end() && told; ++a)
      for (const double *b = a + 1; b != values.end() && told; ++b)
        told = *a == *b || format("%.*g", digits, *a) != format("%.*g", digits, *b);
    if (told) return digits;
  }
  return 17;
}

// True if all 18 loads are finite.
bool all_finite(const WheelSoilOutput &loads) {
  const double *slot = &loads.rim_fx;
  for (int k = 0; k < 18; ++k)
    if (!std::isfinite(slot[k])) return false;
  return true;
}

// Why the wheel's geometry cannot be searched, or empty if it can.
std::string wheel_problem(const WheelSoilInput &in) {
  if (!(std::isfinite(in.radius) && in.radius > 0))
    return format("radius must be finite and positive (got %g)", in.radius);
  if (!(std::isfinite(in.width) && in.width > 0))
    return format("width must be finite and positive (got %g)", in.width);
  if (!(std::fabs(in.tilt_sine) < 1))
    return format("tilt_sine must have a magnitude below 1 (got %g)", in.tilt_sine);
  return {};
}

// The lateral position of the wheel's lowest edge: -b/2 for s_t > 0, else +b/2.
double lowest_edge(const full_model::ModelState &m) {
  return m.tilt_sine > 0 ? m.width * (-0.5) : m.width * 0.5;
}

}  // namespace

const char *status_name(EquilibriumStatus status) {
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

HeightBracket height_bracket(const WheelSoilInput &in) {
  // max over y of z(y) = (r - h/q) + |s_t| (b/2)/q: 0 at the light end, r at the heavy one.
  const double q = std::sqrt(1.0 - in.tilt_sine * in.tilt_sine);
  const double edge_rise = std::fabs(in.tilt_sine) * (in.width * 0.5);
  HeightBracket bracket{edge_rise, in.radius * q + edge_rise};
  // Rounding may leave the lowest edge a few ulps deep at the light end: raise
  // it until the model's own sinkage there is exactly zero, so that the patch
  // is empty and the soil carries nothing. z falls as h rises, so this ends
  // within a few steps.
  full_model::ModelState m = full_model::make_state(in);
  m.centre_height = bracket.light;
  for (int step = 0; step < 64 && full_model::sinkage_at(m, lowest_edge(m)) > 0; ++step)
    m.centre_height = bracket.light = std::nextafter(bracket.light, HUGE_VAL);
  return bracket;
}

EquilibriumResult solve_equilibrium(const WheelSoilInput &input, double load,
                                    const EquilibriumOptions &options) {
  EquilibriumResult result;
  result.centre_height = result.sinkage = result.max_sinkage = nan;
  result.vertical_load = result.residual = nan;
  if (!(std::isfinite(load) && load > 0)) {
    result.status = EquilibriumStatus::invalid_load;
    result.message = format("load must be finite and positive (got %g N)", load);
    return result;
  }
  if (std::string why = wheel_problem(input); !why.empty()) {
    result.status = EquilibriumStatus::invalid_wheel;
    result.message = why;
    return result;
  }

  // One model evaluation per sampled height, each with its own state.
  full_model::ModelState state = full_model::make_state(input);
  std::vector<std::pair<double, WheelSoilOutput>> evaluated;
  evaluated.reserve(std::size_t(std::max(options.max_iterations, 4)));
  auto force = [&state, &evaluated](double h) {
    state.centre_height = h;
    WheelSoilOutput out{};
    full_model::evaluate(state, &out);
    evaluated.emplace_back(h, out);
    return all_finite(out) ? vertical_force(out) : nan;
  };

  const HeightBracket bracket = height_bracket(input);
  BalanceProblem problem;
  problem.h_heavy = bracket.heavy;
  problem.h_light = bracket.light;
  problem.load = load;
  problem.tolerance = options.tolerance;
  problem.accepted_tolerance = options.accepted_tolerance;
  problem.max_iterations = options.max_iterations;
  problem.check_monotone = options.check_monotone;
  // With no sinkage the patch is empty and carries nothing. Not evaluating
  // the model there also keeps the search off the one height at which some
  // soils' loads are not defined (kx = 0 or ky = 0 give 0/0 at an empty patch).
  problem.light_force = 0.0;
  const BalanceResult found = balance_load(force, problem);

  // The record at the height the search settled on; at the light end, never
  // evaluated, the loads of an empty patch: all zero.
  result.centre_height = found.height;
  result.iterations = found.iterations;
  result.monotone = found.monotone;
  state.centre_height = found.height;
  result.sinkage = full_model::sinkage_at(state, 0.0);
  result.max_sinkage = full_model::sinkage_at(state, lowest_edge(state));
  for (auto it = evaluated.rbegin(); it != evaluated.rend(); ++it) {
    if (it->first == found.height) {
      result.loads = it->second;
      break;
    }
  }
  result.vertical_load = vertical_force(result.loads);
  result.residual = result.vertical_load - load;

  switch (found.status) {
    case BalanceStatus::converged:
      result.status = EquilibriumStatus::converged;
      if (std::fabs(result.residual) <= options.tolerance * load) {
        result.message = format(
            "carries %g N at centre height %.10g m: sinkage %.6g m at the mid-plane, %.6g m at "
            "the lowest edge (%d model evaluations)",
            load, result.centre_height, result.sinkage, result.max_sinkage, result.iterations);
      } else {
        // Accepted short of the target: say by how much, and why no closer.
        result.message = format(
            "carries %g N to within %.3g N (a relative %.2g) at centre height %.17g m: sinkage "
            "%.6g m at the mid-plane, %.6g m at the lowest edge (%d model evaluations); ",
            load, std::fabs(result.residual), std::fabs(result.residual) / load,
            result.centre_height, result.sinkage, result.max_sinkage, result.iterations);
        if (found.closed)
          result.message += format(
              "the vertical force changes by %.3g N between adjacent centre heights here, so "
              "none comes closer",
              std::fabs(found.force_low - found.force_high));
        else
          result.message +=
              format("the evaluations allowed ran out before a relative %g", options.tolerance);
      }
      if (!result.monotone)
        result.message +=
            "; warning: the vertical force does not fall steadily through the load as the "
            "centre height rises here, so another sinkage may carry it too";
      break;
    case BalanceStatus::load_not_carried: {
      const int digits = digits_to_tell({load, found.heavy_force});
      result.status = EquilibriumStatus::load_not_carried;
      result.message = format(
          "load of %.*g N not carried: at one radius of sinkage at the lowest edge (centre "
          "height %g m) the vertical force is only %.*g N",
          digits, load, found.height, digits, found.heavy_force);
      break;
    }
    case BalanceStatus::non_finite_force:
      result.status = EquilibriumStatus::non_finite_loads;
      result.message = format(
          "the model gave non-finite loads at centre height %.17g m (sinkage %g m at the "
          "lowest edge)",
          found.failed_height, result.max_sinkage);
      if (found.low < found.failed_height)
        result.message += format(
            "; below it the soil carries more than the load at every height sampled (%.*g N "
            "at %.17g m)",
            digits_to_tell({load, found.force_low}), found.force_low, found.low);
      result.message += "; check the soil and wheel parameters";
      break;
    case BalanceStatus::not_converged:
      result.status = EquilibriumStatus::not_converged;
      if (found.closed && found.low < found.high) {
        // Adjacent heights on either side of W: the force jumps over it.
        const int digits = digits_to_tell({load, found.force_low, found.force_high});
        result.message = format(
            "no centre height carries %.*g N: the vertical force jumps from %.*g N at centre "
            "height %.17g m to %.*g N at %.17g m",
            digits, load, digits, found.force_low, found.low, digits, found.force_high, found.high);
      } else {
        result.message = format(
            "found no centre height that carries %g N within a relative %g in %d model "
            "evaluations; the best, %.17g m, leaves %.3g N",
            load, std::max(options.accepted_tolerance, options.tolerance), result.iterations,
            found.height, found.residual);
      }
      break;
  }
  result.converged = result.status == EquilibriumStatus::converged;
  return result;
}

BatchOutcome solve_equilibrium_batch(const WheelSoilInput *inputs, std::size_t input_step,
                                     const double *loads, std::size_t load_step, std::size_t count,
                                     EquilibriumResult *results, unsigned threads,
                                     const EquilibriumOptions &options, const BatchHook &hook) {
  // Solves are handed out one at a time: their costs differ from case to case.
  return run_batch(
      count, threads, equilibrium_block,
      [&](std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end; ++k)
          results[k] = solve_equilibrium(inputs[k * input_step], loads[k * load_step], options);
      },
      hook);
}

}  // namespace wheelsoil::detail::equilibrium
