#include "contact_command.h"

#include <wheelsoil/wheelsoil.h>

#include <cmath>
#include <initializer_list>
#include <memory>

#include "command.h"
#include "csv_writer.h"
#include "model_command.h"
#include "slot_tables.h"
#include "tool_io.h"
#include "vector_reader.h"

namespace wheelsoil::detail::cli {

namespace {

constexpr std::size_t max_grid = 1000000;  // points of a FROM:TO:N grid

// The fields of s split at sep.
std::vector<std::string> split(const std::string &s, char sep) {
  std::vector<std::string> parts;
  std::size_t begin = 0;
  for (;;) {
    const std::size_t end = s.find(sep, begin);
    parts.push_back(s.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
    if (end == std::string::npos) return parts;
    begin = end + 1;
  }
}

// Appends the values to line, comma-separated, and a newline.
void append_row(std::string *line, std::initializer_list<double> values) {
  bool first = line->empty();
  for (double v : values) {
    if (!first) *line += ',';
    append_number(line, v);
    first = false;
  }
  *line += '\n';
}

}  // namespace

const char contact_help_text[] =
    "Where talvor's loads come from, for each input vector (read as for wheelsoil\n"
    "talvor). Angles in rad from the downward vertical, positive forward.\n"
    "\n"
    "Without --theta: the contact geometry, one row per lateral position of the\n"
    "rim rule (30 per vector, from +b/2 towards -b/2):\n"
    "  vector,slip_ratio,y,sinkage,entry_angle,max_stress_angle,exit_angle,\n"
    "  band_entry_angle,band_max_stress_angle,band_exit_angle,side_sinkage_plus,\n"
    "  side_sinkage_minus\n"
    "With --theta: the rim stresses along theta, one row per lateral position and\n"
    "angle:\n"
    "  vector,y,theta,normal_stress,shear_stress_x,shear_stress_y,\n"
    "  shear_displacement_x,shear_displacement_y\n"
    "(Pa and m). vector counts the input vectors from 1.\n"
    "\n"
    "Example:\n"
    "  wheelsoil contact --theta -0.05:0.4:91 wheel.csv > profile.csv\n";

bool parse_value_list(const std::string &text, bool grid, std::vector<double> *values,
                      std::string *why) {
  values->clear();
  const std::vector<std::string> range = split(text, ':');
  if (range.size() == 3 && grid) {
    double from, to, n;
    if (!parse_number(range[0], &from) || !parse_number(range[1], &to) ||
        !parse_number(range[2], &n) || !(n >= 2 && n <= double(max_grid)) ||
        n != double(std::size_t(n)) || !std::isfinite(from) || !std::isfinite(to)) {
      *why = "a grid is FROM:TO:N with finite FROM and TO and a whole N from 2 to 1000000, not '" +
             text + "'";
      return false;
    }
    const std::size_t count = std::size_t(n);
    for (std::size_t k = 0; k < count; ++k)
      values->push_back(k + 1 == count ? to : from + (to - from) * double(k) / double(n - 1));
    return true;
  }
  for (const std::string &field : split(text, ',')) {
    double v;
    if (!parse_number(field, &v)) {
      *why = std::string("'") + field + "' in '" + text + "' is not a number" +
             (grid ? " (a list V1,V2,... or a grid FROM:TO:N)" : " (a list V1,V2,...)");
      return false;
    }
    values->push_back(v);
  }
  return true;
}

int run_contact(Context &context, const ContactOptions &options) {
  InputVectors vectors;
  if (const int status = read_input(context, options.file, talvor_table, &vectors)) return status;

  const unsigned flags = options.direction_aware ? WHEELSOIL_DIRECTION_AWARE : 0u;
  const bool profile = !options.theta.empty();
  const std::vector<double> y = options.y.empty() ? std::vector<double>{0.0} : options.y;
  const std::size_t n = y.size() * options.theta.size();
  std::vector<double> sigma(n), tau_x(n), tau_y(n), j_x(n), j_y(n);
  const wheelsoil_stress_profile buffers{sigma.data(), tau_x.data(), tau_y.data(), j_x.data(),
                                         j_y.data()};
  std::string text =
      profile ? "vector,y,theta,normal_stress,shear_stress_x,shear_stress_y,"
                "shear_displacement_x,shear_displacement_y\n"
              : "vector,slip_ratio,y,sinkage,entry_angle,max_stress_angle,exit_angle,"
                "band_entry_angle,band_max_stress_angle,band_exit_angle,side_sinkage_plus,"
                "side_sinkage_minus\n";
  for (std::size_t v = 0; v < vectors.count; ++v) {
    const double *input = vectors.values.data() + v * talvor_table.n_inputs;
    wheelsoil_contact c;
    const int status =
        profile ? wheelsoil_talvor_contact(input, 29, flags, nullptr, y.data(), y.size(),
                                           options.theta.data(), options.theta.size(), &buffers)
                : wheelsoil_talvor_contact(input, 29, flags, &c, nullptr, 0, nullptr, 0, nullptr);
    if (status != WHEELSOIL_OK) {
      context.io.err << "wheelsoil: vector " << v + 1 << ": " << wheelsoil_error_message(status)
                     << '\n';
      return exit_bad_input;
    }
    const double index = double(v + 1);
    if (profile) {
      for (std::size_t i = 0; i < y.size(); ++i)
        for (std::size_t j = 0; j < options.theta.size(); ++j) {
          const std::size_t k = i * options.theta.size() + j;
          std::string row;
          append_row(&row,
                     {index, y[i], options.theta[j], sigma[k], tau_x[k], tau_y[k], j_x[k], j_y[k]});
          text += row;
        }
    } else {
      for (int i = 0; i < WHEELSOIL_CONTACT_STRIPS; ++i) {
        std::string row;
        append_row(&row, {index, c.slip_ratio, c.y[i], c.sinkage[i], c.entry_angle[i],
                          c.max_stress_angle[i], c.exit_angle[i], c.band_entry_angle[i],
                          c.band_max_stress_angle[i], c.band_exit_angle[i], c.side_sinkage_plus,
                          c.side_sinkage_minus});
        text += row;
      }
    }
    if (text.size() > (1u << 16)) {
      if (const int written = write_output(context, text)) return written;
      text.clear();
    }
  }
  return write_output(context, text);
}

namespace {

class ContactCommand : public Command {
 public:
  void define(CLI::App &app) override {
    add_value_option(app, "--y", "LIST", "a list V1,V2,... of numbers",
                     "the profile's lateral positions (m), comma-separated; default 0, the "
                     "mid-plane",
                     [this](const std::string &v) {
                       std::string why;
                       return parse_value_list(v, false, &options_.y, &why);
                     });
    add_value_option(app, "--theta", "LIST|FROM:TO:N",
                     "a list V1,V2,... or a grid FROM:TO:N (N from 2 to 1000000)",
                     "the profile's rim angles (rad), comma-separated, or N >= 2 angles evenly "
                     "spaced from FROM to TO; without it the contact geometry is written",
                     [this](const std::string &v) {
                       std::string why;
                       return parse_value_list(v, true, &options_.theta, &why);
                     });
    app.add_flag("--direction-aware", options_.direction_aware,
                 "a wheel travelling in -x (vx < 0, or vx = 0 and wy < 0) evaluated in the "
                 "mirrored frame, as talvor --direction-aware does, then mapped back: its "
                 "angles, shear_stress_x and shear_displacement_x negated (entry at -x)");
    add_file_argument(app, &options_.file);
    app.footer(contact_help_text);
  }

  int run(Context &context) override { return run_contact(context, options_); }
  bool takes_run_options() const override { return false; }

 private:
  ContactOptions options_;
};

const CommandRegistration registration{{"contact",
                                        "talvor's contact angles, sinkages and rim stress profiles",
                                        35, [] { return std::make_unique<ContactCommand>(); }}};

}  // namespace

int contact_command(const ContactOptions &options, std::istream &in, std::ostream &out,
                    std::ostream &err) {
  Io io{in, out, err};
  Context context{io, {}, "wheelsoil contact", ""};
  return run_contact(context, options);
}

}  // namespace wheelsoil::detail::cli
