// The talvor_equilibrium gateway through our own MEX host: its checks, how
// inputs pair with loads, the four result matrices, and failed columns.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../full_model/rover_wheel.h"
#include "mex_host.h"
#include "wheel_equilibrium.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::equilibrium;

namespace {

using mex_host::call;
using mex_host::make_double;

std::vector<double> slots(const WheelSoilInput &in) {
  return std::vector<double>(&in.vx, &in.vx + 29);
}

// The message of column k of the character-code matrix M.
std::string message(const mex_host::CallResult &r, std::size_t k) {
  const std::vector<double> m = r.values(3);
  const std::size_t count = mxGetM(r.outputs[3]), len = mxGetN(r.outputs[3]);
  std::string text;
  for (std::size_t c = 0; c < len && m[k + count * c] != 0; ++c) text += char(m[k + count * c]);
  return text;
}

struct EquilibriumGateway : ::testing::Test {
  void TearDown() override { EXPECT_EQ(mex_host::live_arrays(), 0u); }
};

TEST_F(EquilibriumGateway, ChecksItsArguments) {
  const std::vector<double> in = slots(rover_wheel());
  mxArray *p = make_double(29, 1, in), *w = make_double(1, 1, {50});
  auto count = [&](int nlhs, std::vector<const mxArray *> args) {
    auto r = call(mexFunction, nlhs, args);
    EXPECT_FALSE(r.ok);
    return r.message;
  };
  EXPECT_EQ(count(1, {}), "Two input arguments required.");
  EXPECT_EQ(count(1, {p}), "Two input arguments required.");
  EXPECT_EQ(count(1, {p, w, w}), "Two input arguments required.");
  EXPECT_EQ(count(5, {p, w}), "Too many output arguments.");

  const char *bad_p =
      "Input must be a real double matrix with 29 rows, one input vector per column.";
  const std::vector<mxArray *> bad_inputs = {
      make_double(1, 29, in), make_double(28, 1, std::vector<double>(in.begin(), in.end() - 1)),
      mex_host::make_array(mxSINGLE_CLASS, 29, 1),
      mex_host::make_array(mxDOUBLE_CLASS, 29, 1, /*complex=*/true),
      mex_host::make_array(mxDOUBLE_CLASS, 29, 1, false, /*sparse=*/true)};
  for (mxArray *b : bad_inputs) {
    EXPECT_EQ(count(1, {b, w}), bad_p);
    mex_host::destroy(b);
  }
  const std::vector<mxArray *> bad_loads = {mex_host::make_array(mxINT32_CLASS, 1, 1),
                                            mex_host::make_array(mxDOUBLE_CLASS, 1, 1, true)};
  for (mxArray *b : bad_loads) {
    EXPECT_EQ(count(1, {p, b}), "Loads must be a real double array.");
    mex_host::destroy(b);
  }
  std::vector<double> three = in;
  three.insert(three.end(), in.begin(), in.end());
  three.insert(three.end(), in.begin(), in.end());
  mxArray *p3 = make_double(29, 3, three), *w2 = make_double(1, 2, {10, 20});
  EXPECT_EQ(count(1, {p3, w2}), "Give one load, or one load per input column.");
  for (mxArray *a : {p, w, p3, w2}) mex_host::destroy(a);
}

TEST_F(EquilibriumGateway, PairsInputsWithLoadsColumnByColumn) {
  WheelSoilInput a = rover_wheel(), b = rover_wheel();
  b.tilt_sine = 0.2;
  b.vx = 0.05;
  std::vector<double> two = slots(a);
  const std::vector<double> sb = slots(b);
  two.insert(two.end(), sb.begin(), sb.end());

  struct Case {
    std::size_t columns;
    std::vector<double> loads;
    std::vector<WheelSoilInput> wheel;  // per result column
    std::vector<double> load;
  };
  const Case cases[] = {
      {1, {40, 90, 1e5}, {a, a, a}, {40, 90, 1e5}},  // one input, several loads
      {2, {70}, {a, b}, {70, 70}},                   // several inputs, one load
      {2, {30, 1e5}, {a, b}, {30, 1e5}},             // one load per input
      {1, {}, {}, {}},                               // no loads: no solves
  };
  for (const Case &c : cases) {
    mxArray *p = make_double(29, c.columns, c.columns == 1 ? slots(a) : two);
    mxArray *w = make_double(1, c.loads.size(), c.loads);
    auto r = call(mexFunction, 4, {p, w});
    ASSERT_TRUE(r.ok) << r.message;
    const std::size_t n = c.wheel.size();
    EXPECT_EQ(mxGetM(r.outputs[0]), 29u);
    EXPECT_EQ(mxGetN(r.outputs[0]), n);
    EXPECT_EQ(mxGetM(r.outputs[1]), 18u);
    EXPECT_EQ(mxGetM(r.outputs[2]), 7u);
    EXPECT_EQ(mxGetM(r.outputs[3]), n);
    const std::vector<double> p_eq = r.values(0), l = r.values(1), s = r.values(2);
    for (std::size_t k = 0; k < n; ++k) {
      const equilibrium::EquilibriumResult e =
          equilibrium::solve_equilibrium(c.wheel[k], c.load[k]);
      EXPECT_EQ(message(r, k), e.message);
      EXPECT_EQ(s[7 * k + 0], double(static_cast<int>(e.status)));
      EXPECT_EQ(s[7 * k + 1], e.converged ? 1.0 : 0.0);
      EXPECT_EQ(s[7 * k + 2], double(e.iterations));
      const std::vector<double> given = slots(c.wheel[k]);
      for (int j = 0; j < 29; ++j) {
        if (j == 20) continue;
        EXPECT_EQ(p_eq[29 * k + j], given[j]);
      }
      if (e.converged) {
        EXPECT_EQ(p_eq[29 * k + 20], e.centre_height);
        EXPECT_EQ(l[18 * k + 2], e.loads.rim_fz);
        EXPECT_EQ(s[7 * k + 3], e.residual);
        EXPECT_EQ(s[7 * k + 4], e.sinkage);
        EXPECT_EQ(s[7 * k + 5], e.max_sinkage);
        EXPECT_EQ(s[7 * k + 6], 1.0);
      } else {
        // A failed column is NaN where a solution would be; the rest stands.
        EXPECT_TRUE(std::isnan(p_eq[29 * k + 20]));
        for (int j = 0; j < 18; ++j) EXPECT_TRUE(std::isnan(l[18 * k + j]));
        for (int j = 3; j < 6; ++j) EXPECT_TRUE(std::isnan(s[7 * k + j]));
      }
    }
    mex_host::release(r);
    mex_host::destroy(p);
    mex_host::destroy(w);
  }
}

TEST_F(EquilibriumGateway, CreatesOnlyTheOutputsAskedFor) {
  mxArray *p = make_double(29, 1, slots(rover_wheel())), *w = make_double(1, 1, {50});
  for (int nlhs : {0, 1, 2}) {
    auto r = call(mexFunction, nlhs, {p, w});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(mex_host::live_arrays(), 2u + std::size_t(std::max(nlhs, 1)));
    mex_host::release(r);
  }
  mex_host::destroy(p);
  mex_host::destroy(w);
}

}  // namespace
