// Per-call cost of the reference and the fused talvor on the golden realistic
// cases, side by side, and batch throughput on 1 and 2 threads. After the
// runs a summary prints the fused/reference ratio per case and its median.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "../tests/golden.h"
#include "wheel_soil_batch.h"
#include "wheel_soil_model.h"

using namespace wheelsoil::detail;
using wheelsoil::detail::full_model::run_model;

namespace {

struct Case {
  std::string name;
  std::vector<double> input;
};

// The golden cases whose 18 outputs are all finite: the realistic wheels.
std::vector<Case> realistic_cases() {
  std::vector<Case> cases;
  for (const auto &c : golden::load("talvor.txt", 29, 18))
    if (std::all_of(c.outputs.begin(), c.outputs.end(), [](double x) { return std::isfinite(x); }))
      cases.push_back({c.name, c.inputs});
  return cases;
}

void reference_call(benchmark::State &state, const std::vector<double> &input) {
  double out[18];
  for (auto _ : state) {
    full_model::run_model_reference(out, input.data());
    benchmark::DoNotOptimize(out);
  }
}

void fused_call(benchmark::State &state, const std::vector<double> &input) {
  double out[18];
  for (auto _ : state) {
    run_model(out, input.data());
    benchmark::DoNotOptimize(out);
  }
}

// 256 evaluations of the realistic cases in turn per iteration.
void batch_throughput(benchmark::State &state, const std::vector<Case> &cases) {
  const std::size_t count = 256;
  std::vector<double> inputs, outputs(18 * count);
  for (std::size_t k = 0; k < count; ++k)
    inputs.insert(inputs.end(), cases[k % cases.size()].input.begin(),
                  cases[k % cases.size()].input.end());
  const unsigned threads = unsigned(state.range(0));
  for (auto _ : state) {
    full_model::evaluate_batch(inputs.data(), outputs.data(), count, threads);
    benchmark::DoNotOptimize(outputs.data());
  }
  state.SetItemsProcessed(std::int64_t(state.iterations() * count));
}

// Keeps each run's time per iteration, for the summary.
class Recorder : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> seconds;
  std::map<std::string, double> items_per_second;
  void ReportRuns(const std::vector<Run> &runs) override {
    for (const Run &r : runs) {
      seconds[r.benchmark_name()] =
          r.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(r.time_unit);
      auto it = r.counters.find("items_per_second");
      if (it != r.counters.end()) items_per_second[r.benchmark_name()] = it->second;
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char **argv) {
  const std::vector<Case> cases = realistic_cases();
  if (cases.empty()) {
    std::fprintf(stderr, "talvor_bench: no realistic cases in " WHEELSOIL_TEST_DATA "\n");
    return 1;
  }
  for (const Case &c : cases) {
    benchmark::RegisterBenchmark(("reference/" + c.name).c_str(), reference_call, c.input)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("fused/" + c.name).c_str(), fused_call, c.input)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::RegisterBenchmark("batch_256", batch_throughput, cases)
      ->Arg(1)
      ->Arg(2)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Repetitions(7)
      ->ReportAggregatesOnly(true);
  benchmark::Initialize(&argc, argv);
  Recorder recorder;
  benchmark::RunSpecifiedBenchmarks(&recorder);

  std::vector<double> ratios;
  std::printf("\n%-20s %12s %12s %8s\n", "case", "reference us", "fused us", "ratio");
  for (const Case &c : cases) {
    auto ref = recorder.seconds.find("reference/" + c.name);
    auto fused = recorder.seconds.find("fused/" + c.name);
    if (ref == recorder.seconds.end() || fused == recorder.seconds.end()) continue;
    const double ratio = ref->second / fused->second;
    ratios.push_back(ratio);
    std::printf("%-20s %12.1f %12.1f %8.1f\n", c.name.c_str(), ref->second * 1e6,
                fused->second * 1e6, ratio);
  }
  if (!ratios.empty()) {
    std::sort(ratios.begin(), ratios.end());
    const std::size_t n = ratios.size();
    const double median = n % 2 ? ratios[n / 2] : (ratios[n / 2 - 1] + ratios[n / 2]) / 2;
    std::printf("median fused speed-up over the reference path: %.1fx (target 20x)\n", median);
  }
  // medians of repeated runs: a shared machine's noise hits single runs
  auto one = recorder.items_per_second.find("batch_256/1/repeats:7/real_time_median");
  auto two = recorder.items_per_second.find("batch_256/2/repeats:7/real_time_median");
  if (one != recorder.items_per_second.end() && two != recorder.items_per_second.end())
    std::printf(
        "batch throughput: %.0f evaluations/s on 1 thread, %.0f on 2: %.2fx (target 1.8x)\n",
        one->second, two->second, two->second / one->second);
  return 0;
}
