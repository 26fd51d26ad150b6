#include "../api/strict_fp.h"

#include "load_balance.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include <boost/math/tools/toms748_solve.hpp>

namespace wheelsoil::detail::equilibrium {

namespace {

// Offset of the monotonicity probes: this fraction of the distance from the
// root to the light end (the sinkage scale), so that the change in F is far
// above rounding yet local to the root.
constexpr double probe_fraction = 1e-3;

// Thrown out of the search when F is not finite at h.
struct NonFiniteForce {
  double height;
  // The height next below it at which F is known to exceed W, or NaN.
  double defined = std::numeric_limits<double>::quiet_NaN();
};

// True if no double lies strictly between lo and hi (lo <= hi).
bool no_height_between(double lo, double hi) { return !(std::nextafter(lo, hi) < hi); }

// Every value of F known during one search, evaluated or given, with the
// evaluations counted. Each height is evaluated at most once.
class Sampler {
 public:
  Sampler(const std::function<double(double)> &force, double load) : force_(force), load_(load) {}

  // F(h), evaluated unless already known; NaN or an infinity where it failed.
  double evaluate(double h) {
    if (const double *known = find(h)) return *known;
    const double f = force_(h);
    ++evaluations_;
    samples_.push_back({h, f});
    return f;
  }

  // F(h) - W, the root finder's function; throws NonFiniteForce where F is
  // not finite.
  double operator()(double h) {
    const double f = evaluate(h);
    if (!std::isfinite(f)) throw NonFiniteForce{h};
    last_residual_ = f - load_;
    return last_residual_;
  }

  // Records F(h) known without evaluating F.
  void known(double h, double f) {
    samples_.push_back({h, f});
    if (!std::isfinite(f)) throw NonFiniteForce{h};
  }

  // F and F - W at a height already known.
  double force_at(double h) const { return *find(h); }
  double residual_at(double h) const { return *find(h) - load_; }

  double load() const { return load_; }
  double last_residual() const { return last_residual_; }
  int count() const { return evaluations_; }

  // Sign changes of F - W along the finite samples sorted by height,
  // ignoring samples within `accepted` of W.
  int crossings(double accepted) const {
    std::vector<std::pair<double, double>> sorted = samples_;
    std::sort(sorted.begin(), sorted.end());
    int changes = 0, sign = 0;
    for (const auto &s : sorted) {
      const double r = s.second - load_;
      if (!std::isfinite(r) || std::fabs(r) <= accepted) continue;
      const int here = r > 0 ? 1 : -1;
      if (sign != 0 && here != sign) ++changes;
      sign = here;
    }
    return changes;
  }

 private:
  const double *find(double h) const {
    for (auto it = samples_.rbegin(); it != samples_.rend(); ++it)
      if (it->first == h) return &it->second;
    return nullptr;
  }

  const std::function<double(double)> &force_;
  double load_;
  std::vector<std::pair<double, double>> samples_;  // (h, F)
  int evaluations_ = 0;
  double last_residual_ = std::numeric_limits<double>::quiet_NaN();
};

// Narrows [a, b], F(a) > W > F(b), by TOMS 748 to its final bracket, with
// at most `allowed` evaluations in all (at least one more). A height at
// which F is not finite is taken for the edge of a region on the light side
// where F is not defined (a wheel whose patch is partly empty, with a shear
// modulus of 0): the search bisects between it and a for a defined height
// below W and resumes from there, so a root among the defined heights is
// still found. Throws NonFiniteForce when the heights above W meet the
// undefined ones with no height left between, or the evaluations run out.
std::pair<double, double> narrow(Sampler &f, double a, double b, double target, int allowed) {
  // Stop once the newest sample meets the target, or when no height is left
  // inside the bracket: then the jump of F across it is what the heights
  // resolve, and "no height carries W" is literally true.
  auto done = [&f, target](double lo, double hi) {
    return std::fabs(f.last_residual()) <= target || no_height_between(lo, hi);
  };
  // The solver takes its function by value: hand it a reference to the sampler.
  auto sample = [&f](double h) { return f(h); };
  for (;;) {
    std::uintmax_t budget = std::uintmax_t(std::max(allowed - f.count(), 1));
    double undefined;
    try {
      return boost::math::tools::toms748_solve(sample, a, b, f.residual_at(a), f.residual_at(b),
                                               done, budget);
    } catch (const NonFiniteForce &e) {
      undefined = e.height;
    }
    for (;;) {
      if (f.count() >= allowed || no_height_between(a, undefined))
        throw NonFiniteForce{undefined, a};
      const double c = a + (undefined - a) / 2;
      const double r = f.evaluate(c) - f.load();
      if (!std::isfinite(r)) {
        undefined = c;
      } else if (std::fabs(r) <= target) {
        return {c, c};
      } else if (r > 0) {
        a = c;
      } else {
        b = c;
        break;
      }
    }
  }
}

}  // namespace

BalanceResult balance_load(const std::function<double(double)> &force,
                           const BalanceProblem &problem) {
  BalanceResult result;
  const double w = problem.load;
  const double target = problem.tolerance * w;
  const double accepted = std::max(problem.accepted_tolerance, problem.tolerance) * w;
  const int probes = problem.check_monotone ? 2 : 0;
  Sampler f(force, w);
  try {
    // The ends: the light one first, where F is (nearly) zero. Either failing
    // ends the search: nothing is known to lie beyond it.
    if (problem.light_force)
      f.known(problem.h_light, *problem.light_force);
    else
      f(problem.h_light);
    f(problem.h_heavy);
    // F as evaluated, not (F - W) + W: that would lose F beside a huge W.
    result.heavy_force = f.force_at(problem.h_heavy);
    const double r_light = f.residual_at(problem.h_light);
    const double r_heavy = f.residual_at(problem.h_heavy);
    if (r_heavy < 0) {
      result.status = BalanceStatus::load_not_carried;
      result.height = problem.h_heavy;
      result.force = result.heavy_force;
      result.residual = r_heavy;
      result.iterations = f.count();
      return result;
    }

    double a = problem.h_heavy, b = problem.h_light;
    if (r_light >= 0) {
      a = b;  // W at or below the force with no sinkage: the light end is the answer
    } else if (r_heavy > 0) {
      std::tie(a, b) = narrow(f, a, b, target, problem.max_iterations - probes);
    } else {
      b = a;  // F(h_heavy) = W exactly
    }

    // The better end of the final bracket.
    result.low = a;
    result.high = b;
    result.force_low = f.force_at(a);
    result.force_high = f.force_at(b);
    result.closed = no_height_between(a, b);
    const double ra = f.residual_at(a), rb = f.residual_at(b);
    const bool low_better = std::fabs(ra) <= std::fabs(rb);
    result.height = low_better ? a : b;
    result.force = low_better ? result.force_low : result.force_high;
    result.residual = low_better ? ra : rb;
    result.status = std::fabs(result.residual) <= accepted ? BalanceStatus::converged
                                                           : BalanceStatus::not_converged;

    // F must fall through W at the root: probe a little on either side. A
    // probe where F is not defined tells nothing and is passed over.
    if (probes && result.status == BalanceStatus::converged) {
      const double h = result.height;
      double delta = probe_fraction * (problem.h_light - h);
      if (!(delta > 0)) delta = probe_fraction * (h - problem.h_heavy);
      const double above = std::min(h + delta, problem.h_light);
      const double below = std::max(h - delta, problem.h_heavy);
      bool falls = true;
      if (above > h) falls = !(f.evaluate(above) >= result.force) && falls;
      if (below < h) falls = !(f.evaluate(below) <= result.force) && falls;
      result.monotone = falls;
    }
    if (f.crossings(accepted) > 1) result.monotone = false;
  } catch (const NonFiniteForce &e) {
    result.status = BalanceStatus::non_finite_force;
    result.failed_height = e.height;
    result.low = result.high = e.height;
    result.force_low = result.force_high = std::numeric_limits<double>::quiet_NaN();
    if (!std::isnan(e.defined)) {
      result.low = e.defined;
      result.force_low = f.force_at(e.defined);
    }
    result.height = e.height;
    result.force = std::numeric_limits<double>::quiet_NaN();
    result.residual = result.force;
  }
  result.iterations = f.count();
  return result;
}

}  // namespace wheelsoil::detail::equilibrium
