// Cost of the operating point: one solve of the rover wheel on dry sand at
// several loads, slips and tilts, with the model evaluations it takes, next
// to one evaluation of the model; and batches of solves on 1 and 2 threads.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "../tests/full_model/rover_wheel.h"
#include "wheel_equilibrium.h"
#include "wheel_soil_model.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;

namespace {

// The tests' rover wheel on dry sand (r = 0.13 m, b = 0.16 m), moving at
// 0.1 m/s with longitudinal slip `slip` and the given tilt.
WheelSoilInput rover_on_dry_sand(double slip, double tilt) {
  WheelSoilInput in = rover_wheel();
  in.vx = 0.1;
  in.wy = (slip >= 0 ? 0.1 / (1 - slip) : 0.1 * (1 + slip)) / 0.13;
  in.tilt_sine = tilt;
  return in;
}

// One solve; counters: model evaluations per solve, and time per evaluation.
void solve(benchmark::State &state) {
  const double load = double(state.range(0));
  const double slip = double(state.range(1)) / 100;
  const double tilt = double(state.range(2)) / 100;
  const WheelSoilInput in = rover_on_dry_sand(slip, tilt);
  int evaluations = 0;
  for (auto _ : state) {
    equilibrium::EquilibriumResult r = equilibrium::solve_equilibrium(in, load);
    evaluations = r.iterations;
    benchmark::DoNotOptimize(r);
    if (!r.converged) state.SkipWithError(r.message.c_str());
  }
  state.counters["evaluations"] = evaluations;
  state.counters["per_evaluation"] =
      benchmark::Counter(double(evaluations) * double(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(solve)
    ->ArgNames({"W", "slip%", "tilt%"})
    ->Args({50, 20, 0})
    ->Args({100, 20, 0})
    ->Args({150, 20, 0})
    ->Args({100, 90, 0})
    ->Args({100, -30, 0})
    ->Args({100, 20, 20})
    ->Unit(benchmark::kMillisecond);

// One model evaluation at the operating point of 100 N, for comparison.
void model_evaluation(benchmark::State &state) {
  WheelSoilInput in = rover_on_dry_sand(0.2, 0);
  in.centre_height = equilibrium::solve_equilibrium(in, 100).centre_height;
  const full_model::ModelState m = full_model::make_state(in);
  WheelSoilOutput out;
  for (auto _ : state) {
    full_model::evaluate(m, &out);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(model_evaluation)->Unit(benchmark::kMicrosecond);

// 64 solves of a slip sweep at 100 N, on 1 and 2 threads.
void batch(benchmark::State &state) {
  std::vector<WheelSoilInput> inputs;
  for (int k = 0; k < 64; ++k) inputs.push_back(rover_on_dry_sand(0.9 * k / 63, 0));
  std::vector<equilibrium::EquilibriumResult> results(inputs.size());
  const double load = 100;
  for (auto _ : state) {
    equilibrium::solve_equilibrium_batch(inputs.data(), 1, &load, 0, inputs.size(), results.data(),
                                         unsigned(state.range(0)));
    benchmark::DoNotOptimize(results.data());
  }
  state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(inputs.size()));
}
BENCHMARK(batch)->ArgName("threads")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
