// The pindrel batch path and its gateway: bit for bit as single calls.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "../golden.h"
#include "load_model.h"
#include "load_model_batch.h"
#include "mex_host.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::load_model;

namespace {

// The reference inputs, then each again with one slot set to a special value.
std::vector<double> batch_inputs(std::size_t &count) {
  std::vector<double> packed;
  const double specials[] = {0.0, -0.0, NAN, INFINITY, -INFINITY, 1e300, 5e-324};
  for (const auto &c : golden::load("pindrel.txt", 20, 1)) {
    packed.insert(packed.end(), c.inputs.begin(), c.inputs.end());
    for (int slot = 0; slot < 20; ++slot) {
      std::vector<double> v = c.inputs;
      v[slot] = specials[(slot + packed.size()) % 7];
      packed.insert(packed.end(), v.begin(), v.end());
    }
  }
  count = packed.size() / 20;
  return packed;
}

TEST(PindrelBatch, MatchesSingleCallsOnAnyThreadCount) {
  std::size_t count = 0;
  const std::vector<double> packed = batch_inputs(count);
  std::vector<double> single(count);
  for (std::size_t k = 0; k < count; ++k) run_load_model(&single[k], &packed[20 * k]);
  for (unsigned threads : {1u, 2u, 5u, 0u}) {
    std::vector<double> batch(count, -1.0);
    load_model::evaluate_batch(packed.data(), batch.data(), count, threads);
    EXPECT_EQ(std::memcmp(batch.data(), single.data(), count * sizeof(double)), 0) << threads;
  }
}

TEST(PindrelBatchGateway, EachColumnIsASingleCall) {
  std::size_t count = 0;
  const std::vector<double> packed = batch_inputs(count);
  mxArray *p = mex_host::make_double(20, count, packed);
  mxArray *two = mex_host::make_double(1, 1, {2});
  auto r = mex_host::call(mexFunction, 0, {p, two});
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(mxGetM(r.outputs[0]), 1u);
  EXPECT_EQ(mxGetN(r.outputs[0]), count);
  const std::vector<double> out = r.values();
  for (std::size_t k = 0; k < count; ++k) {
    double single;
    run_load_model(&single, &packed[20 * k]);
    EXPECT_EQ(std::memcmp(&single, &out[k], sizeof single), 0) << k;
  }
  mex_host::release(r);

  mxArray *column = mex_host::make_double(count * 20, 1, packed);
  EXPECT_EQ(mex_host::call(mexFunction, 1, {column}).message,
            "Input must be a real double matrix with 20 rows, one input vector per column.");
  EXPECT_EQ(mex_host::call(mexFunction, 1, {p, p}).message,
            "Thread count must be a whole number from 0 (one per core) to 1024.");
  EXPECT_EQ(mex_host::call(mexFunction, 2, {p}).message, "Too many output arguments.");
  EXPECT_EQ(mex_host::call(mexFunction, 1, {}).message, "One or two input arguments required.");
  for (mxArray *a : {p, two, column}) mex_host::destroy(a);
  EXPECT_EQ(mex_host::live_arrays(), 0u);
}

}  // namespace
