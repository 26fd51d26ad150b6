// Prints the bits of both models' results, one line per input, for comparing
// builds byte for byte: the reference vectors of tests/data, then (without
// --reference-only) the generated inputs that span talvor's degenerate
// regions. Each line: model, case, then every output as 16 hex digits, by
// the MEX path (run_model, run_load_model) and by the C interface, which must
// agree. A NaN prints as "nan": its sign and payload are not fixed by the
// arithmetic but by which operand the hardware propagates, which the
// compiler's choice of instruction decides.
#include <wheelsoil/wheelsoil.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../full_model/generated_inputs.h"
#include "../golden.h"
#include "load_model.h"
#include "wheel_soil_model.h"

namespace {

std::string hex(const double *values, std::size_t n) {
  std::string s;
  for (std::size_t k = 0; k < n; ++k) {
    if (std::isnan(values[k])) {
      s += " nan";
      continue;
    }
    std::uint64_t bits;
    std::memcpy(&bits, &values[k], sizeof bits);
    char text[20];
    std::snprintf(text, sizeof text, " %016llx", static_cast<unsigned long long>(bits));
    s += text;
  }
  return s;
}

// The talvor line of one input; false if the two paths disagree.
bool talvor_line(const std::string &name, const std::vector<double> &in) {
  double mex[18], api[18];
  wheelsoil::detail::full_model::run_model(mex, in.data());
  if (wheelsoil_talvor(in.data(), in.size(), api) != 0) return false;
  std::printf("talvor %s%s\n", name.c_str(), hex(mex, 18).c_str());
  for (int k = 0; k < 18; ++k)
    if (!golden::same_value(mex[k], api[k])) return false;
  return true;
}

bool pindrel_line(const std::string &name, const std::vector<double> &in) {
  double mex, api;
  wheelsoil::detail::load_model::run_load_model(&mex, in.data());
  if (wheelsoil_pindrel(in.data(), in.size(), &api) != 0) return false;
  std::printf("pindrel %s%s\n", name.c_str(), hex(&mex, 1).c_str());
  return golden::same_value(mex, api);
}

}  // namespace

int main(int argc, char **argv) {
  const bool reference_only = argc > 1 && std::strcmp(argv[1], "--reference-only") == 0;
  bool agree = true;
  for (const auto &c : golden::load("talvor.txt", 29, 18))
    agree = talvor_line(c.name, c.inputs) && agree;
  for (const auto &c : golden::load("pindrel.txt", 20, 1))
    agree = pindrel_line(c.name, c.inputs) && agree;
  if (!reference_only) {
    const auto inputs = generated::inputs(2400);
    for (std::size_t k = 0; k < inputs.size(); ++k)
      agree = talvor_line("generated_" + std::to_string(k), inputs[k]) && agree;
  }
  if (!agree) std::fprintf(stderr, "model_bits: the MEX path and the C interface disagree\n");
  return agree ? 0 : 1;
}
