// Balancing a vertical load: the height h in a bracket [h_heavy, h_light] at
// which a vertical force F(h), falling as h rises, equals a load W. Knows
// nothing of wheels; the wheel's operating point (wheel_equilibrium.h) is one
// use of it.
//
// The search: F(h_heavy) first (F(h_light) too unless it is known without
// evaluating), then TOMS 748 bracketing on F - W until the newest sample is
// within `tolerance` W of W, or no representable height is left strictly
// inside the bracket; the better end is the answer. It counts as converged
// when |F - W| <= accepted_tolerance W there: either the search met its
// target, or it got as close as the representable heights (or the
// evaluations) allow and the residual is still small beside W.
#ifndef WHEELSOIL_EQUILIBRIUM_LOAD_BALANCE_H
#define WHEELSOIL_EQUILIBRIUM_LOAD_BALANCE_H

#include <functional>
#include <optional>

namespace wheelsoil::detail::equilibrium {

// How a search ended.
enum class BalanceStatus : int {
  converged = 0,         // |F(h) - W| <= accepted_tolerance * W at the returned h
  not_converged = 1,     // no sample came that close: F jumps over W, or the evaluations ran out
  load_not_carried = 2,  // F(h_heavy) < W: the bracket holds no root
  non_finite_force = 3,  // F was not finite at some h
};

// The search: bracket, load and stopping rule.
struct BalanceProblem {
  double h_heavy = 0;        // end with the largest force (the deepest sinkage)
  double h_light = 0;        // end with the smallest force; h_heavy < h_light
  double load = 0;           // W > 0
  double tolerance = 1e-10;  // the target: the search stops at |F - W| <= tolerance W
  // The most |F - W| / W that still counts as converged when the target
  // cannot be met; not below tolerance.
  double accepted_tolerance = 1e-6;
  int max_iterations = 100;    // force evaluations, the ends and the probes included
  bool check_monotone = true;  // probe F a little above and below the root
  // F(h_light) when it is known without evaluating F (a wheel clear of the
  // soil carries nothing); it is then not evaluated and not counted.
  std::optional<double> light_force;
};

struct BalanceResult {
  BalanceStatus status = BalanceStatus::not_converged;
  double height = 0;    // the better bracket end: the root when converged
  double force = 0;     // F(height)
  double residual = 0;  // F(height) - W
  int iterations = 0;   // force evaluations used
  // false: F does not fall through W at the root (probed a little above and
  // below it), or the samples cross W more than once, so another root exists.
  bool monotone = true;
  double failed_height = 0;  // where F was not finite (non_finite_force)
  double heavy_force = 0;    // F(h_heavy), the most the bracket carries if F is monotone
  double low = 0, high = 0;  // the final bracket, low < high (or equal)
  double force_low = 0, force_high = 0;  // F at its ends
  // For non_finite_force, low = high = failed_height and their forces NaN;
  // but inside the bracket low and force_low are the nearest height below
  // failed_height at which F was above W, and F there.
  // No representable height lies strictly between low and high: the search
  // ended on the resolution of h, not on the evaluations allowed.
  bool closed = false;
};

// Finds F(h) = W by TOMS 748 bracketing on [h_heavy, h_light]. force(h) may
// return NaN or an infinity to report a failed evaluation. At an end that is
// non_finite_force at once. Inside the bracket the failure is taken for the
// edge of a region on the light side where F is not defined: the search
// bisects back towards the heavy end for a defined height below W and goes
// on from there, and ends with non_finite_force only when the heights above
// W and the undefined ones meet with no height between (or the evaluations
// run out). Each sampled height is evaluated once. The forces reported are
// F as evaluated, never rebuilt from F - W, so they hold whatever the size
// of W.
BalanceResult balance_load(const std::function<double(double)> &force,
                           const BalanceProblem &problem);

}  // namespace wheelsoil::detail::equilibrium

#endif
