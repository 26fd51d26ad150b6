// The fused evaluator and the batch path give the reference path's bits, over
// the golden cases and generated inputs spanning the degenerate regions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "generated_inputs.h"
#include "rover_wheel.h"
#include "wheel_soil_batch.h"
#include "wheel_soil_model.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::full_model;

namespace {

constexpr std::size_t generated_count = 2400;
// The generated set is checked in slices, so that CTest runs them side by side.
constexpr int slices = 8;

class FusedEvaluatorSlice : public ::testing::TestWithParam<int> {};

TEST_P(FusedEvaluatorSlice, MatchesTheReferencePathBitForBit) {
  const auto inputs = generated::inputs(generated_count);
  const std::size_t slice = std::size_t(GetParam());
  std::size_t finite = 0, differing = 0, checked = 0;
  for (std::size_t c = slice; c < inputs.size(); c += slices) {
    double fused[18], plain[18];
    run_model(fused, inputs[c].data());
    full_model::run_model_reference(plain, inputs[c].data());
    for (int k = 0; k < 18; ++k) {
      if (!golden::same_value(fused[k], plain[k])) {
        if (++differing <= 10)
          ADD_FAILURE() << "input " << c << " slot " << k << ": " << fused[k] << " vs " << plain[k];
      }
    }
    finite += std::isfinite(fused[0]) && std::isfinite(fused[6]);
    ++checked;
  }
  EXPECT_EQ(differing, 0u);
  // the generated set is not all NaN: most wheels still give finite loads
  EXPECT_GT(finite, checked / 3);
}

INSTANTIATE_TEST_SUITE_P(GeneratedInputs, FusedEvaluatorSlice, ::testing::Range(0, slices));

TEST(FusedEvaluator, EveryUnitHereGivesTheSameBits) {
  using full_model::VectorUnit;
  std::vector<VectorUnit> units;
  for (VectorUnit u : {VectorUnit::sse2, VectorUnit::avx, VectorUnit::avx512}) {
    WheelSoilOutput probe;
    if (full_model::evaluate_on(u, ModelState{}, &probe)) units.push_back(u);
  }
  ASSERT_FALSE(units.empty());
  std::printf("default path units compared:");
  for (VectorUnit u : units) std::printf(" %s", full_model::vector_unit_name(u));
  std::printf("\n");
  std::size_t differing = 0;
  for (const auto &input : generated::inputs(generated_count)) {
    WheelSoilInput in;
    std::memcpy(&in, input.data(), sizeof in);
    const ModelState m = full_model::make_state(in);
    WheelSoilOutput first, other;
    full_model::evaluate_on(units[0], m, &first);
    for (std::size_t u = 1; u < units.size(); ++u) {
      full_model::evaluate_on(units[u], m, &other);
      const double *a = &first.rim_fx, *b = &other.rim_fx;
      for (int k = 0; k < 18; ++k)
        if (!golden::same_value(a[k], b[k]) && ++differing <= 10)
          ADD_FAILURE() << full_model::vector_unit_name(units[u]) << " slot " << k;
    }
  }
  EXPECT_EQ(differing, 0u);
}

// Wheels aimed at the work the fused evaluator skips or reuses: sidewall
// points and circles without pressure, strips with the previous sinkage, the
// minus side on the plus side's grid; each with a factor that would make the
// skipped terms other than +-0 if the guards let it through.
struct Tweak {
  const char *name;
  void (*apply)(WheelSoilInput &);
};

const Tweak tweaks[] = {
    {"straight", [](WheelSoilInput &) {}},
    {"sliding", [](WheelSoilInput &in) { in.vy = 0.02; }},
    {"sliding_back", [](WheelSoilInput &in) { in.vy = -0.02; }},
    {"no_friction",
     [](WheelSoilInput &in) {
       in.vy = 0.02;
       in.friction_angle = 0;
     }},
    {"negative_kx",
     [](WheelSoilInput &in) {
       in.vy = 0.02;
       in.kx = -0.025;
     }},
    {"zero_kx",
     [](WheelSoilInput &in) {
       in.vy = 0.02;
       in.kx = 0;
     }},
    {"infinite_kx",
     [](WheelSoilInput &in) {
       in.vy = 0.02;
       in.kx = INFINITY;
     }},
    {"locked",
     [](WheelSoilInput &in) {
       in.vy = 0.02;
       in.wy = 0;
     }},
    {"dead_band", [](WheelSoilInput &in) { in.vy = 1e-5; }},
    {"above_dead_band", [](WheelSoilInput &in) { in.vy = std::nextafter(1e-5, 1.0); }},
    {"zero_width",
     [](WheelSoilInput &in) {
       in.vy = 0.02;
       in.width = 0;
     }},
    {"negative_width",
     [](WheelSoilInput &in) {
       in.vy = 0.02;
       in.width = -in.width;
     }},
    {"turning",
     [](WheelSoilInput &in) {
       in.vy = 0.02;
       in.wx = 0.5;
       in.wz = -0.3;
     }},
    {"turning_slowly",
     [](WheelSoilInput &in) {
       in.vy = 0.05;
       in.wx = 0.01;
       in.wz = 0.01;
     }},
    {"huge_speed", [](WheelSoilInput &in) { in.vx = 1e300; }},
    {"huge_spin", [](WheelSoilInput &in) { in.wy = 1e300; }},
    {"infinite_band",
     [](WheelSoilInput &in) {
       in.band_height = 0.01;
       in.band_ratio = INFINITY;
     }},
    {"nan_gravity", [](WheelSoilInput &in) { in.gravity = NAN; }},
    {"nan_cohesion",
     [](WheelSoilInput &in) {
       in.vy = 0.02;
       in.cohesion = NAN;
     }},
    {"tilted",
     [](WheelSoilInput &in) {
       in.vy = 0.02;
       in.tilt_sine = 0.1;
       in.wx = 0.1;
     }},
    // Undefined slip: every rim strip runs from -theta1 to theta1, so its
    // points mirror each other as a sidewall circle's do.
    {"tilted_without_slip",
     [](WheelSoilInput &in) {
       in.vx = 0;
       in.wy = 0;
       in.vy = 0.02;
       in.tilt_sine = 0.1;
     }},
    // Circles barely in the soil: theta_e, and every point, near or at +0.
    {"tiny_sinkage",
     [](WheelSoilInput &in) {
       in.vy = 0.02;
       in.wz = 0.3;
       in.centre_height = in.radius - 1e-9;
     }},
    {"subnormal_sinkage",
     [](WheelSoilInput &in) {
       in.vy = 0.02;
       in.centre_height = std::nextafter(in.radius, 0.0);
     }},
    {"band",
     [](WheelSoilInput &in) {
       in.band_height = 0.01;
       in.band_ratio = 0.7;
     }},
    {"deep",
     [](WheelSoilInput &in) {
       in.vy = 0.02;
       in.centre_height = -0.2;
     }},
    // A linear soil takes |cos theta_e - cos theta1| itself for its power.
    {"linear_soil",
     [](WheelSoilInput &in) {
       in.sinkage_exponent = 1;
       in.band_height = 0.01;
       in.band_ratio = 0.7;
       in.tilt_sine = 0.1;
     }},
    {"linear_soil_beyond_the_rim",
     [](WheelSoilInput &in) {
       in.sinkage_exponent = 1;
       in.centre_height = -0.2;
     }},
};

TEST(FusedEvaluator, SkippedAndReusedWorkKeepsTheBits) {
  for (const Tweak &t : tweaks) {
    WheelSoilInput in = rover_wheel();
    t.apply(in);
    double fused[18], plain[18];
    run_model(fused, &in.vx);
    full_model::run_model_reference(plain, &in.vx);
    for (int k = 0; k < 18; ++k)
      EXPECT_TRUE(golden::same_value(fused[k], plain[k]))
          << t.name << " slot " << k << ": " << fused[k] << " vs " << plain[k];
  }
}

TEST(FusedEvaluator, AnUnloadedSideAddsAPositiveZero) {
  // no lateral motion: no sidewall point pushes into the soil
  WheelSoilInput in = rover_wheel();
  double out[18];
  run_model(out, &in.vx);
  for (int k = 6; k < 12; ++k) {
    EXPECT_EQ(out[k], 0.0) << k;
    EXPECT_FALSE(std::signbit(out[k])) << k;
  }
}

TEST(BatchPath, MatchesSingleCallsOnAnyThreadCount) {
  const auto inputs = generated::inputs(300, 7);
  std::vector<double> packed;
  for (const auto &p : inputs) packed.insert(packed.end(), p.begin(), p.end());
  std::vector<double> single(18 * inputs.size());
  for (std::size_t c = 0; c < inputs.size(); ++c) run_model(&single[18 * c], inputs[c].data());
  for (unsigned threads : {1u, 2u, 3u, 0u}) {
    std::vector<double> batch(single.size(), -1.0);
    full_model::evaluate_batch(packed.data(), batch.data(), inputs.size(), threads);
    // the same code on the same values: even NaN bits agree
    EXPECT_EQ(std::memcmp(batch.data(), single.data(), single.size() * sizeof(double)), 0)
        << threads << " threads";
  }
  // nothing to do is no error
  full_model::evaluate_batch(nullptr, nullptr, 0, 2);
}

}  // namespace
