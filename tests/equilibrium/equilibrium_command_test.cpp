// wheelsoil equilibrium, driven in-process: its CSV carries the solver's own
// bits, threads change nothing, a vector without an operating point is a nan
// row named on standard error, and refusals write no results.
#include <gtest/gtest.h>
#include <wheelsoil/equilibrium.hpp>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "../full_model/rover_wheel.h"
#include "csv_writer.h"
#include "equilibrium_command.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;

namespace {

struct CommandRun {
  int status;
  std::string out, err;
};

CommandRun run(const std::vector<std::string> &args, const std::string &input) {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = wheelsoil::detail::cli::equilibrium_command(args, in, out, err);
  return {status, out.str(), err.str()};
}

std::string line_of(const WheelSoilInput &in) {
  std::string s;
  const double *slot = &in.vx;
  for (int k = 0; k < 29; ++k) {
    if (k) s += ' ';
    wheelsoil::detail::cli::append_number(&s, slot[k]);
  }
  return s + '\n';
}

// The CSV rows below the header, as numbers.
std::vector<std::vector<double>> rows_of(const std::string &csv) {
  std::vector<std::vector<double>> rows;
  std::istringstream lines(csv);
  std::string line;
  std::getline(lines, line);
  while (std::getline(lines, line)) {
    std::vector<double> row;
    std::istringstream fields(line);
    std::string f;
    while (std::getline(fields, f, ',')) row.push_back(std::strtod(f.c_str(), nullptr));
    rows.push_back(row);
  }
  return rows;
}

TEST(EquilibriumCommand, WritesTheSolvedLoadsHeightAndSinkage) {
  WheelSoilInput tilted = rover_wheel();
  tilted.tilt_sine = 0.2;
  const std::vector<WheelSoilInput> wheels = {rover_wheel(), tilted};
  const std::string input = "# two wheels\n" + line_of(wheels[0]) + "\n" + line_of(wheels[1]);
  const CommandRun r = run({"--load", "80"}, input);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
            "rim_fx,rim_fy,rim_fz,rim_mx,rim_my,rim_mz,side_fx,side_fy,side_fz,side_mx,side_my,"
            "side_mz,rim_fx_copy,rim_fy_copy,rim_fz_copy,rim_mx_copy,rim_my_copy,rim_mz_copy,"
            "centre_height,sinkage,max_sinkage,converged,iterations");
  const auto rows = rows_of(r.out);
  ASSERT_EQ(rows.size(), 2u);
  for (std::size_t k = 0; k < 2; ++k) {
    const wheelsoil::EquilibriumResult e = wheelsoil::solve_equilibrium(wheels[k], 80);
    ASSERT_EQ(rows[k].size(), 23u);
    const double *slot = &e.loads.rim_fx;
    for (int j = 0; j < 18; ++j) EXPECT_EQ(rows[k][j], slot[j]);
    EXPECT_EQ(rows[k][18], e.centre_height);
    EXPECT_EQ(rows[k][19], e.sinkage);
    EXPECT_EQ(rows[k][20], e.max_sinkage);
    EXPECT_EQ(rows[k][21], 1.0);
    EXPECT_EQ(rows[k][22], double(e.iterations));
  }
  // The same bits on any number of threads, and with --load=W.
  EXPECT_EQ(run({"--threads", "2", "--load=80"}, input).out, r.out);
  EXPECT_EQ(run({"--threads=0", "--load", "80", "-"}, input).out, r.out);
}

TEST(EquilibriumCommand, AHeaderMayLeaveOutTheCentreHeight) {
  const std::string header =
      "radius,width,soil_density,cohesion,friction_angle,sinkage_exponent,k_c,k_phi,kx,ky,"
      "c1,c2,c3,c4,gravity,vx,wy\n"
      "0.13,0.16,1600,1040,0.4886921905584123,1.1,990,1528430,0.025,0.025,0.4,0.3,0.1,0.1,"
      "9.81,0.1,0.96153846153846156\n";
  const CommandRun named = run({"--load", "80"}, header);
  ASSERT_EQ(named.status, 0) << named.err;
  WheelSoilInput in = rover_wheel();
  in.wy = 0.96153846153846156;
  EXPECT_EQ(named.out, run({"--load", "80"}, line_of(in)).out);
}

TEST(EquilibriumCommand, NamesEachVectorWithoutAnOperatingPoint) {
  WheelSoilInput upright = rover_wheel(), flat = rover_wheel();
  flat.tilt_sine = 1;
  const CommandRun r = run({"--load", "5e4"}, line_of(upright) + line_of(flat));
  EXPECT_EQ(r.status, 3);
  const auto rows = rows_of(r.out);
  ASSERT_EQ(rows.size(), 2u);
  for (const auto &row : rows) {
    for (int j = 0; j < 21; ++j) EXPECT_TRUE(std::isnan(row[j])) << j;
    EXPECT_EQ(row[21], 0.0);
  }
  EXPECT_NE(r.err.find("wheelsoil: vector 1: load of 50000 N not carried"), std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("wheelsoil: vector 2: tilt_sine must have a magnitude below 1"),
            std::string::npos)
      << r.err;
}

TEST(EquilibriumCommand, RefusalsWriteNoResults) {
  const std::string good = line_of(rover_wheel());
  struct Refusal {
    std::vector<std::string> args;
    std::string input;
    int status;
    const char *says;
  };
  const Refusal refusals[] = {
      {{}, good, 2, "--load W is required"},
      {{"--load"}, good, 2, "--load needs a positive number"},
      {{"--load", "0"}, good, 2, "--load needs a positive number"},
      {{"--load", "nan"}, good, 2, "--load needs a positive number"},
      {{"--load", "inf"}, good, 2, "--load needs a positive number"},
      {{"--load", "5x"}, good, 2, "--load needs a positive number"},
      {{"--load", "5", "--threads", "-1"}, good, 2, "--threads needs a whole number"},
      {{"--load", "5", "--fast"}, good, 2, "unknown option '--fast'"},
      {{"--load", "5", "a", "b"}, good, 2, "more than one FILE given"},
      {{"--load", "5", "/nonexistent/vectors.txt"}, good, 1, "cannot open"},
      {{"--load", "5"}, good + "1 2 3\n", 1, "line 2:"},
      {{"--load", "5"}, "# nothing\n", 1, "line"},
  };
  for (const Refusal &f : refusals) {
    const CommandRun r = run(f.args, f.input);
    EXPECT_EQ(r.status, f.status) << f.says;
    EXPECT_EQ(r.out, "") << f.says;
    EXPECT_NE(r.err.find(f.says), std::string::npos) << r.err;
  }
  const CommandRun help = run({"--help"}, "");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: wheelsoil equilibrium"), std::string::npos);
  EXPECT_NE(help.out.find("--load W"), std::string::npos);
}

}  // namespace
