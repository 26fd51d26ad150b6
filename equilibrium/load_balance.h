// Balancing a vertical load: the height h in a bracket [h_heavy, h_light] at
// which a vertical force F(h), falling as h rises, equals a load W. Knows
// nothing of wheels; the wheel's operating point (wheel_equilibrium.h) is one
// use of it.
#ifndef WHEELSOIL_EQUILIBRIUM_LOAD_BALANCE_H
#define WHEELSOIL_EQUILIBRIUM_LOAD_BALANCE_H

#include <functional>

namespace wheelsoil::detail::equilibrium {

// How a search ended.
enum class BalanceStatus : int {
  converged = 0,         // |F(h) - W| <= tolerance * W at the returned h
  not_converged = 1,     // evaluations used up, or the bracket shrank to rounding first
  load_not_carried = 2,  // F(h_heavy) < W: the bracket holds no root
  non_finite_force = 3,  // F was not finite at some h
};

// The search: bracket, load and stopping rule.
struct BalanceProblem {
  double h_heavy = 0;          // end with the largest force (the deepest sinkage)
  double h_light = 0;          // end with the smallest force; h_heavy < h_light
  double load = 0;             // W > 0
  double tolerance = 1e-10;    // accepted |F - W| relative to W
  int max_iterations = 100;    // force evaluations, the two ends and the probes included
  bool check_monotone = true;  // probe F a little above and below the root
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
};

// Finds F(h) = W by TOMS 748 bracketing on [h_heavy, h_light]. force(h) may
// return NaN or an infinity to report a failed evaluation: the search stops
// there with non_finite_force. Each sampled height is evaluated once.
BalanceResult balance_load(const std::function<double(double)> &force,
                           const BalanceProblem &problem);

}  // namespace wheelsoil::detail::equilibrium

#endif
