// wheelsoil fit: the examples' data recovered from the command line, the
// CSV it writes, ill-posed and refused inputs, and the files it writes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "fit_command.h"

namespace wheelsoil::detail::cli {
namespace {

const std::string data_dir = WHEELSOIL_EXAMPLES_DATA;

struct Outcome {
  int status;
  std::string out, err;
};

Outcome run(std::vector<std::string> args, const std::string &input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = fit_command(args, in, out, err);
  return {status, out.str(), err.str()};
}

// name -> (value, standard error) from the results' CSV.
std::map<std::string, std::pair<double, double>> values(const std::string &csv) {
  std::map<std::string, std::pair<double, double>> v;
  std::istringstream lines(csv);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "name,value,standard_error,unit,kind");
  while (std::getline(lines, line)) {
    std::istringstream f(line);
    std::string name, value, se;
    std::getline(f, name, ',');
    std::getline(f, value, ',');
    std::getline(f, se, ',');
    v[name] = {std::stod(value), se.empty() ? NAN : std::stod(se)};
  }
  return v;
}

void expect_within_3_se(const std::map<std::string, std::pair<double, double>> &v,
                        const std::map<std::string, double> &truth) {
  for (const auto &[name, t] : truth) {
    ASSERT_EQ(v.count(name), 1u) << name;
    const auto [value, se] = v.at(name);
    EXPECT_LT(std::fabs(value - t), 3 * se) << name << " = " << value << " +- " << se;
  }
}

TEST(FitCommand, RecoversThePlateExample) {
  const Outcome r = run({"plate", data_dir + "/plate_tests.csv"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto v = values(r.out);
  expect_within_3_se(v, {{"sinkage_exponent", 0.79}, {"k_c", 102e3}, {"k_phi", 5301e3}});
  EXPECT_EQ(v.at("observations").first, 40);
  EXPECT_GT(v.at("r_squared_pressure").first, 0.999);
  EXPECT_NE(r.err.find("wheelsoil fit plate: converged"), std::string::npos) << r.err;
}

TEST(FitCommand, RecoversTheShearExample) {
  const Outcome r = run({"shear", data_dir + "/shear_tests.csv"});
  ASSERT_EQ(r.status, 0) << r.err;
  expect_within_3_se(values(r.out), {{"cohesion", 1.3e3},
                                     {"friction_angle", 31.1 * 3.141592653589793 / 180},
                                     {"shear_modulus", 0.012}});
}

TEST(FitCommand, RecoversTheWheelExample) {
  const Outcome r = run({"wheel", "--soil", "dry_sand", "--set", "radius=0.13", "--set=width=0.16",
                         "--set", "gravity=9.81", data_dir + "/wheel_runs.csv"});
  ASSERT_EQ(r.status, 0) << r.err;
  expect_within_3_se(values(r.out), {{"c1", 0.35}, {"c2", 0.3}, {"c3", 0.15}, {"c4", 0.05}});
}

TEST(FitCommand, HeldValuesAndHeaderlessRows) {
  // Rows in column order without a header; n held at 1: k = k_c/b + k_phi.
  const Outcome r = run({"plate", "--set", "sinkage_exponent=1"},
                        "0.05 0.01 3000\n0.05 0.02 6000\n0.1 0.01 2000\n0.1 0.02 4000\n");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto v = values(r.out);
  EXPECT_NEAR(v.at("k_c").first, 1e4, 1e-6);
  EXPECT_NEAR(v.at("k_phi").first, 1e5, 1e-4);
  EXPECT_NE(r.out.find("sinkage_exponent,1,,-,held"), std::string::npos) << r.out;
}

TEST(FitCommand, IllPosedInputIsReportedNotFitted) {
  const std::string one_plate =
      "radius,sinkage,pressure\n0.1,0.01,2e4\n0.1,0.02,4e4\n0.1,0.03,6e4\n"
      "0.1,0.04,8.1e4\n";
  Outcome r = run({"plate"}, one_plate);
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("fit plate: ill_posed: one plate size"), std::string::npos) << r.err;

  r = run({"shear"},
          "normal_stress,displacement,shear_stress\n1e4,0,0\n1e4,0.01,4e3\n"
          "1e4,0.02,6e3\n1e4,0.04,7e3\n");
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("fit shear: ill_posed: one normal stress"), std::string::npos) << r.err;
}

TEST(FitCommand, RefusesBadUsageAndBadInput) {
  struct Case {
    std::vector<std::string> args;
    std::string input;
    int status;
    const char *message;
  };
  const std::vector<Case> cases = {
      {{}, "", 2, "no fit given"},
      {{"bulldozer"}, "", 2, "unknown fit 'bulldozer'"},
      {{"plate", "--hump"}, "", 2, "--hump is for the shear fit"},
      {{"shear", "--soil", "dry_sand"}, "", 2, "are for the wheel fit"},
      {{"plate", "--set", "k_c"}, "", 2, "--set needs NAME=VALUE"},
      {{"plate", "--frobnicate=1"}, "", 2, "unknown option '--frobnicate=1'"},
      {{"wheel", "--soil", "mud"}, "slip,load\n0,1\n", 2, "unknown soil 'mud'"},
      {{"wheel", "--soil", "dry_sand"},
       "slip,load,drawbar_pull\n0,80,1\n",
       2,
       "needs given values of radius, width, gravity"},
      {{"plate"}, "width,sinkage,pressure\n0.1,0.01,x\n", 1, "line 2: value 3 'x' is not a number"},
      {{"plate"}, "width,sinkage\n0.1,0.01\n", 1, "lacks required slot(s): pressure"},
      {{"plate"}, "width,sinkage,pressure\n-0.1,0.01,1\n0.2,0.01,1\n", 1, "row 1: size is -0.1"},
  };
  for (const Case &c : cases) {
    const Outcome r = run(c.args, c.input);
    EXPECT_EQ(r.status, c.status) << c.message << "\n" << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "") << c.message;
  }
}

TEST(FitCommand, WritesResidualsAndAPlot) {
  const std::string dir = ::testing::TempDir();
  const std::string residuals = dir + "fit_residuals.csv", png = dir + "fit_plot.png";
  std::remove(residuals.c_str());
  std::remove(png.c_str());
  const bool gnuplot = std::system("command -v gnuplot > /dev/null 2>&1") == 0;
  std::vector<std::string> args = {"shear", "--residuals", residuals,
                                   data_dir + "/shear_tests.csv"};
  if (gnuplot) args.insert(args.begin() + 1, {"--plot", png});
  const Outcome r = run(args);
  ASSERT_EQ(r.status, 0) << r.err;
  std::ifstream f(residuals);
  std::string header, row;
  std::getline(f, header);
  EXPECT_EQ(header,
            "normal_stress,displacement,shear_stress,shear_stress_fitted,shear_stress_residual");
  std::size_t rows = 0;
  while (std::getline(f, row)) ++rows;
  EXPECT_EQ(rows, 93u);
  if (!gnuplot) GTEST_SKIP() << "gnuplot is not installed: no plot";
  std::ifstream p(png, std::ios::binary);
  char magic[8] = {};
  p.read(magic, 8);
  EXPECT_EQ(std::string(magic + 1, 3), "PNG");
  p.seekg(0, std::ios::end);
  EXPECT_GT(p.tellg(), 10000);  // a drawn picture, not an empty frame
}

}  // namespace
}  // namespace wheelsoil::detail::cli
