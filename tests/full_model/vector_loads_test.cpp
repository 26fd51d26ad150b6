// The vector-maths evaluation: the same bits on every vector unit this machine
// runs, and within 1e-11 (scaled) of the default path on every finite case.
#include "vector_loads.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "../golden.h"
#include "generated_inputs.h"
#include "wheel_soil_batch.h"
#include "wheel_soil_model.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::full_model;

namespace {

constexpr VectorUnit all_units[] = {VectorUnit::scalar, VectorUnit::sse2, VectorUnit::avx,
                                    VectorUnit::avx512};

// Bound on max over the 18 slots |vector - default| / max(1, max over the
// 18 slots |default|): the deviation relative to the case's largest load,
// loads below 1 N (or N m) measured absolutely.
constexpr double vector_tolerance = 1e-11;

// The generated inputs and the reference vectors' inputs.
std::vector<std::vector<double>> cases() {
  std::vector<std::vector<double>> all = generated::inputs(2400);
  for (const auto &c : golden::load("talvor.txt", 29, 18)) all.push_back(c.inputs);
  return all;
}

WheelSoilOutput on_unit(VectorUnit unit, const std::vector<double> &input) {
  WheelSoilInput in;
  std::memcpy(&in, input.data(), sizeof in);
  WheelSoilOutput out;
  std::memset(&out, 0xff, sizeof out);
  EXPECT_TRUE(full_model::vector_loads_on(unit, full_model::make_state(in), &out));
  return out;
}

struct VectorLoads : ::testing::Test {
  void SetUp() override {
    if (!full_model::vector_math_available()) GTEST_SKIP() << "built without vector maths";
  }
};

TEST_F(VectorLoads, EveryUnitHereGivesTheSameBits) {
  std::vector<VectorUnit> units;
  for (VectorUnit u : all_units)
    if (full_model::vector_unit_runs(u)) units.push_back(u);
  ASSERT_GE(units.size(), 3u) << "scalar, sse2 and avx run on any AVX machine";
  std::string names;
  for (VectorUnit u : units) names += std::string(" ") + full_model::vector_unit_name(u);
  RecordProperty("units", names);
  std::printf("vector units compared:%s\n", names.c_str());

  std::size_t differing = 0;
  for (const auto &input : cases()) {
    const WheelSoilOutput first = on_unit(units[0], input);
    for (std::size_t u = 1; u < units.size(); ++u) {
      const WheelSoilOutput other = on_unit(units[u], input);
      const double *a = &first.rim_fx, *b = &other.rim_fx;
      for (int k = 0; k < 18; ++k) {
        if (!golden::same_value(a[k], b[k]) && ++differing <= 10)
          ADD_FAILURE() << full_model::vector_unit_name(units[u]) << " slot " << k << ": " << b[k]
                        << " vs " << a[k];
      }
    }
  }
  EXPECT_EQ(differing, 0u);
}

TEST_F(VectorLoads, TheWidestUnitRunsByDefault) {
  const VectorUnit widest = full_model::widest_vector_unit();
  EXPECT_TRUE(full_model::vector_unit_runs(widest));
  for (VectorUnit u : all_units) {
    if (full_model::vector_unit_runs(u)) {
      EXPECT_LE(int(u), int(widest));
    }
  }
  for (const auto &c : golden::load("talvor.txt", 29, 18)) {
    double out[18];
    full_model::run_model_vector(out, c.inputs.data());
    const WheelSoilOutput direct = on_unit(widest, c.inputs);
    EXPECT_EQ(std::memcmp(out, &direct, sizeof out), 0) << c.name;
  }
}

TEST_F(VectorLoads, AUnitTheCpuLacksIsRefused) {
  for (VectorUnit u : all_units) {
    if (full_model::vector_unit_runs(u)) continue;
    WheelSoilOutput out;
    std::memset(&out, 0, sizeof out);
    EXPECT_FALSE(full_model::vector_loads_on(u, ModelState{}, &out));
    EXPECT_EQ(out.rim_fx, 0.0);  // nothing written
  }
}

// Whether every input lies within +-1e100 (zero included): beyond, a
// generated case can make a load the difference of terms 1e300 times larger
// (band_ratio -1e300 blends two stresses so), where one ulp of any function
// is amplified without bound.
bool moderate(const std::vector<double> &input) {
  for (double v : input)
    if (!(std::fabs(v) <= 1e100)) return false;
  return true;
}

// The scaled deviation of the vector path from the default path on one case,
// or NaN when a default output is not finite (no tolerance applies there).
double scaled_deviation(const std::vector<double> &input) {
  double standard[18], vector[18];
  run_model(standard, input.data());
  full_model::run_model_vector(vector, input.data());
  double scale = 1, deviation = 0;
  for (int k = 0; k < 18; ++k) {
    if (!std::isfinite(standard[k])) return NAN;
    scale = std::fmax(scale, std::fabs(standard[k]));
    deviation = std::fmax(deviation, std::fabs(vector[k] - standard[k]));
  }
  // a NaN or infinite vector output where the default is finite fails below
  return std::isfinite(deviation) ? deviation / scale : INFINITY;
}

TEST_F(VectorLoads, StaysWithinToleranceOfTheDefaultPath) {
  double worst_golden = 0, worst_generated = 0, worst_extreme = 0;
  std::size_t compared = 0;
  for (const auto &c : golden::load("talvor.txt", 29, 18)) {
    const double d = scaled_deviation(c.inputs);
    if (std::isnan(d)) continue;
    EXPECT_LE(d, vector_tolerance) << c.name;
    worst_golden = std::fmax(worst_golden, d);
    ++compared;
  }
  const auto generated_cases = generated::inputs(2400);
  for (std::size_t c = 0; c < generated_cases.size(); ++c) {
    const double d = scaled_deviation(generated_cases[c]);
    if (std::isnan(d)) continue;
    if (!moderate(generated_cases[c])) {
      EXPECT_TRUE(std::isfinite(d)) << "case " << c;
      worst_extreme = std::fmax(worst_extreme, d);
      continue;
    }
    EXPECT_LE(d, vector_tolerance) << "case " << c;
    worst_generated = std::fmax(worst_generated, d);
    ++compared;
  }
  EXPECT_GT(compared, generated_cases.size() / 3);
  // a wheel sunk by 1e-9 m: cos theta - cos theta1 cancels to 1e-8
  WheelSoilInput in{};
  const auto base = golden::load("talvor.txt", 29, 18).front().inputs;
  std::memcpy(&in, base.data(), sizeof in);
  in.tilt_sine = 0;
  in.centre_height = in.radius - 1e-9;
  const std::vector<double> shallow(&in.vx, &in.vx + 29);
  const double d_shallow = scaled_deviation(shallow);
  EXPECT_LE(d_shallow, vector_tolerance);
  std::printf(
      "largest scaled deviation: %.3g on the reference vectors, %.3g on %zu moderate "
      "generated cases, %.3g at 1e-9 m of sinkage, %.3g on generated cases with "
      "inputs beyond 1e100\n",
      worst_golden, worst_generated, compared, d_shallow, worst_extreme);
}

TEST_F(VectorLoads, BatchMatchesSingleCallsOnAnyThreadCount) {
  const auto inputs = generated::inputs(200, 11);
  std::vector<double> packed;
  for (const auto &p : inputs) packed.insert(packed.end(), p.begin(), p.end());
  std::vector<double> single(18 * inputs.size());
  for (std::size_t c = 0; c < inputs.size(); ++c)
    full_model::run_model_vector(&single[18 * c], inputs[c].data());
  for (unsigned threads : {1u, 2u, 0u}) {
    std::vector<double> batch(single.size(), -1.0);
    full_model::evaluate_batch(packed.data(), batch.data(), inputs.size(), threads, {},
                               full_model::MathFunctions::vector);
    EXPECT_EQ(std::memcmp(batch.data(), single.data(), single.size() * sizeof(double)), 0)
        << threads << " threads";
  }
}

}  // namespace
