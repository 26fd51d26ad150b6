#include "fit_command.h"

#include <wheelsoil/fit.hpp>
#include <wheelsoil/tables.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>

#include "command.h"
#include "csv_writer.h"
#include "model_command.h"
#include "tool_io.h"
#include "slot_tables.h"
#include "vector_reader.h"

namespace wheelsoil::detail::cli {

namespace {

constexpr int exit_no_fit = exit_incomplete;

const char help_text[] =
    "Soil and wheel parameters from test data, by bounded nonlinear least squares.\n"
    "  plate  plate-sinkage tests, p = (k_c/b + k_phi) z^n: fits sinkage_exponent (n),\n"
    "         k_c and k_phi. Columns: width (b: a rectangular plate's smaller side,\n"
    "         m; or radius, for circular plates), sinkage (z, m), pressure (p, Pa).\n"
    "         Needs two plate sizes at least (or k_c or k_phi held with --set).\n"
    "  shear  shear tests, tau = (c + sigma tan phi) F(j/K): fits cohesion (Pa),\n"
    "         friction_angle (rad) and shear_modulus (K, m); with --hump the hump law\n"
    "         and its kr. Columns: normal_stress (sigma, Pa), displacement (j, m),\n"
    "         shear_stress (tau, Pa). Needs two normal stresses at least (or\n"
    "         cohesion or friction_angle held with --set).\n"
    "  wheel  single-wheel runs, each at the centre height that carries its load:\n"
    "         fits c1..c4, or the talvor inputs --fit names. Columns: slip (s, -1 to\n"
    "         1), load (W, N), and any of drawbar_pull (rim_fx + side_fx, N), torque\n"
    "         (driving torque -(rim_my + side_my), N m, positive driving forward) and\n"
    "         sinkage (at the mid-plane, m); a missing column or nan is not measured.\n"
    "\n"
    "Input as for wheelsoil talvor: a header row naming the columns in any order,\n"
    "or rows in the order above; commas and/or whitespace; '#' comments.\n"
    "\n"
    "Output: CSV on standard output, one row per parameter, then the goodness of fit:\n"
    "  name,value,standard_error,unit,kind\n"
    "kind is fitted, at_bound (ended on a bound: no standard error), held, or\n"
    "statistic (rmse_Q and r_squared_Q for each measured quantity Q, observations,\n"
    "residual_standard_error, condition_number, iterations). A short table goes to\n"
    "standard error. A fit that is ill-posed (the data cannot determine a\n"
    "parameter), does not converge or fails writes no results: it says why.\n"
    "\n"
    "The wheel's carriage speed vx defaults to 0.1 m/s (the loads do not depend\n"
    "on it); c1..c4, when fitted and not set, start from 0.4, 0.15, 0.1, 0.\n";

int usage_error(std::ostream &err, const std::string &message) {
  err << "wheelsoil: " << message << "\n(wheelsoil fit --help tells more)\n";
  return exit_usage;
}

// A table of measurement columns, as the tool's reader takes it.
struct ColumnTable {
  std::vector<Slot> slots;
  ModelTable table;

  ColumnTable(const char *name, const std::vector<std::pair<const char *, bool>> &columns) {
    for (std::size_t k = 0; k < columns.size(); ++k)
      slots.push_back({columns[k].first, k,
                       columns[k].second ? DefaultKind::required : DefaultKind::constant,
                       std::nan(""), 0, "", ""});
    table = {name, "", slots.data(), slots.size(), nullptr, 0, nullptr, nullptr};
  }
};

// NAME=VALUE; false if it is not that.
bool split_assignment(const std::string &text, std::string *name, double *value) {
  const std::size_t eq = text.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  *name = text.substr(0, eq);
  return parse_number(text.substr(eq + 1), value) && std::isfinite(*value);
}

// The first field of the first line that is neither blank nor a comment,
// and whether that line names "radius".
bool header_names(const std::string &text, const char *name) {
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    line = line.substr(0, line.find('#'));
    std::replace(line.begin(), line.end(), ',', ' ');
    std::istringstream words(line);
    std::string word;
    bool first = true;
    while (words >> word) {
      double v;
      if (first && parse_number(word, &v)) return false;
      first = false;
      if (word == name) return true;
    }
    if (!first) return false;
  }
  return false;
}

std::string number(double v) {
  std::string s;
  append_number(&s, v);
  return s;
}

// The short table on standard error.
void print_table(std::ostream &err, const std::string &kind, const FitResult &r) {
  err << "wheelsoil fit " << kind << ": " << r.message << '\n';
  char line[160];
  std::snprintf(line, sizeof line, "  %-18s %-14s %-12s %s\n", "parameter", "value", "std. error",
                "unit");
  err << line;
  for (const FitParameter &p : r.parameters) {
    const std::string se = !p.fitted ? "held" : p.at_bound ? "at bound" : "";
    char value[32], error[32];
    std::snprintf(value, sizeof value, "%.6g", p.value);
    std::snprintf(error, sizeof error, "%.3g", p.standard_error);
    std::snprintf(line, sizeof line, "  %-18s %-14s %-12s %s\n", p.name.c_str(), value,
                  se.empty() ? error : se.c_str(), p.unit.c_str());
    err << line;
  }
  for (const FitQuantity &q : r.quantities) {
    if (q.observations == 0) continue;
    std::snprintf(line, sizeof line, "  %s: %zu readings, RMSE %.4g %s, R^2 %.5f\n", q.name.c_str(),
                  q.observations, q.rmse, q.unit.c_str(), q.r_squared);
    err << line;
  }
}

// The results as CSV.
std::string results_csv(const FitResult &r) {
  std::string s = "name,value,standard_error,unit,kind\n";
  for (const FitParameter &p : r.parameters) {
    const char *kind = !p.fitted ? "held" : p.at_bound ? "at_bound" : "fitted";
    s += p.name + ',' + number(p.value) + ',' +
         (p.fitted && !p.at_bound ? number(p.standard_error) : std::string()) + ',' + p.unit + ',' +
         kind + '\n';
  }
  auto statistic = [&](const std::string &name, double v, const std::string &unit) {
    s += name + ',' + number(v) + ",," + unit + ",statistic\n";
  };
  for (const FitQuantity &q : r.quantities) {
    if (q.observations == 0) continue;
    statistic("rmse_" + q.name, q.rmse, q.unit);
    statistic("r_squared_" + q.name, q.r_squared, "-");
  }
  statistic("observations", double(r.observations), "-");
  statistic("residual_standard_error", r.residual_standard_error, "-");
  statistic("condition_number", r.condition_number, "-");
  statistic("iterations", r.iterations, "-");
  return s;
}

// Each row's inputs, then measured, fitted and residual of each quantity.
std::string residuals_csv(
    const std::vector<std::pair<std::string, const std::vector<double> *>> &in,
    const FitResult &r) {
  std::string s;
  for (const auto &c : in) s += c.first + ',';
  for (const FitQuantity &q : r.quantities)
    s += q.name + ',' + q.name + "_fitted," + q.name + "_residual,";
  s.back() = '\n';
  const std::size_t rows = in[0].second->size();
  for (std::size_t k = 0; k < rows; ++k) {
    for (const auto &c : in) s += number((*c.second)[k]) + ',';
    for (const FitQuantity &q : r.quantities)
      s += number(q.measured[k]) + ',' + number(q.fitted[k]) + ',' + number(q.residuals[k]) + ',';
    s.back() = '\n';
  }
  return s;
}

// A curve or a set of points for gnuplot: an inline data block.
struct Series {
  std::string title;
  bool line;
  std::vector<double> x, y;
};

// One panel of a plot.
struct Panel {
  std::string xlabel, ylabel, title;
  std::vector<Series> series;
};

// Draws the panels (one above the other) into a PNG through gnuplot.
bool plot_png(const std::string &file, const std::vector<Panel> &panels, std::string *message) {
  std::string script;
  std::size_t block = 0;
  for (const Panel &p : panels)
    for (const Series &s : p.series) {
      script += "$d" + std::to_string(block++) + " << EOD\n";
      for (std::size_t k = 0; k < s.x.size(); ++k)
        if (std::isfinite(s.x[k]) && std::isfinite(s.y[k]))
          script += number(s.x[k]) + ' ' + number(s.y[k]) + '\n';
      script += "EOD\n";
    }
  std::string quoted = "'";
  for (char c : file) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  quoted += "'";
  script += "set terminal pngcairo size 800," + std::to_string(300 * panels.size() + 100) +
            " font ',10'\nset output " + quoted + "\nset grid\nset key outside right\n";
  if (panels.size() > 1) script += "set multiplot layout " + std::to_string(panels.size()) + ",1\n";
  block = 0;
  for (const Panel &p : panels) {
    script += "set xlabel '" + p.xlabel + "'\nset ylabel '" + p.ylabel + "'\nset title '" +
              p.title + "' noenhanced\nplot ";
    for (std::size_t k = 0; k < p.series.size(); ++k) {
      const Series &s = p.series[k];
      script += std::string(k ? ", " : "") + "$d" + std::to_string(block++) + " using 1:2 with " +
                (s.line ? "lines lw 2" : "points pt 7 ps 0.8") + " lc " +
                std::to_string(k / 2 + 1) + " title '" + s.title + "' noenhanced";
    }
    script += '\n';
  }
  if (panels.size() > 1) script += "unset multiplot\n";
  script += "set output\n";
  FILE *gnuplot = popen("gnuplot 2>&1", "w");
  if (!gnuplot) {
    *message = "cannot start gnuplot";
    return false;
  }
  std::fwrite(script.data(), 1, script.size(), gnuplot);
  const int status = pclose(gnuplot);
  if (status != 0) {
    *message = "gnuplot could not draw " + file +
               " (is it installed? Debian: apt-get install gnuplot-nox)";
    return false;
  }
  return true;
}

// The distinct values of a column, in order of first appearance.
std::vector<double> groups_of(const std::vector<double> &column) {
  std::vector<double> g;
  for (double v : column)
    if (std::find(g.begin(), g.end(), v) == g.end()) g.push_back(v);
  return g;
}

// Points of the rows in one group, and the law along a line through them.
template <class Law>
void add_group(Panel *panel, const std::string &title, const std::vector<double> &group_column,
               double group, const std::vector<double> &x, const std::vector<double> &y,
               double x_unit, double y_unit, Law law) {
  Series points{title, false, {}, {}}, curve{title + ", fitted", true, {}, {}};
  double hi = 0;
  for (std::size_t k = 0; k < x.size(); ++k) {
    if (group_column[k] != group) continue;
    points.x.push_back(x[k] * x_unit);
    points.y.push_back(y[k] * y_unit);
    hi = std::max(hi, x[k]);
  }
  for (int i = 0; i <= 100; ++i) {
    const double xi = hi * i / 100;
    curve.x.push_back(xi * x_unit);
    curve.y.push_back(law(xi) * y_unit);
  }
  panel->series.push_back(points);
  panel->series.push_back(curve);
}

// Options that every fit takes.
struct Common {
  std::map<std::string, double> set, start, lower, upper, sigma;
  std::vector<std::string> fit_names;
  bool fit_given = false;
  std::string soil, residuals, plot;
  bool hump = false;
  int max_iterations = 200;
  unsigned threads = 0;
};

int write_file(std::ostream &err, const std::string &file, const std::string &text) {
  std::ofstream f(file, std::ios::binary);
  if (!(f << text) || !f.flush()) {
    err << "wheelsoil: " << file << ": cannot write: " << std::strerror(errno) << '\n';
    return exit_bad_input;
  }
  return exit_ok;
}

// After a fit: the CSV, the table, the residuals and the plot.
int report(const std::string &kind, const FitResult &r, const Common &o,
           const std::vector<std::pair<std::string, const std::vector<double> *>> &columns,
           std::ostream &out, std::ostream &err, const std::vector<Panel> &panels) {
  if (!r.ok()) {
    err << "wheelsoil: fit " << kind << ": " << status_name(r.status) << ": " << r.message << '\n';
    return r.status == FitStatus::invalid_data ? exit_bad_input : exit_no_fit;
  }
  if (!(out << results_csv(r)).flush()) {
    err << "wheelsoil: cannot write the results\n";
    return exit_bad_input;
  }
  print_table(err, kind, r);
  if (!o.residuals.empty() && write_file(err, o.residuals, residuals_csv(columns, r)) != exit_ok)
    return exit_bad_input;
  if (!o.plot.empty()) {
    std::string message;
    if (!plot_png(o.plot, panels, &message)) {
      err << "wheelsoil: " << message << '\n';
      return exit_bad_input;
    }
  }
  return exit_ok;
}

FitOptions base_options(const Common &o) {
  FitOptions f;
  f.fixed = o.set;
  f.start = o.start;
  f.lower = o.lower;
  f.upper = o.upper;
  f.max_iterations = o.max_iterations;
  return f;
}

int run_plate(const std::string &text, const Common &o, std::ostream &out, std::ostream &err) {
  const bool radius = header_names(text, "radius");
  const ColumnTable t("plate",
                      {{radius ? "radius" : "width", true}, {"sinkage", true}, {"pressure", true}});
  InputVectors v;
  InputError e;
  std::istringstream in(text);
  if (!read_vectors(in, t.table, &v, &e)) {
    err << "wheelsoil: line " << e.line << ": " << e.reason << '\n';
    return exit_bad_input;
  }
  PlateData d;
  for (std::size_t k = 0; k < v.count; ++k) {
    d.size.push_back(v.values[3 * k]);
    d.sinkage.push_back(v.values[3 * k + 1]);
    d.pressure.push_back(v.values[3 * k + 2]);
  }
  const FitResult r = fit_plate(d, base_options(o));
  std::vector<Panel> panels(1);
  panels[0] = {
      "sinkage z (mm)", "pressure p (kPa)", "Plate sinkage: p = (k_c/b + k_phi) z^n, fitted", {}};
  if (r.ok() && !o.plot.empty()) {
    for (double b : groups_of(d.size)) {
      const double k_c = r.value("k_c"), k_phi = r.value("k_phi"), n = r.value("sinkage_exponent");
      add_group(&panels[0], "b = " + number(b) + " m", d.size, b, d.sinkage, d.pressure, 1e3, 1e-3,
                [&](double z) { return plate_pressure(k_c, k_phi, n, b, z); });
    }
  }
  return report("plate", r, o, {{radius ? "radius" : "width", &d.size}, {"sinkage", &d.sinkage}},
                out, err, panels);
}

int run_shear(const std::string &text, const Common &o, std::ostream &out, std::ostream &err) {
  const ColumnTable t("shear",
                      {{"normal_stress", true}, {"displacement", true}, {"shear_stress", true}});
  InputVectors v;
  InputError e;
  std::istringstream in(text);
  if (!read_vectors(in, t.table, &v, &e)) {
    err << "wheelsoil: line " << e.line << ": " << e.reason << '\n';
    return exit_bad_input;
  }
  ShearData d;
  for (std::size_t k = 0; k < v.count; ++k) {
    d.normal_stress.push_back(v.values[3 * k]);
    d.displacement.push_back(v.values[3 * k + 1]);
    d.shear_stress.push_back(v.values[3 * k + 2]);
  }
  ShearFitOptions f;
  static_cast<FitOptions &>(f) = base_options(o);
  f.hump = o.hump;
  const FitResult r = fit_shear(d, f);
  std::vector<Panel> panels(1);
  panels[0] = {"shear displacement j (mm)",
               "shear stress tau (kPa)",
               std::string("Shear: tau = (c + sigma tan phi) F(j/K), ") +
                   (o.hump ? "hump law" : "plain exponential") + ", fitted",
               {}};
  if (r.ok() && !o.plot.empty()) {
    const double kr = o.hump ? r.value("kr") : 1.0;
    for (double sigma : groups_of(d.normal_stress)) {
      add_group(&panels[0], "sigma = " + number(sigma * 1e-3) + " kPa", d.normal_stress, sigma,
                d.displacement, d.shear_stress, 1e3, 1e-3, [&](double j) {
                  return shear_stress_law(r.value("cohesion"), r.value("friction_angle"),
                                          r.value("shear_modulus"), kr, sigma, j);
                });
    }
  }
  return report("shear", r, o,
                {{"normal_stress", &d.normal_stress}, {"displacement", &d.displacement}}, out, err,
                panels);
}

int run_wheel(const std::string &text, const Common &o, std::ostream &out, std::ostream &err) {
  const ColumnTable t("wheel", {{"slip", true},
                                {"load", true},
                                {"drawbar_pull", false},
                                {"torque", false},
                                {"sinkage", false}});
  InputVectors v;
  InputError e;
  std::istringstream in(text);
  if (!read_vectors(in, t.table, &v, &e)) {
    err << "wheelsoil: line " << e.line << ": " << e.reason << '\n';
    return exit_bad_input;
  }
  WheelData d;
  for (std::size_t k = 0; k < v.count; ++k) {
    const double *row = &v.values[5 * k];
    d.slip.push_back(row[0]);
    d.load.push_back(row[1]);
    d.drawbar_pull.push_back(row[2]);
    d.torque.push_back(row[3]);
    d.sinkage.push_back(row[4]);
  }

  // The given wheel: the slot table's defaults, the soil, then --set.
  WheelSoilInput given{};
  double *slot = reinterpret_cast<double *>(&given);
  std::vector<bool> set(talvor_input_slots.size(), false);
  for (std::size_t k = 0; k < talvor_input_slots.size(); ++k)
    if (talvor_input_slots[k].kind == wheelsoil::DefaultKind::fixed)
      slot[k] = talvor_input_slots[k].value, set[k] = true;
  given.vx = 0.1;
  if (!o.soil.empty()) {
    const Soil *soil = find_soil(o.soil.c_str());
    if (!soil) {
      std::string names;
      for (const Soil &s : soils) names += (names.empty() ? "" : ", ") + std::string(s.name);
      return usage_error(err, "unknown soil '" + o.soil + "' (" + names + ")");
    }
    apply_soil(*soil, given);
    for (const char *name : {"sinkage_exponent", "k_c", "k_phi", "cohesion", "friction_angle", "kx",
                             "ky", "soil_density"})
      set[talvor_input_slots.find(name)] = true;
  }
  WheelFitOptions f;
  if (o.fit_given) f.parameters = o.fit_names;
  for (const auto &[name, value] : o.set) {
    if (name == "shear_modulus") {
      given.kx = given.ky = value;
      set[talvor_input_slots.find("kx")] = set[talvor_input_slots.find("ky")] = true;
      continue;
    }
    const std::size_t k = talvor_input_slots.find(name.c_str());
    if (k == talvor_input_slots.size())
      return usage_error(err,
                         "--set: '" + name + "' is not a talvor input (wheelsoil slots talvor)");
    slot[k] = value;
    set[k] = true;
  }
  // Fitted angle factors start from typical values where none is given.
  const std::map<std::string, double> typical = {{"c1", 0.4}, {"c2", 0.15}, {"c3", 0.1}, {"c4", 0}};
  for (const std::string &name : f.parameters) {
    const auto c = typical.find(name);
    const std::size_t k = talvor_input_slots.find(name.c_str());
    if (c != typical.end() && !set[k]) slot[k] = c->second, set[k] = true;
  }
  std::string missing;
  for (std::size_t k = 0; k < talvor_input_slots.size(); ++k)
    if (!set[k] && std::string(talvor_input_slots[k].name) != "centre_height")
      missing += (missing.empty() ? "" : ", ") + std::string(talvor_input_slots[k].name);
  if (!missing.empty())
    return usage_error(
        err, "the wheel needs given values of " + missing + " (--soil NAME, --set NAME=VALUE)");

  f.start = o.start;
  f.lower = o.lower;
  f.upper = o.upper;
  f.sigma = o.sigma;
  f.max_iterations = o.max_iterations;
  f.threads = o.threads;
  const FitResult r = fit_wheel(d, given, f);

  std::vector<Panel> panels = {
      {"slip s (-)", "drawbar pull (N)", "Drawbar pull rim_fx + side_fx, fitted", {}},
      {"slip s (-)", "torque (N m)", "Driving torque -(rim_my + side_my)", {}},
      {"slip s (-)", "sinkage (mm)", "Sinkage at the mid-plane", {}}};
  if (r.ok() && !o.plot.empty()) {
    WheelSoilInput fitted = given;
    for (const FitParameter &p : r.parameters) {
      if (p.name == "shear_modulus") {
        fitted.kx = fitted.ky = p.value;
      } else {
        reinterpret_cast<double *>(&fitted)[talvor_input_slots.find(p.name.c_str())] = p.value;
      }
    }
    const auto [lo, hi] = std::minmax_element(d.slip.begin(), d.slip.end());
    for (double w : groups_of(d.load)) {
      std::vector<Series> points(3), curves(3);
      for (std::size_t k = 0; k < d.slip.size(); ++k) {
        if (d.load[k] != w) continue;
        const double measured[3] = {d.drawbar_pull[k], d.torque[k], d.sinkage[k] * 1e3};
        for (int q = 0; q < 3; ++q)
          points[q].x.push_back(d.slip[k]), points[q].y.push_back(measured[q]);
      }
      for (int i = 0; i <= 40; ++i) {
        const double s = *lo + (*hi - *lo) * i / 40;
        const WheelPoint p = wheel_point(fitted, s, w, f.equilibrium, f.model);
        const double fitted_q[3] = {p.drawbar_pull, p.torque, p.sinkage * 1e3};
        for (int q = 0; q < 3; ++q) curves[q].x.push_back(s), curves[q].y.push_back(fitted_q[q]);
      }
      for (int q = 0; q < 3; ++q) {
        points[q].title = "W = " + number(w) + " N";
        points[q].line = false;
        curves[q].title = "W = " + number(w) + " N, fitted";
        curves[q].line = true;
        panels[q].series.push_back(points[q]);
        panels[q].series.push_back(curves[q]);
      }
    }
  }
  return report("wheel", r, o, {{"slip", &d.slip}, {"load", &d.load}}, out, err, panels);
}

bool parse_count(const std::string &text, long lo, long hi, long *value) {
  if (text.empty() || text.size() > 6 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  *value = std::stol(text);
  return *value >= lo && *value <= hi;
}

// Options that every fit takes, as NAME=VALUE into a map.
void add_assignments(CLI::App &app, const std::string &name, const std::string &help,
                     std::map<std::string, double> *into) {
  add_value_option(app, name, "NAME=VALUE", "NAME=VALUE with a finite number", help,
                   [into](const std::string &v) {
                     std::string key;
                     double value;
                     if (!split_assignment(v, &key, &value)) return false;
                     (*into)[key] = value;
                     return true;
                   })
      ->trigger_on_parse();
}

class FitCommand : public Command {
 public:
  void define(CLI::App &app) override {
    app.require_subcommand(0, 1);
    for (const char *kind : {"plate", "shear", "wheel"}) {
      CLI::App *sub = app.add_subcommand(kind, std::string("the ") + kind + " fit");
      sub->fallthrough();
      sub->group("Fits");
      sub->allow_extras();
      add_file_argument(*sub, &file_);
      subcommands_.push_back(sub);
    }
    add_assignments(app, "--set",
                    "plate, shear: hold that parameter at VALUE. wheel: a given talvor input "
                    "(wheelsoil slots talvor names them; shear_modulus sets kx and ky), the "
                    "start of a fitted one",
                    &o_.set);
    add_assignments(app, "--start", "a starting value (default: estimated from the data)",
                    &o_.start);
    add_assignments(app, "--lower", "a lower bound instead of the physical one", &o_.lower);
    add_assignments(app, "--upper", "an upper bound instead of the physical one", &o_.upper);
    add_assignments(app, "--sigma",
                    "wheel: the standard deviation of the measurements of quantity Q (default: "
                    "the RMS of its measured values)",
                    &o_.sigma);
    app.add_option("--soil", o_.soil,
                   "wheel: the soil inputs of a soil of the library (docs/soils.md lists them), "
                   "before --set")
        ->type_name("NAME");
    add_value_option(app, "--fit", "NAMES", "input names separated by commas",
                     "wheel: the inputs to fit, comma-separated (c1,c2,c3,c4)",
                     [this](const std::string &v) {
                       o_.fit_given = true;
                       o_.fit_names.clear();
                       std::istringstream names(v);
                       std::string n;
                       while (std::getline(names, n, ','))
                         if (!n.empty()) o_.fit_names.push_back(n);
                       return true;
                     });
    app.add_flag("--hump", o_.hump, "shear: the hump law with kr");
    add_value_option(app, "--max-iterations", "N", "a whole number from 1",
                     "solver iterations allowed (200)", [this](const std::string &v) {
                       long count;
                       if (!parse_count(v, 1, 100000, &count)) return false;
                       o_.max_iterations = int(count);
                       return true;
                     });
    app.add_option("--residuals", o_.residuals,
                   "write each row's measured, fitted and residual values to FILE")
        ->type_name("FILE");
    app.add_option("--plot", o_.plot,
                   "draw the data against the fitted curves as a PNG, through gnuplot (which "
                   "must be on the PATH)")
        ->type_name("FILE");
    app.footer(help_text);
  }

  // The fits have no hook to stop at: a signal ends the tool.
  bool stoppable() const override { return false; }

  std::string extra_argument(const CLI::App &app, const std::string &arg) const override {
    if (app.get_subcommands().empty()) return "unknown fit '" + arg + "' (plate, shear or wheel)";
    return "more than one FILE given";
  }

  int run(Context &context) override {
    for (CLI::App *sub : subcommands_)
      if (sub->parsed()) return run_kind(context, sub->get_name());
    return usage_error(context, "no fit given: plate, shear or wheel");
  }

  int run_kind(Context &context, const std::string &kind) {
    if (kind != "wheel" &&
        (!o_.soil.empty() || o_.fit_given || !o_.sigma.empty() || context.run.threads_given))
      return usage_error(context, "--soil, --fit, --sigma and --threads are for the wheel fit");
    if (kind != "shear" && o_.hump) return usage_error(context, "--hump is for the shear fit");
    // Never more threads than the hardware has (the runs are counted later).
    o_.threads = fitted_threads(context.run.threads_given ? context.run.threads : 0,
                                std::numeric_limits<std::size_t>::max());
    std::string text;
    if (const int status = read_text(context, file_, &text)) return status;
    if (kind == "plate") return run_plate(text, o_, context.io.out, context.io.err);
    if (kind == "shear") return run_shear(text, o_, context.io.out, context.io.err);
    return run_wheel(text, o_, context.io.out, context.io.err);
  }

 private:
  std::vector<CLI::App *> subcommands_;
  Common o_;
  std::string file_;
};

const CommandRegistration registration{
    {"fit", "soil and wheel parameters from plate-sinkage, shear and single-wheel test data", 50,
     [] { return std::make_unique<FitCommand>(); }}};

}  // namespace

int fit_command(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
                std::ostream &err) {
  std::vector<std::string> all{"fit"};
  all.insert(all.end(), args.begin(), args.end());
  Io io{in, out, err};
  return run_wheelsoil(all, io);
}

}  // namespace wheelsoil::detail::cli
