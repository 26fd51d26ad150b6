// The talvor_batch gateway through our own MEX host.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <new>
#include <stdexcept>

#include "../golden.h"
#include "mex_host.h"
#include "../../octave/batch_gateway.h"
#include "../../api/batch_runner.h"
#include "evaluation_modes.h"
#include "vector_loads.h"
#include "wheel_soil_model.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::full_model;

namespace {

using mex_host::call;
using mex_host::make_double;

struct TalvorBatchGateway : ::testing::Test {
  std::vector<double> packed;  // the golden inputs, one per column
  std::size_t count = 0;
  void SetUp() override {
    for (const auto &c : golden::load("talvor.txt", 29, 18)) {
      packed.insert(packed.end(), c.inputs.begin(), c.inputs.end());
      ++count;
    }
  }
  void TearDown() override { EXPECT_EQ(mex_host::live_arrays(), 0u); }
};

TEST_F(TalvorBatchGateway, EachColumnIsASingleCall) {
  mxArray *p = make_double(29, count, packed);
  mxArray *two = make_double(1, 1, {2});
  for (const std::vector<const mxArray *> &args :
       {std::vector<const mxArray *>{p}, std::vector<const mxArray *>{p, two}}) {
    auto r = call(mexFunction, 1, args);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(mxGetM(r.outputs[0]), 18u);
    EXPECT_EQ(mxGetN(r.outputs[0]), count);
    const std::vector<double> out = r.values();
    for (std::size_t c = 0; c < count; ++c) {
      double single[18];
      run_model(single, &packed[29 * c]);
      EXPECT_EQ(std::memcmp(single, &out[18 * c], sizeof single), 0) << c;
    }
    mex_host::release(r);
  }
  // no columns: an empty 18 x 0 result
  mxArray *empty = make_double(29, 0, {});
  auto r = call(mexFunction, 0, {empty});
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(mxGetM(r.outputs[0]), 18u);
  EXPECT_EQ(mxGetN(r.outputs[0]), 0u);
  mex_host::release(r);
  for (mxArray *a : {p, two, empty}) mex_host::destroy(a);
}

TEST_F(TalvorBatchGateway, RefusesWhatItCannotUse) {
  mxArray *p = make_double(29, count, packed);
  mxArray *row = make_double(1, 29, packed);
  mxArray *single = mex_host::make_array(mxSINGLE_CLASS, 29, 2);
  const char *const shape =
      "Input must be a real double matrix with 29 rows, one input vector per column.";
  const char *const threads = "Thread count must be a whole number from 0 (one per core) to 1024.";
  EXPECT_EQ(call(mexFunction, 1, {}).message, "One to eight input arguments required.");
  EXPECT_EQ(call(mexFunction, 1, {p, p, p, p, p, p, p, p, p}).message,
            "One to eight input arguments required.");
  EXPECT_EQ(call(mexFunction, 2, {p}).message, "Too many output arguments.");
  EXPECT_EQ(call(mexFunction, 1, {row}).message, shape);
  EXPECT_EQ(call(mexFunction, 1, {single}).message, shape);
  for (double t : {-1.0, 1.5, 1e9, double(NAN)}) {
    mxArray *bad = make_double(1, 1, {t});
    EXPECT_EQ(call(mexFunction, 1, {p, bad}).message, threads) << t;
    mex_host::destroy(bad);
  }
  EXPECT_EQ(call(mexFunction, 1, {p, p}).message, threads);  // not a scalar
  for (mxArray *a : {p, row, single}) mex_host::destroy(a);
}

TEST_F(TalvorBatchGateway, TheMathOptionChoosesTheFunctions) {
  mxArray *p = make_double(29, count, packed);
  mxArray *two = make_double(1, 1, {2});
  mxArray *name = mex_host::make_char("Math"), *lower = mex_host::make_char("math");
  mxArray *vector = mex_host::make_char("vector"), *upper = mex_host::make_char("VECTOR");
  mxArray *standard = mex_host::make_char("standard");
  auto values = [](const std::vector<const mxArray *> &args) {
    auto r = call(mexFunction, 1, args);
    EXPECT_TRUE(r.ok) << r.message;
    std::vector<double> v = r.ok ? r.values() : std::vector<double>();
    mex_host::release(r);
    return v;
  };
  // the same bits (NaN columns included): the same code ran
  auto same = [](const std::vector<double> &a, const std::vector<double> &b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
  };
  // 'standard' is the default
  EXPECT_TRUE(same(values({p, name, standard}), values({p})));
  EXPECT_TRUE(same(values({p, two, lower, standard}), values({p})));
  if (full_model::vector_math_available()) {
    const std::vector<double> v = values({p, name, vector});
    for (std::size_t c = 0; c < count; ++c) {
      double single[18];
      full_model::run_model_vector(single, &packed[29 * c]);
      EXPECT_EQ(std::memcmp(single, &v[18 * c], sizeof single), 0) << c;
    }
    EXPECT_TRUE(same(values({p, two, lower, upper}), v));
  } else {
    EXPECT_EQ(call(mexFunction, 1, {p, name, vector}).message,
              "This talvor_batch was built without vector maths (SLEEF).");
  }
  const char *const unknown =
      "Unknown option: the options are 'Math' ('standard' or 'vector'), 'Rule' ('fixed' or "
      "'split') and 'DirectionAware' (true or false).";
  EXPECT_EQ(call(mexFunction, 1, {p, vector, name}).message, unknown);
  EXPECT_EQ(call(mexFunction, 1, {p, two, two}).message, unknown);
  EXPECT_EQ(call(mexFunction, 1, {p, name, two}).message, "Math must be 'standard' or 'vector'.");
  EXPECT_EQ(call(mexFunction, 1, {p, name, name}).message, "Math must be 'standard' or 'vector'.");
  EXPECT_EQ(call(mexFunction, 1, {p, name, vector, two}).message,
            "Thread count must be a whole number from 0 (one per core) to 1024.");
  for (mxArray *a : {p, two, name, lower, vector, upper, standard}) mex_host::destroy(a);
}

TEST_F(TalvorBatchGateway, TheRuleAndDirectionOptionsChooseTheEvaluationMode) {
  mxArray *p = make_double(29, count, packed);
  mxArray *two = make_double(1, 1, {2});
  mxArray *rule = mex_host::make_char("Rule"), *split = mex_host::make_char("split");
  mxArray *fixed = mex_host::make_char("FIXED"), *direction = mex_host::make_char("DirectionAware");
  mxArray *yes = mex_host::make_logical(true), *one = make_double(1, 1, {1});
  mxArray *no = make_double(1, 1, {0}), *math = mex_host::make_char("Math");
  mxArray *vector = mex_host::make_char("vector");
  auto values = [](const std::vector<const mxArray *> &args) {
    auto r = call(mexFunction, 1, args);
    EXPECT_TRUE(r.ok) << r.message;
    std::vector<double> v = r.ok ? r.values() : std::vector<double>();
    mex_host::release(r);
    return v;
  };
  auto expected = [&](bool split_rule, bool direction_aware) {
    full_model::EvaluationMode mode;
    mode.split_rule = split_rule;
    mode.direction_aware = direction_aware;
    std::vector<double> out(18 * count);
    for (std::size_t c = 0; c < count; ++c) {
      WheelSoilInput in;
      std::memcpy(&in, &packed[29 * c], sizeof in);
      full_model::evaluate_input(in, mode, reinterpret_cast<WheelSoilOutput *>(&out[18 * c]));
    }
    return out;
  };
  auto same = [](const std::vector<double> &a, const std::vector<double> &b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
  };
  EXPECT_TRUE(same(values({p, rule, fixed, direction, no}), values({p})));
  EXPECT_TRUE(same(values({p, rule, split}), expected(true, false)));
  EXPECT_TRUE(same(values({p, two, direction, yes}), expected(false, true)));
  EXPECT_TRUE(same(values({p, direction, one, rule, split}), expected(true, true)));
  EXPECT_EQ(call(mexFunction, 1, {p, rule, vector}).message, "Rule must be 'fixed' or 'split'.");
  EXPECT_EQ(call(mexFunction, 1, {p, direction, two}).message,
            "DirectionAware must be true or false.");
  EXPECT_EQ(call(mexFunction, 1, {p, direction, split}).message,
            "DirectionAware must be true or false.");
  EXPECT_EQ(call(mexFunction, 1, {p, rule, split, math, vector}).message,
            "'Rule', 'split' takes the standard maths: it cannot be combined with 'Math', "
            "'vector'.");
  for (mxArray *a : {p, two, rule, split, fixed, direction, yes, one, no, math, vector})
    mex_host::destroy(a);
}

// A column count the host's matrices cannot hold is refused, not truncated:
// our host, like the compatible array API, takes int dimensions.
TEST_F(TalvorBatchGateway, RefusesMoreColumnsThanTheHostCanHold) {
  EXPECT_EQ(wheelsoil::detail::mex::max_columns(), std::size_t(INT_MAX));
  auto too_many = [](int, mxArray *[], int, const mxArray *[]) {
    wheelsoil::detail::mex::result_columns(std::size_t(INT_MAX) + 1);
  };
  EXPECT_EQ(call(too_many, 0, {}).message,
            "Too many input vectors: a result matrix holds at most 2147483647 columns.");
  auto fits = [](int, mxArray *plhs[], int, const mxArray *[]) {
    plhs[0] = mxCreateDoubleMatrix(1, wheelsoil::detail::mex::result_columns(3, 3), mxREAL);
  };
  auto r = call(fits, 1, {});
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(mxGetN(r.outputs[0]), 3u);
  mex_host::release(r);
}

// Memory refused anywhere in a gateway, a batch's threads included, becomes
// the host's out-of-memory error once the body has let go of everything, and
// the matrices it had created are the host's to release; the host's own
// errors pass through as they are.
TEST_F(TalvorBatchGateway, MemoryRefusedBecomesTheHostsOutOfMemoryError) {
  auto refused_in_a_batch = [](int, mxArray *plhs[], int, const mxArray *[]) {
    mex::guarded([&] {
      plhs[0] = mxCreateDoubleMatrix(18, 8, mxREAL);
      run_batch(8, 0, 1, [](std::size_t, std::size_t) { throw std::bad_alloc(); });
    });
  };
  auto r = call(refused_in_a_batch, 1, {});
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.id, mex::out_of_memory_id);
  EXPECT_EQ(r.message, "Out of memory.");
  auto too_long = [](int, mxArray *[], int, const mxArray *[]) {
    mex::guarded([] { throw std::length_error("vector"); });
  };
  r = call(too_long, 1, {});
  EXPECT_EQ(r.id, mex::out_of_memory_id);
  EXPECT_EQ(r.message.rfind("Out of memory: ", 0), 0u) << r.message;
  auto argument_error = [](int, mxArray *[], int, const mxArray *[]) {
    mex::guarded([] { mexErrMsgTxt("Too many output arguments."); });
  };
  r = call(argument_error, 1, {});
  EXPECT_EQ(r.message, "Too many output arguments.");
  EXPECT_EQ(r.id, "");
}

}  // namespace
