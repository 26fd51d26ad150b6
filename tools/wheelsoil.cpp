// wheelsoil: the talvor and pindrel models from the command line. Reads input
// vectors from a file or standard input and writes the results as CSV.
#include <unistd.h>
#include <wheelsoil/wheelsoil.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "contact_command.h"
#include "csv_writer.h"
#include "equilibrium_command.h"
#if WHEELSOIL_HAS_FIT
#include "fit_command.h"
#endif
#include "slot_tables.h"
#include "vector_reader.h"

namespace {

using namespace wheelsoil::detail::cli;

constexpr int exit_ok = 0;
constexpr int exit_bad_input = 1;
constexpr int exit_usage = 2;
constexpr unsigned max_threads = 1024;

const char usage_text[] =
    "usage: wheelsoil talvor [--threads N] [--math standard|vector] [--rule fixed|split]\n"
    "                        [--direction-aware] [FILE]\n"
    "       wheelsoil pindrel [--threads N] [FILE]\n"
    "       wheelsoil equilibrium --load W [--threads N] [FILE]\n"
    "       wheelsoil contact [--y LIST] [--theta LIST|FROM:TO:N] [--direction-aware] [FILE]\n"
#if WHEELSOIL_HAS_FIT
    "       wheelsoil fit plate|shear|wheel [options] [FILE]\n"
#endif
    "       wheelsoil slots talvor|pindrel\n"
    "       wheelsoil --help | --version\n";

void print_slots_help(const ModelTable &m) {
  std::printf("\n%s inputs (%zu slots, in this order without a header):\n", m.name, m.n_inputs);
  for (std::size_t k = 0; k < m.n_inputs; ++k) {
    const Slot &s = m.inputs[k];
    std::string deflt;
    switch (s.kind) {
      case DefaultKind::required: deflt = "required"; break;
      case DefaultKind::constant: append_number(&deflt, s.value), deflt = "= " + deflt; break;
      case DefaultKind::copy: deflt = std::string("= ") + m.inputs[s.source].name; break;
    }
    std::printf("  %2zu %-19s %-16s %-10s %s\n", s.index, s.name, deflt.c_str(), s.unit, s.meaning);
  }
  std::printf("%s outputs (CSV columns):\n", m.name);
  for (std::size_t k = 0; k < m.n_outputs; ++k) {
    const OutputSlot &o = m.outputs[k];
    std::printf("  %2zu %-19s %-4s %s\n", o.index, o.name, o.unit, o.meaning);
  }
}

void print_help() {
  std::fputs(usage_text, stdout);
  std::fputs(
      "\n"
      "Evaluates the wheel-soil models for many input vectors at once.\n"
      "  talvor   the full model: 29 inputs, 18 loads (forces in N, moments in N m,\n"
      "           exerted by the soil on the wheel; x forward, y along the axle, z up)\n"
      "  pindrel  the simplified model: 20 inputs, the vertical load (N)\n"
      "  slots    lists a model's input slots as CSV: slot,name,default\n"
      "  equilibrium  talvor at the centre height that carries a load W\n"
      "           (wheelsoil equilibrium --help tells more)\n"
      "  contact  talvor's contact angles, sinkages and rim stress profiles\n"
      "           (wheelsoil contact --help tells more)\n"
#if WHEELSOIL_HAS_FIT
      "  fit      soil and wheel parameters from plate-sinkage, shear and\n"
      "           single-wheel test data (wheelsoil fit --help tells more)\n"
#endif
      "\n"
      "Input, from FILE or, without FILE or with FILE '-', standard input:\n"
      "  one input vector a line; values separated by commas and/or whitespace;\n"
      "  '#' starts a comment to the end of the line; blank lines are skipped.\n"
      "  Values are decimal numbers or nan, inf, -inf (any case). They are used\n"
      "  unchanged: SI units, angles in radians.\n"
      "  Without a header every line holds all the model's inputs in slot order.\n"
      "  If the first field of the first non-comment line is not a number, that\n"
      "  line is a header naming the slots of the columns below it, in any order;\n"
      "  every required slot must be named, each at most once, and slots left out\n"
      "  take the defaults listed below (the defaults of talvor_input and\n"
      "  pindrel_input in Octave/MATLAB).\n"
      "  The whole input is read and checked before anything is computed: a\n"
      "  refused input writes no results. The first fault stops the run with\n"
      "    wheelsoil: line N: reason\n"
      "  on standard error: a line with the wrong number of values, a value that\n"
      "  is not a number, an unknown or repeated header name, a missing required\n"
      "  slot, or an input without vectors.\n"
      "\n"
      "Output, to standard output: CSV, a header row of the output names, then\n"
      "one row per input vector in input order, each value printed with %.17g\n"
      "(it reads back to the same double), nan, inf or -inf.\n"
      "\n"
      "Options:\n"
      "  --threads N  evaluate on N threads (0: one per hardware thread) through\n"
      "               the batch path; the results are the same bits as without it.\n"
      "               Without it every vector is one plain model call.\n"
      "  --math M     talvor's elementary functions: standard (the default, the C\n"
      "               library's, the documented bits) or vector (SLEEF's\n"
      "               deterministic vector functions: several times faster, the\n"
      "               same bits on every x86-64 machine, within 1e-11 of standard\n"
      "               relative to the largest load)\n"
      "  --rule R     how talvor integrates the rim: fixed (the default, the\n"
      "               documented 30 x 30 rule) or split (each strip split at its\n"
      "               maximum-stress angles: within about 1e-7 of the exact\n"
      "               integral and smooth in the slip; not with --math vector)\n"
      "  --direction-aware  talvor evaluates a wheel travelling in -x (vx < 0, or\n"
      "               vx = 0 and wy < 0) in the mirrored frame: the mirrored loads\n"
      "               of the same wheel travelling forward\n"
      "  --help, -h   this text\n"
      "  --version    the version\n"
      "  --           ends the options (for a FILE whose name starts with '-')\n"
      "A progress line appears on standard error during long runs, only when\n"
      "standard error is a terminal.\n"
      "\n"
      "Exit status: 0 done; 1 bad input (refused input, FILE not readable, output\n"
      "not writable); 2 usage error (unknown model, option or argument).\n",
      stdout);
  print_slots_help(talvor_table);
  print_slots_help(pindrel_table);
  std::fputs(
      "\nExamples:\n"
      "  wheelsoil talvor vectors.txt > loads.csv     29 numbers a line, slot order\n"
      "  wheelsoil talvor --threads 0 < sweep.csv     a CSV table with a header row\n"
      "  wheelsoil slots pindrel                      names and defaults for a header\n",
      stdout);
}

int usage_error(const std::string &message) {
  std::fprintf(stderr, "wheelsoil: %s\n%s(wheelsoil --help tells more)\n", message.c_str(),
               usage_text);
  return exit_usage;
}

int list_slots(const ModelTable &m) {
  std::string out = "slot,name,default\n";
  for (std::size_t k = 0; k < m.n_inputs; ++k) {
    const Slot &s = m.inputs[k];
    out += std::to_string(s.index) + ',' + s.name + ',';
    switch (s.kind) {
      case DefaultKind::required: out += "required"; break;
      case DefaultKind::constant: append_number(&out, s.value); break;
      case DefaultKind::copy: out += std::string("=") + m.inputs[s.source].name; break;
    }
    out += '\n';
  }
  std::fputs(out.c_str(), stdout);
  return std::fflush(stdout) == 0 ? exit_ok : exit_bad_input;
}

// The progress line on a terminal's standard error, drawn only once a run has
// lasted half a second, and at most five times a second.
class Progress {
 public:
  Progress(std::size_t total, bool enabled)
      : total_(total), enabled_(enabled), start_(std::chrono::steady_clock::now()), last_(start_) {}

  void update(std::size_t done) {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ < std::chrono::milliseconds(500) ||
        (drawn_ && now - last_ < std::chrono::milliseconds(200)))
      return;
    std::fprintf(stderr, "\rwheelsoil: %zu of %zu vectors", done, total_);
    std::fflush(stderr);
    drawn_ = true;
    last_ = now;
  }

  void finish() {
    if (drawn_) std::fputs("\r\033[K", stderr);
  }

 private:
  std::size_t total_;
  bool enabled_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point start_, last_;
};

// Evaluates every vector, in blocks so that the progress line can move.
void evaluate_all(const ModelTable &m, const InputVectors &in, std::vector<double> *results,
                  bool batch, unsigned threads) {
  constexpr std::size_t block = 1024;
  results->assign(in.count * m.n_outputs, 0.0);
  Progress progress(in.count, isatty(STDERR_FILENO) == 1);
  for (std::size_t begin = 0; begin < in.count; begin += block) {
    const std::size_t n = std::min(block, in.count - begin);
    const double *inputs = in.values.data() + begin * m.n_inputs;
    double *outputs = results->data() + begin * m.n_outputs;
    if (batch) {
      m.evaluate_batch(inputs, outputs, n, threads);
    } else {
      for (std::size_t k = 0; k < n; ++k)
        m.evaluate(outputs + k * m.n_outputs, inputs + k * m.n_inputs);
    }
    progress.update(begin + n);
  }
  progress.finish();
}

// Writes the CSV in pieces; false if standard output refused it.
bool write_results(const ModelTable &m, const std::vector<double> &results, std::size_t count) {
  constexpr std::size_t rows_per_write = 4096;
  std::string text = header_line(m);
  for (std::size_t begin = 0; begin < count; begin += rows_per_write) {
    const std::size_t n = std::min(rows_per_write, count - begin);
    append_rows(&text, m, results.data() + begin * m.n_outputs, n);
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) return false;
    text.clear();
  }
  return std::fflush(stdout) == 0;
}

// talvor with the vector maths, one vector and many (the checks were made).
void talvor_vector(double *out, const double *in) {
  wheelsoil_talvor_ex(in, 29, out, WHEELSOIL_MATH_VECTOR);
}
void talvor_vector_batch(const double *inputs, double *outputs, std::size_t count,
                         unsigned threads) {
  wheelsoil_talvor_batch_ex(inputs, count, 29, 1, outputs, threads, WHEELSOIL_MATH_VECTOR, nullptr,
                            nullptr, nullptr);
}

// talvor with the option bits of --math, --rule and --direction-aware.
unsigned talvor_flags = WHEELSOIL_DEFAULTS;
void talvor_flagged(double *out, const double *in) {
  wheelsoil_talvor_ex(in, 29, out, talvor_flags);
}
void talvor_flagged_batch(const double *inputs, double *outputs, std::size_t count,
                          unsigned threads) {
  wheelsoil_talvor_batch_ex(inputs, count, 29, 1, outputs, threads, talvor_flags, nullptr, nullptr,
                            nullptr);
}

// wheelsoil contact: its options, then the subcommand.
int contact_main(int argc, char **argv) {
  ContactOptions options;
  bool options_done = false, have_file = false;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    std::string name = a, value;
    if (!options_done &&
        (a == "--y" || a == "--theta" || a.rfind("--y=", 0) == 0 || a.rfind("--theta=", 0) == 0)) {
      const std::size_t eq = a.find('=');
      if (eq != std::string::npos) {
        name = a.substr(0, eq);
        value = a.substr(eq + 1);
      } else if (i + 1 == argc) {
        return usage_error(a + " needs a list of values");
      } else {
        value = argv[++i];
      }
      std::string why;
      if (!parse_value_list(value, name == "--theta", name == "--y" ? &options.y : &options.theta,
                            &why))
        return usage_error(name + ": " + why);
    } else if (!options_done && a == "--direction-aware") {
      options.direction_aware = true;
    } else if (!options_done && (a == "--help" || a == "-h")) {
      std::fputs(contact_help_text, stdout);
      return std::fflush(stdout) == 0 ? exit_ok : exit_bad_input;
    } else if (!options_done && a == "--") {
      options_done = true;
    } else if (!options_done && a.size() > 1 && a[0] == '-') {
      return usage_error("unknown contact option '" + a + "'");
    } else if (have_file) {
      return usage_error("more than one FILE given");
    } else {
      options.file = a;
      have_file = true;
    }
  }
  std::ios::sync_with_stdio(false);
  return contact_command(options, std::cin, std::cout, std::cerr);
}

// Whether this library has the vector maths.
bool vector_math_built() {
  const double in[29] = {};
  double out[18];
  return wheelsoil_talvor_ex(in, 29, out, WHEELSOIL_MATH_VECTOR) != WHEELSOIL_ERROR_UNAVAILABLE;
}

bool parse_threads(const std::string &text, unsigned *threads) {
  if (text.empty() || text.size() > 4) return false;
  unsigned v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + unsigned(c - '0');
  }
  if (v > max_threads) return false;
  *threads = v;
  return true;
}

}  // namespace

int main(int argc, char **argv) {
  // The operating point has options of its own.
  if (argc > 1 && std::strcmp(argv[1], "equilibrium") == 0)
    return equilibrium_command(std::vector<std::string>(argv + 2, argv + argc), std::cin, std::cout,
                               std::cerr);
  if (argc > 1 && std::strcmp(argv[1], "contact") == 0) return contact_main(argc, argv);
#if WHEELSOIL_HAS_FIT
  if (argc > 1 && std::strcmp(argv[1], "fit") == 0)
    return fit_command(std::vector<std::string>(argv + 2, argv + argc), std::cin, std::cout,
                       std::cerr);
#endif
  std::vector<std::string> words;
  bool batch = false;
  unsigned threads = 0;
  bool vector_math = false;
  bool split_rule = false, direction_aware = false;
  bool options_done = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (options_done || a == "-" || a.empty() || a[0] != '-') {
      words.push_back(a);
    } else if (a == "--") {
      options_done = true;
    } else if (a == "--help" || a == "-h") {
      print_help();
      return std::fflush(stdout) == 0 ? exit_ok : exit_bad_input;
    } else if (a == "--version") {
      std::printf("wheelsoil %s\n", wheelsoil_version());
      return exit_ok;
    } else if (a == "--threads" || a.rfind("--threads=", 0) == 0) {
      std::string value;
      if (a == "--threads") {
        if (i + 1 == argc) return usage_error("--threads needs a number");
        value = argv[++i];
      } else {
        value = a.substr(std::strlen("--threads="));
      }
      if (!parse_threads(value, &threads))
        return usage_error("--threads needs a whole number from 0 (one per hardware thread) to " +
                           std::to_string(max_threads) + ", not '" + value + "'");
      batch = true;
    } else if (a == "--math" || a.rfind("--math=", 0) == 0) {
      std::string value;
      if (a == "--math") {
        if (i + 1 == argc) return usage_error("--math needs standard or vector");
        value = argv[++i];
      } else {
        value = a.substr(std::strlen("--math="));
      }
      if (value != "standard" && value != "vector")
        return usage_error("--math needs standard or vector, not '" + value + "'");
      vector_math = value == "vector";
    } else if (a == "--rule" || a.rfind("--rule=", 0) == 0) {
      std::string value;
      if (a == "--rule") {
        if (i + 1 == argc) return usage_error("--rule needs fixed or split");
        value = argv[++i];
      } else {
        value = a.substr(std::strlen("--rule="));
      }
      if (value != "fixed" && value != "split")
        return usage_error("--rule needs fixed or split, not '" + value + "'");
      split_rule = value == "split";
    } else if (a == "--direction-aware") {
      direction_aware = true;
    } else {
      return usage_error("unknown option '" + a + "'");
    }
  }
  if (words.empty()) return usage_error("no model given");

  if (words[0] == "slots") {
    if (words.size() != 2) return usage_error("slots needs one model: talvor or pindrel");
    const ModelTable *m = find_model(words[1].c_str());
    if (!m) return usage_error("unknown model '" + words[1] + "' (talvor or pindrel)");
    return list_slots(*m);
  }
  const ModelTable *model = find_model(words[0].c_str());
  if (!model) return usage_error("unknown model '" + words[0] + "' (talvor or pindrel)");
  if (words.size() > 2) return usage_error("more than one FILE given");
  ModelTable chosen = *model;
  if (vector_math) {
    if (model != &talvor_table) return usage_error("--math vector is for talvor only");
    if (!vector_math_built())
      return usage_error("this wheelsoil was built without vector maths (SLEEF)");
    chosen.evaluate = talvor_vector;
    chosen.evaluate_batch = talvor_vector_batch;
    model = &chosen;
  }
  if (split_rule || direction_aware) {
    if (model->n_inputs != 29)
      return usage_error("--rule and --direction-aware are for talvor only");
    if (split_rule && vector_math)
      return usage_error("--rule split takes --math standard (the C library's functions)");
    talvor_flags = (vector_math ? WHEELSOIL_MATH_VECTOR : 0u) |
                   (split_rule ? WHEELSOIL_SPLIT_RULE : 0u) |
                   (direction_aware ? WHEELSOIL_DIRECTION_AWARE : 0u);
    chosen.evaluate = talvor_flagged;
    chosen.evaluate_batch = talvor_flagged_batch;
    model = &chosen;
  }

  std::ios::sync_with_stdio(false);
  InputVectors vectors;
  InputError error;
  bool read;
  if (words.size() == 2 && words[1] != "-") {
    std::ifstream file(words[1]);
    if (!file) {
      std::fprintf(stderr, "wheelsoil: %s: cannot open: %s\n", words[1].c_str(),
                   std::strerror(errno));
      return exit_bad_input;
    }
    read = read_vectors(file, *model, &vectors, &error);
  } else {
    if (isatty(STDIN_FILENO) == 1)
      std::fprintf(stderr,
                   "wheelsoil: reading %s input vectors from the terminal; end with Ctrl-D\n",
                   model->name);
    read = read_vectors(std::cin, *model, &vectors, &error);
  }
  if (!read) {
    std::fprintf(stderr, "wheelsoil: line %zu: %s\n", error.line, error.reason.c_str());
    return exit_bad_input;
  }

  std::vector<double> results;
  evaluate_all(*model, vectors, &results, batch, threads);
  if (!write_results(*model, results, vectors.count)) {
    std::fprintf(stderr, "wheelsoil: cannot write the results: %s\n", std::strerror(errno));
    return exit_bad_input;
  }
  return exit_ok;
}
