#include "equilibrium_command.h"

#include <wheelsoil/equilibrium.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "csv_writer.h"
#include "slot_tables.h"
#include "vector_reader.h"

namespace wheelsoil::detail::cli {

namespace {

constexpr int exit_ok = 0;
constexpr int exit_bad_input = 1;
constexpr int exit_usage = 2;
constexpr int exit_not_solved = 3;

const char usage_text[] = "usage: wheelsoil equilibrium --load W [--threads N] [FILE]\n";

const char help_text[] =
    "\n"
    "The operating point of each talvor input vector: the centre height at which\n"
    "the soil carries the wheel load W (N), rim_fz + side_fz = W to 1e-10 W (or,\n"
    "where the force changes faster than that between adjacent heights, at the\n"
    "closest height, if within 1e-6 W).\n"
    "The search runs from no sinkage to one radius of sinkage at the wheel's\n"
    "lowest edge; the centre_height given is ignored (a header may leave it out).\n"
    "Input as for wheelsoil talvor (see wheelsoil --help).\n"
    "\n"
    "Output: CSV, the 18 talvor loads at the solved height, then\n"
    "  centre_height  solved wheel-centre height (m)\n"
    "  sinkage        sinkage at the wheel's mid-plane (m)\n"
    "  max_sinkage    sinkage at the lowest edge (m)\n"
    "  converged      1, or 0 when no height carries W (the row is then nan)\n"
    "  iterations     model evaluations used\n"
    "Each vector without an operating point, and each whose vertical force does\n"
    "not fall steadily through W, is named on standard error:\n"
    "  wheelsoil: vector K: reason\n"
    "\n"
    "Options:\n"
    "  --load W     the vertical load, a positive number of newtons (required)\n"
    "  --threads N  solve on N threads (0: one per hardware thread); the results\n"
    "               do not depend on it\n"
    "  --help, -h   this text\n"
    "\n"
    "Exit status: 0 all solved; 1 bad input; 2 usage error; 3 results written but\n"
    "some vectors have no operating point.\n";

int usage_error(std::ostream &err, const std::string &message) {
  err << "wheelsoil: " << message << '\n'
      << usage_text << "(wheelsoil equilibrium --help tells more)\n";
  return exit_usage;
}

// The talvor inputs with centre_height optional: it is what gets solved.
struct EquilibriumTable {
  Slot inputs[29];
  OutputSlot outputs[23];
  ModelTable table;

  EquilibriumTable() {
    std::copy(talvor_table.inputs, talvor_table.inputs + 29, inputs);
    const std::size_t h = find_input(talvor_table, "centre_height", std::strlen("centre_height"));
    inputs[h].kind = DefaultKind::constant;
    inputs[h].value = 0;
    inputs[h].meaning = "ignored: the height is solved";
    std::copy(talvor_table.outputs, talvor_table.outputs + 18, outputs);
    outputs[18] = {"centre_height", 18, "m", "solved wheel-centre height"};
    outputs[19] = {"sinkage", 19, "m", "sinkage at the mid-plane"};
    outputs[20] = {"max_sinkage", 20, "m", "sinkage at the lowest edge"};
    outputs[21] = {"converged", 21, "-", "1 solved, 0 not"};
    outputs[22] = {"iterations", 22, "-", "model evaluations used"};
    table = {"equilibrium", "the operating point at a wheel load", inputs, 29, outputs, 23, nullptr,
             nullptr};
  }
};

bool parse_threads(const std::string &text, unsigned *threads) {
  if (text.empty() || text.size() > 4) return false;
  unsigned v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + unsigned(c - '0');
  }
  if (v > 1024) return false;
  *threads = v;
  return true;
}

}  // namespace

int equilibrium_command(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
                        std::ostream &err) {
  double load = 0;
  bool load_given = false;
  unsigned threads = 1;
  std::vector<std::string> files;
  bool options_done = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string &a = args[i];
    // --name VALUE or --name=VALUE; false if a is not that option.
    auto value_of = [&](const char *name, std::string *value, bool *missing) {
      const std::string eq = std::string(name) + "=";
      *missing = false;
      if (a == name) {
        if (i + 1 == args.size()) return *missing = true;
        *value = args[++i];
        return true;
      }
      if (a.rfind(eq, 0) != 0) return false;
      *value = a.substr(eq.size());
      return true;
    };
    std::string value;
    bool missing = false;
    if (options_done || a == "-" || a.empty() || a[0] != '-') {
      files.push_back(a);
    } else if (a == "--") {
      options_done = true;
    } else if (a == "--help" || a == "-h") {
      out << usage_text << help_text;
      return out.flush() ? exit_ok : exit_bad_input;
    } else if (value_of("--load", &value, &missing)) {
      if (missing || !parse_number(value, &load) || !(load > 0) || !(load < HUGE_VAL))
        return usage_error(err, "--load needs a positive number of newtons, not '" + value + "'");
      load_given = true;
    } else if (value_of("--threads", &value, &missing)) {
      if (missing || !parse_threads(value, &threads))
        return usage_error(err,
                           "--threads needs a whole number from 0 (one per hardware "
                           "thread) to 1024, not '" +
                               value + "'");
    } else {
      return usage_error(err, "unknown option '" + a + "'");
    }
  }
  if (!load_given) return usage_error(err, "--load W is required");
  if (files.size() > 1) return usage_error(err, "more than one FILE given");

  static const EquilibriumTable table;
  InputVectors vectors;
  InputError error;
  bool read;
  if (!files.empty() && files[0] != "-") {
    std::ifstream file(files[0]);
    if (!file) {
      err << "wheelsoil: " << files[0] << ": cannot open: " << std::strerror(errno) << '\n';
      return exit_bad_input;
    }
    read = read_vectors(file, table.table, &vectors, &error);
  } else {
    read = read_vectors(in, table.table, &vectors, &error);
  }
  if (!read) {
    err << "wheelsoil: line " << error.line << ": " << error.reason << '\n';
    return exit_bad_input;
  }

  std::vector<wheelsoil::EquilibriumResult> results(vectors.count);
  wheelsoil::BatchOptions batch;
  batch.threads = threads;
  try {
    wheelsoil::solve_equilibrium_batch(wheelsoil::packed(vectors.values.data(), vectors.count, 29),
                                       &load, 0, results.data(), batch);
  } catch (const wheelsoil::Error &e) {
    err << "wheelsoil: " << e.what() << '\n';
    return exit_bad_input;
  }

  // Rows of nan where no height carries the load.
  std::string text = header_line(table.table);
  std::vector<double> row(23);
  bool all_solved = true;
  for (std::size_t k = 0; k < results.size(); ++k) {
    const wheelsoil::EquilibriumResult &r = results[k];
    const double nan = std::nan("");
    const double *slot = &r.loads.rim_fx;
    for (int j = 0; j < 18; ++j) row[j] = r.converged ? slot[j] : nan;
    row[18] = r.converged ? r.centre_height : nan;
    row[19] = r.converged ? r.sinkage : nan;
    row[20] = r.converged ? r.max_sinkage : nan;
    row[21] = r.converged ? 1 : 0;
    row[22] = r.iterations;
    append_rows(&text, table.table, row.data(), 1);
    if (!r.converged || !r.monotone)
      err << "wheelsoil: vector " << k + 1 << ": " << r.message << '\n';
    all_solved = all_solved && r.converged;
  }
  if (!(out << text).flush()) {
    err << "wheelsoil: cannot write the results\n";
    return exit_bad_input;
  }
  return all_solved ? exit_ok : exit_not_solved;
}

}  // namespace wheelsoil::detail::cli
