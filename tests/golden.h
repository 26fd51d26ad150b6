// Reading the reference vectors of tests/data: one case a line, a name, the
// inputs, then the expected outputs, all printed with %.17g.
#ifndef WHEELSOIL_TESTS_GOLDEN_H
#define WHEELSOIL_TESTS_GOLDEN_H

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace golden {

struct Case {
  std::string name;
  std::vector<double> inputs;
  std::vector<double> outputs;
};

// The cases of tests/data/FILE, each with n_inputs inputs and n_outputs outputs.
inline std::vector<Case> load(const std::string &file, std::size_t n_inputs,
                              std::size_t n_outputs) {
  std::ifstream in(std::string(WHEELSOIL_TEST_DATA) + "/" + file);
  if (!in) throw std::runtime_error("cannot open test data " + file);
  std::vector<Case> cases;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    Case c;
    words >> c.name;
    std::string w;
    while (words >> w) {
      const double v = std::strtod(w.c_str(), nullptr);  // reads nan, inf, -inf
      (c.inputs.size() < n_inputs ? c.inputs : c.outputs).push_back(v);
    }
    if (c.inputs.size() != n_inputs || c.outputs.size() != n_outputs)
      throw std::runtime_error("malformed case " + c.name + " in " + file);
    cases.push_back(c);
  }
  return cases;
}

// Max |actual - expected| over the finite expected slots, divided by the
// largest finite |expected|; infinity when a non-finite slot differs in kind.
inline double relative_error(const std::vector<double> &actual,
                             const std::vector<double> &expected) {
  double scale = 0, diff = 0;
  for (std::size_t k = 0; k < expected.size(); ++k) {
    if (std::isfinite(expected[k])) {
      scale = std::fmax(scale, std::fabs(expected[k]));
      diff = std::fmax(diff, std::fabs(actual[k] - expected[k]));
    } else if (std::isnan(expected[k]) ? !std::isnan(actual[k]) : actual[k] != expected[k]) {
      return INFINITY;
    }
  }
  if (diff == 0) return 0;
  return scale > 0 ? diff / scale : INFINITY;
}

// The same bits, or both NaN (a NaN's sign and payload are not fixed by the
// arithmetic: they depend on which operand the hardware propagates).
inline bool same_value(double a, double b) {
  if (std::isnan(a) && std::isnan(b)) return true;
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace golden

#endif
