#include "csv_writer.h"

#include <cmath>
#include <cstdio>

namespace wheelsoil::detail::cli {

void append_number(std::string *out, double v) {
  if (std::isnan(v)) {
    *out += "nan";
  } else if (std::isinf(v)) {
    *out += v > 0 ? "inf" : "-inf";
  } else {
    char text[32];
    const int n = std::snprintf(text, sizeof text, "%.17g", v);
    out->append(text, static_cast<std::size_t>(n));
  }
}

std::string header_line(const ModelTable &model) {
  std::string line;
  for (std::size_t k = 0; k < model.n_outputs; ++k) {
    if (k) line += ',';
    line += model.outputs[k].name;
  }
  return line + '\n';
}

void append_rows(std::string *out, const ModelTable &model, const double *results,
                 std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    for (std::size_t k = 0; k < model.n_outputs; ++k) {
      if (k) *out += ',';
      append_number(out, results[i * model.n_outputs + k]);
    }
    *out += '\n';
  }
}

}  // namespace wheelsoil::detail::cli
