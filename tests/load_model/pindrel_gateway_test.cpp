// The pindrel gateway through our own MEX host: argument checks in their
// order and words, the 1x1 result, and input it cannot read safely.
#include <gtest/gtest.h>

#include <limits>

#include "load_cases.h"
#include "mex_host.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::load_model;

namespace {

using mex_host::call;
using mex_host::make_double;

const char *const one_input = "One input argument required.";
const char *const too_many = "Too many output arguments.";
const char *const bad_input = "Input must be a real double array of at least 20 elements.";

struct PindrelGateway : ::testing::Test {
  std::vector<double> p = load_cases::to_slots(load_cases::base());
  double expected = load_cases::load_of(load_cases::base());
  void TearDown() override { EXPECT_EQ(mex_host::live_arrays(), 0u); }

  // The single value of a successful call, which must be a 1x1 double.
  double result_of(mxArray *arg, int nlhs = 1) {
    auto r = call(mexFunction, nlhs, {arg});
    EXPECT_TRUE(r.ok) << r.message;
    if (!r.ok) return std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(mex_host::class_of(r.outputs[0]), mxDOUBLE_CLASS);
    EXPECT_EQ(mxGetM(r.outputs[0]), 1u);
    EXPECT_EQ(mxGetN(r.outputs[0]), 1u);
    const double v = r.values().at(0);
    mex_host::release(r);
    return v;
  }
};

TEST_F(PindrelGateway, ArgumentCountsComeFirstInTheirOrder) {
  mxArray *short_input = make_double(1, 3, {1, 2, 3});
  for (int nlhs : {0, 1, 2, 3}) {
    EXPECT_EQ(call(mexFunction, nlhs, {}).message, one_input);
    // the count is checked before the outputs and before the input itself
    EXPECT_EQ(call(mexFunction, nlhs, {short_input, short_input}).message, one_input);
  }
  auto many = call(mexFunction, 2, {short_input});
  EXPECT_FALSE(many.ok);
  EXPECT_EQ(many.message, too_many);
  mex_host::destroy(short_input);
}

TEST_F(PindrelGateway, RowColumnAndLongerInputsGiveTheSameBits) {
  std::vector<double> longer = p;
  longer.insert(longer.end(), {7.0, 8.0, 9.0, 10.0});
  for (mxArray *arg : {make_double(1, 20, p), make_double(20, 1, p), make_double(1, 24, longer),
                       make_double(4, 6, longer)}) {
    for (int nlhs : {0, 1}) EXPECT_TRUE(golden::same_value(result_of(arg, nlhs), expected));
    mex_host::destroy(arg);
  }
}

// Slots 4, 18 and 19 belong to the layout but not to the model.
TEST_F(PindrelGateway, SpareSlotsHaveNoEffect) {
  const double inf = std::numeric_limits<double>::infinity();
  for (std::size_t slot : {4u, 18u, 19u}) {
    for (double v : {std::numeric_limits<double>::quiet_NaN(), inf, -inf, -1e300}) {
      std::vector<double> changed = p;
      changed[slot] = v;
      mxArray *arg = make_double(1, 20, changed);
      EXPECT_TRUE(golden::same_value(result_of(arg), expected)) << slot << " " << v;
      mex_host::destroy(arg);
    }
  }
}

TEST_F(PindrelGateway, RefusesInputItCannotReadSafely) {
  const std::vector<mxArray *> bad = {
      make_double(1, 19, p),  // one slot short
      make_double(0, 0, {}),
      make_double(0, 20, {}),
      mex_host::make_array(mxSINGLE_CLASS, 1, 20),
      mex_host::make_array(mxINT32_CLASS, 1, 20),
      mex_host::make_array(mxLOGICAL_CLASS, 1, 20),
      mex_host::make_array(mxCHAR_CLASS, 1, 20),
      mex_host::make_array(mxCELL_CLASS, 1, 20),
      mex_host::make_array(mxSTRUCT_CLASS, 1, 20),
      mex_host::make_array(mxDOUBLE_CLASS, 1, 20, /*complex=*/true),
      mex_host::make_array(mxDOUBLE_CLASS, 1, 20, false, /*sparse=*/true),
  };
  for (mxArray *arg : bad) {
    for (int nlhs : {0, 1}) {
      auto r = call(mexFunction, nlhs, {arg});
      EXPECT_FALSE(r.ok);
      EXPECT_EQ(r.message, bad_input);
    }
    mex_host::destroy(arg);
  }
}

}  // namespace
