// The wheelsoil program end to end: the reference vectors through the tool
// give the models' own bits, header tables equal plain vectors, threads change
// nothing, and every refusal stops with its line, its reason, its exit status
// and no results.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <wheelsoil/wheelsoil.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "csv_writer.h"
#include "golden.h"
#include "slot_tables.h"

namespace {

using wheelsoil::detail::cli::append_number;

struct ToolRun {
  int status = -1;
  std::string out, err;
};

std::string slurp(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs the tool with args, input on standard input.
ToolRun run_tool(const std::string &args, const std::string &input) {
  // CTest runs tests in parallel: the files are this process's own.
  static int runs = 0;
  const std::string stem =
      testing::TempDir() + "wheelsoil_" + std::to_string(getpid()) + "_" + std::to_string(++runs);
  const std::string in = stem + "_in.txt", out = stem + "_out.txt", err = stem + "_err.txt";
  std::ofstream(in, std::ios::binary) << input;
  const std::string command = std::string("'") + WHEELSOIL_TOOL + "' " + args + " < '" + in +
                              "' > '" + out + "' 2> '" + err + "'";
  const int raw = std::system(command.c_str());
  ToolRun r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = slurp(out);
  r.err = slurp(err);
  for (const std::string &f : {in, out, err}) std::remove(f.c_str());
  return r;
}

std::string vector_line(const std::vector<double> &v, const char *separator = " ") {
  std::string s;
  for (std::size_t k = 0; k < v.size(); ++k) {
    if (k) s += separator;
    append_number(&s, v[k]);
  }
  return s + '\n';
}

// The rows of the tool's CSV output under its header.
std::vector<std::vector<double>> parse_csv(const std::string &text, std::string *header) {
  std::istringstream in(text);
  std::getline(in, *header);
  std::vector<std::vector<double>> rows;
  std::string line;
  while (std::getline(in, line)) {
    std::vector<double> row;
    std::istringstream fields(line);
    std::string f;
    while (std::getline(fields, f, ',')) row.push_back(std::strtod(f.c_str(), nullptr));
    rows.push_back(row);
  }
  return rows;
}

std::string expected_header(const wheelsoil::detail::cli::ModelTable &m) {
  std::string h;
  for (std::size_t k = 0; k < m.n_outputs; ++k)
    h += (k ? "," : "") + std::string(m.outputs[k].name);
  return h;
}

struct GoldenModel {
  const char *file;
  const wheelsoil::detail::cli::ModelTable *table;
  double tolerance;  // against the reference file; the model's own bits are exact
};

void PrintTo(const GoldenModel &g, std::ostream *os) { *os << g.table->name; }

class ToolOnReferenceVectors : public testing::TestWithParam<GoldenModel> {};

TEST_P(ToolOnReferenceVectors, GivesTheModelsBits) {
  const GoldenModel &g = GetParam();
  const auto cases = golden::load(g.file, g.table->n_inputs, g.table->n_outputs);
  std::string input = "# reference vectors\n";
  for (const auto &c : cases) input += vector_line(c.inputs);
  const ToolRun r = run_tool(g.table->name, input);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  std::string header;
  const auto rows = parse_csv(r.out, &header);
  EXPECT_EQ(header, expected_header(*g.table));
  ASSERT_EQ(rows.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    std::vector<double> own(g.table->n_outputs);
    g.table->evaluate(own.data(), cases[i].inputs.data());
    ASSERT_EQ(rows[i].size(), own.size()) << cases[i].name;
    for (std::size_t k = 0; k < own.size(); ++k)
      EXPECT_TRUE(golden::same_value(rows[i][k], own[k]))
          << cases[i].name << " slot " << k << ": " << rows[i][k] << " vs " << own[k];
    const double tolerance = cases[i].name == "small_front_span" ? 1e-9 : g.tolerance;
    EXPECT_LE(golden::relative_error(rows[i], cases[i].outputs), tolerance) << cases[i].name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Models, ToolOnReferenceVectors,
    testing::Values(GoldenModel{"talvor.txt", &wheelsoil::detail::cli::talvor_table, 1e-12},
                    GoldenModel{"pindrel.txt", &wheelsoil::detail::cli::pindrel_table, 1e-12}),
    [](const auto &param_info) { return std::string(param_info.param.table->name); });

// The reference vectors as plain lines and as a table in shuffled column order.
class ToolTables : public testing::TestWithParam<GoldenModel> {
 protected:
  void SetUp() override {
    const GoldenModel &g = GetParam();
    for (const auto &c : golden::load(g.file, g.table->n_inputs, g.table->n_outputs)) {
      inputs.push_back(c.inputs);
      plain += vector_line(c.inputs);
    }
  }
  std::vector<std::vector<double>> inputs;
  std::string plain;
};

TEST_P(ToolTables, HeaderInShuffledOrderEqualsPlainVectors) {
  const auto &m = *GetParam().table;
  std::vector<std::size_t> order(m.n_inputs);
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = (k * 7 + 3) % m.n_inputs;
  ASSERT_TRUE(std::is_permutation(order.begin(), order.end(),
                                  [&] {
                                    std::vector<std::size_t> identity(m.n_inputs);
                                    for (std::size_t k = 0; k < identity.size(); ++k)
                                      identity[k] = k;
                                    return identity;
                                  }()
                                      .begin()));
  std::string table;
  for (std::size_t k = 0; k < order.size(); ++k)
    table += (k ? ", " : "") + std::string(m.inputs[order[k]].name);
  table += "\n";
  for (const auto &v : inputs) {
    std::vector<double> shuffled;
    for (std::size_t k : order) shuffled.push_back(v[k]);
    table += vector_line(shuffled, ",");
  }
  const ToolRun a = run_tool(m.name, plain), b = run_tool(m.name, table);
  ASSERT_EQ(a.status, 0) << a.err;
  ASSERT_EQ(b.status, 0) << b.err;
  EXPECT_EQ(a.out, b.out);
}

TEST_P(ToolTables, OmittedSlotsTakeTheirDefaults) {
  const auto &m = *GetParam().table;
  std::string header;
  for (std::size_t k = 0; k < m.n_inputs; ++k)
    if (m.inputs[k].kind == wheelsoil::detail::cli::DefaultKind::required)
      header += (header.empty() ? "" : ",") + std::string(m.inputs[k].name);
  std::string table = header + "\n", filled;
  for (auto v : inputs) {
    std::vector<double> given;
    for (std::size_t k = 0; k < m.n_inputs; ++k) {
      const auto &s = m.inputs[k];
      if (s.kind == wheelsoil::detail::cli::DefaultKind::required) given.push_back(v[k]);
    }
    for (std::size_t k = 0; k < m.n_inputs; ++k) {
      const auto &s = m.inputs[k];
      if (s.kind == wheelsoil::detail::cli::DefaultKind::constant) v[k] = s.value;
      if (s.kind == wheelsoil::detail::cli::DefaultKind::copy) v[k] = v[s.source];
    }
    table += vector_line(given, ",");
    filled += vector_line(v);
  }
  const ToolRun a = run_tool(m.name, filled), b = run_tool(m.name, table);
  ASSERT_EQ(a.status, 0) << a.err;
  ASSERT_EQ(b.status, 0) << b.err;
  EXPECT_EQ(a.out, b.out);
}

TEST_P(ToolTables, ThreadsChangeNoByte) {
  const auto &m = *GetParam().table;
  std::string many;
  for (int k = 0; k < 40; ++k) many += plain;  // several blocks per thread
  const ToolRun one = run_tool(std::string(m.name) + " --threads 1", many);
  const ToolRun two = run_tool(std::string(m.name) + " --threads=2", many);
  const ToolRun plain_calls = run_tool(m.name, many);
  ASSERT_EQ(one.status, 0) << one.err;
  ASSERT_EQ(two.status, 0) << two.err;
  EXPECT_EQ(one.out, two.out);
  EXPECT_EQ(one.out, plain_calls.out);
}

TEST(Tool, VectorMathGivesTheVectorPathsBits) {
  const auto cases = golden::load("talvor.txt", 29, 18);
  std::string input;
  for (const auto &c : cases) input += vector_line(c.inputs);
  const ToolRun one = run_tool("talvor --math vector", input);
  double probe[18];
  if (wheelsoil_talvor_ex(cases[0].inputs.data(), 29, probe, WHEELSOIL_MATH_VECTOR) ==
      WHEELSOIL_ERROR_UNAVAILABLE) {
    EXPECT_EQ(one.status, 2);
    return;
  }
  ASSERT_EQ(one.status, 0) << one.err;
  EXPECT_EQ(run_tool("talvor --math=vector --threads 2", input).out, one.out);
  std::string header;
  const auto rows = parse_csv(one.out, &header);
  ASSERT_EQ(rows.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    double own[18];
    ASSERT_EQ(wheelsoil_talvor_ex(cases[i].inputs.data(), 29, own, WHEELSOIL_MATH_VECTOR), 0);
    for (int k = 0; k < 18; ++k)
      EXPECT_TRUE(golden::same_value(rows[i][k], own[k])) << cases[i].name << " slot " << k;
  }
  EXPECT_EQ(run_tool("talvor --math standard", input).out, run_tool("talvor", input).out);
}

TEST(Tool, RuleAndDirectionOptionsGiveTheLibrarysBits) {
  const auto cases = golden::load("talvor.txt", 29, 18);
  std::string input;
  for (const auto &c : cases) input += vector_line(c.inputs);
  for (const auto &[args, flags] :
       {std::pair<std::string, unsigned>{"talvor --rule split", WHEELSOIL_SPLIT_RULE},
        {"talvor --direction-aware --threads 2", WHEELSOIL_DIRECTION_AWARE},
        {"talvor --rule=split --direction-aware",
         WHEELSOIL_SPLIT_RULE | WHEELSOIL_DIRECTION_AWARE}}) {
    const ToolRun r = run_tool(args, input);
    ASSERT_EQ(r.status, 0) << r.err;
    std::string header;
    const auto rows = parse_csv(r.out, &header);
    ASSERT_EQ(rows.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
      double own[18];
      ASSERT_EQ(wheelsoil_talvor_ex(cases[i].inputs.data(), 29, own, flags), 0);
      for (int k = 0; k < 18; ++k)
        EXPECT_TRUE(golden::same_value(rows[i][k], own[k])) << args << " " << cases[i].name;
    }
  }
  EXPECT_EQ(run_tool("talvor --rule fixed", input).out, run_tool("talvor", input).out);
  EXPECT_EQ(run_tool("talvor --rule split --math vector", input).status, 2);
  EXPECT_EQ(run_tool("talvor --rule smooth", input).status, 2);
  EXPECT_EQ(run_tool("pindrel --direction-aware", "").status, 2);
  const ToolRun contact = run_tool("contact --theta 0:0.3:4 --y 0", input);
  ASSERT_EQ(contact.status, 0) << contact.err;
  EXPECT_EQ(std::count(contact.out.begin(), contact.out.end(), '\n'), 1 + 4 * long(cases.size()));
  EXPECT_EQ(run_tool("contact --theta 0:1", input).status, 2);
  EXPECT_EQ(run_tool("contact --frobnicate", input).status, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Models, ToolTables,
    testing::Values(GoldenModel{"talvor.txt", &wheelsoil::detail::cli::talvor_table, 0},
                    GoldenModel{"pindrel.txt", &wheelsoil::detail::cli::pindrel_table, 0}),
    [](const auto &param_info) { return std::string(param_info.param.table->name); });

TEST(Tool, ReadsAFileAndNonFiniteValues) {
  std::vector<double> v(20, 0.25);
  v[4] = NAN;         // spare_4: no effect on the load
  v[18] = -INFINITY;  // spare_18
  const std::string path =
      testing::TempDir() + "wheelsoil_file_" + std::to_string(getpid()) + ".txt";
  std::ofstream(path) << "NaN " + vector_line(v).substr(4);
  const ToolRun r = run_tool("pindrel '" + path + "'", "");
  ASSERT_EQ(r.status, 0) << r.err;
  v[0] = NAN;
  double own;
  ASSERT_EQ(wheelsoil_pindrel(v.data(), v.size(), &own), 0);
  std::string expected = "load\n";
  append_number(&expected, own);
  EXPECT_EQ(r.out, expected + "\n");
  std::remove(path.c_str());
}

struct Failure {
  const char *what;
  std::string args, input;
  int status;
  std::string err;  // the first line of standard error
};

void PrintTo(const Failure &f, std::ostream *os) { *os << f.what; }

class ToolRefuses : public testing::TestWithParam<Failure> {};

TEST_P(ToolRefuses, WithStatusMessageAndNoOutput) {
  const Failure &f = GetParam();
  const ToolRun r = run_tool(f.args, f.input);
  EXPECT_EQ(r.status, f.status);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.substr(0, r.err.find('\n')), f.err);
}

const std::string talvor_row = [] {
  std::string s;
  for (int k = 0; k < 29; ++k) s += "0.1 ";
  return s + "\n";
}();

INSTANTIATE_TEST_SUITE_P(
    Cases, ToolRefuses,
    testing::Values(
        Failure{"wrong count", "talvor", talvor_row + "# c\n0.1 0.2\n", 1,
                "wheelsoil: line 3: expected 29 values for talvor, found 2"},
        Failure{"not a number", "talvor",
                talvor_row + talvor_row.substr(0, 8) + "x" + talvor_row.substr(11), 1,
                "wheelsoil: line 2: value 3 'x' is not a number"},
        Failure{"empty input", "pindrel", "", 1,
                "wheelsoil: line 1: no input vectors (the input is empty)"},
        Failure{"unknown header name", "pindrel", "# t\nradius,widht\n1,2\n", 1,
                "wheelsoil: line 2: unknown slot name 'widht' for pindrel (wheelsoil slots "
                "pindrel lists them)"},
        Failure{"missing file", "talvor /nonexistent/vectors.txt", "", 1,
                "wheelsoil: /nonexistent/vectors.txt: cannot open: No such file or directory"},
        Failure{"no command", "", "", 2, "wheelsoil: no command given"},
        Failure{"unknown command", "talvorr", "", 2,
                "wheelsoil: unknown command 'talvorr' (talvor, pindrel, equilibrium, contact, slots, fit)"},
        Failure{"option of another command first", "--load 5 equilibrium", "", 2,
                "wheelsoil: option '--load' goes after 'equilibrium'"},
        Failure{"missing value", "talvor --threads", "", 2,
                "wheelsoil: --threads needs a whole number (0: one per hardware thread)"},
        Failure{"bad threads", "talvor --threads -1", "", 2,
                "wheelsoil: --threads needs a whole number (0: one per hardware thread), not '-1'"},
        Failure{"bad math", "talvor --math fast", "", 2,
                "wheelsoil: --math needs standard or vector, not 'fast'"},
        Failure{"vector pindrel", "pindrel --math vector", "", 2,
                "wheelsoil: unknown option '--math'"},
        Failure{"unknown option", "talvor --fast", "", 2, "wheelsoil: unknown option '--fast'"},
        Failure{"two files", "talvor a b", "", 2, "wheelsoil: more than one FILE given"}),
    [](const testing::TestParamInfo<Failure> &param_info) {
      std::string name = param_info.param.what;
      for (char &c : name)
        if (c == ' ') c = '_';
      return name;
    });

// Options before or after the command's name, as --name=value or --name
// value, repeated (the last counts): one run.
TEST(Tool, OptionsInAnyOrder) {
  const std::string wheel =
      "radius,width,centre_height,soil_density,cohesion,friction_angle,sinkage_exponent,k_c,"
      "k_phi,kx,ky,c1,c2,c3,c4,gravity,vx,wy\n"
      "0.13,0.16,0.12,1600,1040,0.48869219055841229,1.1,990,1528430,0.025,0.025,0.4,0.15,0.1,0,"
      "9.81,0.08,0.76923076923076927\n";
  const ToolRun after = run_tool("equilibrium --load 50 --threads 1", wheel);
  ASSERT_EQ(after.status, 0) << after.err;
  for (const char *args :
       {"--threads 1 equilibrium --load 50", "--threads=1 equilibrium --load=50 -",
        "--quiet equilibrium --threads 2 --load 20 --load 50",
        "equilibrium --load 50 --no-progress -- -"}) {
    const ToolRun r = run_tool(args, wheel);
    EXPECT_EQ(r.status, 0) << args << ": " << r.err;
    EXPECT_EQ(r.out, after.out) << args;
  }
}

TEST(Tool, HelpAndSlotsListing) {
  const ToolRun help = run_tool("--help", "");
  EXPECT_EQ(help.status, 0);
  for (const char *word : {"--threads", "--no-progress", "Exit status", "  3 ", "  130 ", "%.17g",
                           "equilibrium", "slots"})
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
  const ToolRun talvor = run_tool("talvor --help", ""), pindrel = run_tool("pindrel -h", "");
  EXPECT_EQ(talvor.status, 0);
  for (const char *word : {"--math", "--threads", "rim_my_copy", "Exit status"})
    EXPECT_NE(talvor.out.find(word), std::string::npos) << word;
  EXPECT_NE(pindrel.out.find("band_entry_angle"), std::string::npos);
  const ToolRun version = run_tool("--version", "");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("wheelsoil ") + wheelsoil_version() + "\n");
  const ToolRun slots = run_tool("slots talvor", "");
  EXPECT_EQ(slots.status, 0);
  EXPECT_EQ(slots.out.substr(0, 38), "slot,name,default\n0,vx,0\n1,vy,0\n2,vz,0");
  EXPECT_NE(slots.out.find("\n6,radius,required\n"), std::string::npos);
  EXPECT_EQ(run_tool("slots pindrel", "").out.substr(0, 40),
            "slot,name,default\n0,band_radius,=radius\n");
}

}  // namespace
