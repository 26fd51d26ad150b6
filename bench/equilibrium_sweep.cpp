// The operating point over the published soils of the tests on the rover
// wheel: 14 soils x 29 slips (-0.5 to 0.9) x tilt sines {-0.3, 0, 0.3} x 7
// loads (50 to 150 N), 8,526 solves. Prints how the solves ended, the most
// model evaluations any solve used (the bound the documentation states), how
// often each count occurred, and every solve whose vertical force was not
// monotone at the root or jumped over the load.
//
//   equilibrium_sweep [--threads N] [--list]
//
// --list prints one line per solve; --threads 0 (the default) uses every
// hardware thread. About 14 s of model evaluation: 7 s on two free cores.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "../tests/equilibrium/soil_cases.h"
#include "wheel_equilibrium.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;

namespace {

struct Case {
  const char *soil;
  double slip, tilt, load;
};

}  // namespace

int main(int argc, char **argv) {
  unsigned threads = 0;
  bool list = false;
  for (int k = 1; k < argc; ++k) {
    if (!std::strcmp(argv[k], "--threads") && k + 1 < argc) {
      threads = unsigned(std::atoi(argv[++k]));
    } else if (!std::strcmp(argv[k], "--list")) {
      list = true;
    } else {
      std::fprintf(stderr, "usage: equilibrium_sweep [--threads N] [--list]\n");
      return 2;
    }
  }

  // The grid: slips in steps of 0.05 and loads in steps of 100/6 N, so that
  // both ends are on it exactly.
  std::vector<Case> cases;
  std::vector<WheelSoilInput> inputs;
  std::vector<double> loads;
  for (const TestSoil &s : published_soils())
    for (int i = 0; i <= 28; ++i)
      for (double tilt : {-0.3, 0.0, 0.3})
        for (int j = 0; j <= 6; ++j) {
          const double slip = -0.5 + 0.05 * i, load = 50 + 100.0 * j / 6;
          cases.push_back({s.name, slip, tilt, load});
          inputs.push_back(wheel_on(s, slip, tilt));
          loads.push_back(load);
        }
  std::vector<equilibrium::EquilibriumResult> results(cases.size());
  equilibrium::solve_equilibrium_batch(inputs.data(), 1, loads.data(), 1, cases.size(),
                                       results.data(), threads);

  // Per status: solves, the most evaluations and the solve that used them.
  struct Tally {
    int solves = 0, most = 0;
    long evaluations = 0;
    std::size_t worst = 0;
  };
  std::map<std::string, Tally> statuses;
  std::map<int, int> counts;  // evaluations -> solves
  long total = 0;
  int short_of_target = 0;    // converged with |F - W| > tolerance W
  double worst_relative = 0;  // largest |F - W| / W of a converged solve
  std::vector<std::size_t> not_monotone, not_converged;
  const double tolerance = equilibrium::EquilibriumOptions{}.tolerance;
  for (std::size_t k = 0; k < cases.size(); ++k) {
    const equilibrium::EquilibriumResult &r = results[k];
    Tally &t = statuses[equilibrium::status_name(r.status)];
    ++t.solves;
    t.evaluations += r.iterations;
    if (r.iterations > t.most) {
      t.most = r.iterations;
      t.worst = k;
    }
    ++counts[r.iterations];
    total += r.iterations;
    if (r.converged) {
      const double relative = std::fabs(r.residual) / loads[k];
      worst_relative = std::max(worst_relative, relative);
      short_of_target += relative > tolerance;
    }
    if (!r.monotone) not_monotone.push_back(k);
    if (r.status == equilibrium::EquilibriumStatus::not_converged) not_converged.push_back(k);
    if (list)
      std::printf("%s slip %.2f tilt %.1f load %.2f: %s, %d evaluations: %s\n", cases[k].soil,
                  cases[k].slip, cases[k].tilt, cases[k].load, equilibrium::status_name(r.status),
                  r.iterations, r.message.c_str());
  }

  auto name = [&cases](std::size_t k) {
    char text[96];
    std::snprintf(text, sizeof text, "%s slip %.2f tilt %.1f load %.2f N", cases[k].soil,
                  cases[k].slip, cases[k].tilt, cases[k].load);
    return std::string(text);
  };
  std::printf("solves: %zu (%zu soils x 29 slips x 3 tilts x 7 loads)\n", cases.size(),
              published_soils().size());
  std::printf("model evaluations per solve: mean %.2f\n", double(total) / double(cases.size()));
  for (const auto &s : statuses)
    std::printf("  %-17s %5d solves, evaluations: mean %5.2f, at most %2d (%s)\n", s.first.c_str(),
                s.second.solves, double(s.second.evaluations) / s.second.solves, s.second.most,
                name(s.second.worst).c_str());
  std::printf("  evaluations: solves");
  for (const auto &c : counts) std::printf("  %d: %d", c.first, c.second);
  std::printf("\nconverged short of |F - W| <= %g W: %d; largest |F - W| / W converged: %.3g\n",
              tolerance, short_of_target, worst_relative);
  std::printf("flagged not monotone: %zu\n", not_monotone.size());
  for (std::size_t k : not_monotone)
    std::printf("  %s: %s\n", name(k).c_str(), results[k].message.c_str());
  std::printf("not converged: %zu\n", not_converged.size());
  for (std::size_t k : not_converged)
    std::printf("  %s, %d evaluations: %s\n", name(k).c_str(), results[k].iterations,
                results[k].message.c_str());
  return 0;
}
