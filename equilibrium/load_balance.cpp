#include "../api/strict_fp.h"

#include "load_balance.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include <boost/math/tools/toms748_solve.hpp>

namespace wheelsoil::detail::equilibrium {

namespace {

// Offset of the monotonicity probes: this fraction of the distance from the
// root to the light end (the sinkage scale), so that the change in F is far
// above rounding yet local to the root.
constexpr double probe_fraction = 1e-3;

// Thrown out of the root finder when F is not finite at h.
struct NonFiniteForce {
  double height;
};

// Every evaluation of F - W during one search, in the order made.
class Sampler {
 public:
  Sampler(const std::function<double(double)> &force, double load) : force_(force), load_(load) {}

  // F(h) - W; throws NonFiniteForce where F is not finite.
  double operator()(double h) {
    const double f = force_(h);
    samples_.push_back({h, f});
    if (!std::isfinite(f)) throw NonFiniteForce{h};
    return f - load_;
  }

  // F - W at a height already evaluated.
  double residual_at(double h) const {
    for (auto it = samples_.rbegin(); it != samples_.rend(); ++it)
      if (it->first == h) return it->second - load_;
    return std::numeric_limits<double>::quiet_NaN();
  }

  double last_residual() const { return samples_.back().second - load_; }
  int count() const { return int(samples_.size()); }

  // Sign changes of F - W along the samples sorted by height, ignoring
  // samples within `accepted` of W.
  int crossings(double accepted) const {
    std::vector<std::pair<double, double>> sorted = samples_;
    std::sort(sorted.begin(), sorted.end());
    int changes = 0, sign = 0;
    for (const auto &s : sorted) {
      const double r = s.second - load_;
      if (std::fabs(r) <= accepted) continue;
      const int here = r > 0 ? 1 : -1;
      if (sign != 0 && here != sign) ++changes;
      sign = here;
    }
    return changes;
  }

 private:
  const std::function<double(double)> &force_;
  double load_;
  std::vector<std::pair<double, double>> samples_;  // (h, F)
};

}  // namespace

BalanceResult balance_load(const std::function<double(double)> &force,
                           const BalanceProblem &problem) {
  BalanceResult result;
  const double w = problem.load;
  const double accepted = problem.tolerance * w;
  Sampler f(force, w);
  try {
    // The ends: the light one first, where F is (nearly) zero.
    const double f_light = f(problem.h_light);
    const double f_heavy = f(problem.h_heavy);
    result.heavy_force = f_heavy + w;
    if (f_heavy < 0) {
      result.status = BalanceStatus::load_not_carried;
      result.height = problem.h_heavy;
      result.force = result.heavy_force;
      result.residual = f_heavy;
      result.iterations = f.count();
      return result;
    }

    double a = problem.h_heavy, b = problem.h_light;
    if (f_light >= 0) {
      // W at or below the force with no sinkage: only an exact balance counts.
      a = b;
    } else if (f_heavy > 0) {
      // Stop once the newest sample balances W, or the bracket is a few ulps wide.
      auto done = [&f, accepted](double lo, double hi) {
        if (std::fabs(f.last_residual()) <= accepted) return true;
        const double span = std::max(std::fabs(lo), std::fabs(hi));
        return hi - lo <= 4 * std::numeric_limits<double>::epsilon() * span;
      };
      const int reserved = 2 + (problem.check_monotone ? 2 : 0);
      std::uintmax_t budget = std::uintmax_t(std::max(problem.max_iterations - reserved, 1));
      // The solver takes its function by value: hand it a reference to the sampler.
      auto sample = [&f](double h) { return f(h); };
      const std::pair<double, double> ends =
          boost::math::tools::toms748_solve(sample, a, b, f_heavy, f_light, done, budget);
      a = ends.first;
      b = ends.second;
    } else {
      b = a;  // F(h_heavy) = W exactly
    }

    // The better end of the final bracket.
    const double ra = f.residual_at(a), rb = f.residual_at(b);
    result.low = a;
    result.high = b;
    result.force_low = ra + w;
    result.force_high = rb + w;
    result.height = std::fabs(ra) <= std::fabs(rb) ? a : b;
    result.residual = std::fabs(ra) <= std::fabs(rb) ? ra : rb;
    result.force = result.residual + w;
    result.status = std::fabs(result.residual) <= accepted ? BalanceStatus::converged
                                                           : BalanceStatus::not_converged;

    // F must fall through W at the root: probe a little on either side.
    if (problem.check_monotone && result.status == BalanceStatus::converged) {
      const double h = result.height;
      double delta = probe_fraction * (problem.h_light - h);
      if (!(delta > 0)) delta = probe_fraction * (h - problem.h_heavy);
      const double above = std::min(h + delta, problem.h_light);
      const double below = std::max(h - delta, problem.h_heavy);
      bool falls = true;
      if (above > h) falls = f(above) + w < result.force && falls;
      if (below < h) falls = f(below) + w > result.force && falls;
      result.monotone = falls;
    }
    if (f.crossings(accepted) > 1) result.monotone = false;
  } catch (const NonFiniteForce &e) {
    result.status = BalanceStatus::non_finite_force;
    result.failed_height = e.height;
    result.height = e.height;
    result.force = std::numeric_limits<double>::quiet_NaN();
    result.residual = result.force;
  }
  result.iterations = f.count();
  return result;
}

}  // namespace wheelsoil::detail::equilibrium
