// The talvor gateway through our own MEX host: argument checks in their
// order and words, the 1x18 result, and input it cannot read safely.
#include <gtest/gtest.h>

#include "../golden.h"
#include "mex_host.h"
#include "wheel_soil_model.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::full_model;

namespace {

using mex_host::call;
using mex_host::make_double;

const char *const one_input = "One input argument required.";
const char *const too_many = "Too many output arguments.";
const char *const bad_input = "Input must be a real double array of at least 29 elements.";

std::vector<double> realistic() { return golden::load("talvor.txt", 29, 18).at(0).inputs; }

struct TalvorGateway : ::testing::Test {
  void TearDown() override { EXPECT_EQ(mex_host::live_arrays(), 0u); }
};

TEST_F(TalvorGateway, ArgumentCountsComeFirstInTheirOrder) {
  mxArray *p = make_double(1, 29, realistic());
  for (int nlhs : {0, 1, 2, 3}) {
    auto none = call(mexFunction, nlhs, {});
    EXPECT_EQ(none.message, one_input);
    auto two = call(mexFunction, nlhs, {p, p});
    EXPECT_EQ(two.message, one_input);
  }
  auto many = call(mexFunction, 2, {p});
  EXPECT_FALSE(many.ok);
  EXPECT_EQ(many.message, too_many);
  mex_host::destroy(p);
}

TEST_F(TalvorGateway, ReturnsARowOf18ForAnyShape) {
  std::vector<double> in = realistic();
  std::vector<double> expected(18);
  run_model(expected.data(), in.data());
  std::vector<double> longer = in;
  longer.insert(longer.end(), {1.0, 2.0, 3.0});
  const std::vector<mxArray *> shapes = {make_double(1, 29, in), make_double(29, 1, in),
                                         make_double(1, 32, longer), make_double(4, 8, longer)};
  for (mxArray *p : shapes) {
    for (int nlhs : {0, 1}) {
      auto r = call(mexFunction, nlhs, {p});
      ASSERT_TRUE(r.ok) << r.message;
      EXPECT_EQ(mxGetM(r.outputs[0]), 1u);
      EXPECT_EQ(mxGetN(r.outputs[0]), 18u);
      const std::vector<double> out = r.values();
      for (int k = 0; k < 18; ++k) EXPECT_TRUE(golden::same_value(out[k], expected[k])) << k;
      mex_host::release(r);
    }
    mex_host::destroy(p);
  }
}

TEST_F(TalvorGateway, RefusesInputItCannotReadSafely) {
  const std::vector<mxArray *> bad = {
      make_double(1, 28, realistic()),  // one slot short
      make_double(0, 0, {}),
      mex_host::make_array(mxSINGLE_CLASS, 1, 29),
      mex_host::make_array(mxINT32_CLASS, 1, 29),
      mex_host::make_array(mxCHAR_CLASS, 1, 29),
      mex_host::make_array(mxCELL_CLASS, 1, 29),
      mex_host::make_array(mxDOUBLE_CLASS, 1, 29, /*complex=*/true),
      mex_host::make_array(mxDOUBLE_CLASS, 1, 29, false, /*sparse=*/true),
  };
  for (mxArray *p : bad) {
    auto r = call(mexFunction, 1, {p});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, bad_input);
    mex_host::destroy(p);
  }
}

}  // namespace
