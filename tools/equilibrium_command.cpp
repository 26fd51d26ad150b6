#include "equilibrium_command.h"

#include <wheelsoil/wheelsoil.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "command.h"
#include "csv_writer.h"
#include "model_command.h"
#include "tool_io.h"
#include "slot_tables.h"
#include "vector_reader.h"

namespace wheelsoil::detail::cli {

namespace {

const char help_text[] =
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
    "  wheelsoil: vector K: reason\n";

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

// Operating points solved per call of the batch: their results (half a
// kilobyte each, with the message) are held for one chunk only.
constexpr std::size_t chunk = 1024;

class EquilibriumCommand : public Command {
 public:
  void define(CLI::App &app) override {
    add_value_option(app, "--load", "W", "a positive number of newtons",
                     "the vertical load, a positive number of newtons (required)",
                     [this](const std::string &v) {
                       double w;
                       if (!parse_number(v, &w) || !(w > 0) || !(w < HUGE_VAL)) return false;
                       load_ = w;
                       return true;
                     });
    add_file_argument(app, &file_);
    app.footer(help_text);
  }

  int run(Context &context) override;

 private:
  std::string file_;
  double load_ = 0;
};

int EquilibriumCommand::run(Context &context) {
  if (!(load_ > 0)) return usage_error(context, "--load W is required");
  static const EquilibriumTable table;
  InputVectors vectors;
  if (const int status = read_input(context, file_, table.table, &vectors)) return status;

  // The rows and one chunk of results before any work.
  const std::size_t count = vectors.count;
  std::vector<double> rows;
  std::vector<wheelsoil_equilibrium_result> results;
  try {
    rows.resize(count * 23);
    results.resize(std::min(chunk, count));
  } catch (const std::bad_alloc &) {
    context.io.err << "wheelsoil: out of memory: the results of " << count
                   << " operating points do not fit\n";
    return exit_bad_input;
  }

  // The default thread count is one: every solve on the calling thread.
  const unsigned threads =
      context.run.threads_given ? fitted_threads(context.run.threads, count) : 1;
  const wheelsoil_equilibrium_options options = wheelsoil_equilibrium_defaults();
  std::size_t finished = 0;
  bool all_solved = true;
  std::string messages;
  {
    Progress progress(context, count, "operating points");
    while (finished < count && !stop_signal()) {
      const std::size_t n = std::min(chunk, count - finished);
      std::size_t done = 0;
      progress.offset = finished;
      const int code = wheelsoil_equilibrium_batch(
          vectors.values.data() + finished * 29, n, 29, 1, &load_, 0, &options, threads,
          WHEELSOIL_DEFAULTS, Progress::hook, &progress, results.data(), &done);
      if (code != WHEELSOIL_OK && code != WHEELSOIL_STOPPED) return library_failure(context, code);
      // Rows of nan where no height carries the load.
      for (std::size_t i = 0; i < done; ++i) {
        const wheelsoil_equilibrium_result &r = results[i];
        const std::size_t k = finished + i;
        double *row = &rows[k * 23];
        const double nan = std::nan("");
        for (int j = 0; j < 18; ++j) row[j] = r.converged ? r.loads[j] : nan;
        row[18] = r.converged ? r.centre_height : nan;
        row[19] = r.converged ? r.sinkage : nan;
        row[20] = r.converged ? r.max_sinkage : nan;
        row[21] = r.converged ? 1 : 0;
        row[22] = r.iterations;
        if (!r.converged || !r.monotone)
          messages += "wheelsoil: vector " + std::to_string(k + 1) + ": " + r.message + '\n';
        all_solved = all_solved && r.converged;
      }
      finished += done;
    }
  }
  std::vector<double>().swap(vectors.values);

  context.io.err << messages;
  if (const int status = write_csv(context, table.table, rows.data(), finished)) return status;
  if (finished < count) {
    context.io.err << "wheelsoil: stopped by signal " << stop_signal() << " after " << finished
                   << " of " << count << " operating points; their results are written\n";
    return stop_status();
  }
  return all_solved ? exit_ok : exit_incomplete;
}

const CommandRegistration registration{{"equilibrium",
                                        "talvor at the centre height that carries a load W", 30,
                                        [] { return std::make_unique<EquilibriumCommand>(); }}};

}  // namespace

int equilibrium_command(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
                        std::ostream &err) {
  std::vector<std::string> all{"equilibrium"};
  all.insert(all.end(), args.begin(), args.end());
  Io io{in, out, err};
  return run_wheelsoil(all, io);
}

}  // namespace wheelsoil::detail::cli
