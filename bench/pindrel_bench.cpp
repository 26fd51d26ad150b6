// Per-call cost of pindrel on its reference cases, and of its batch path.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../tests/golden.h"
#include "load_model.h"
#include "load_model_batch.h"

using namespace wheelsoil::detail;
using wheelsoil::detail::load_model::run_load_model;

namespace {

// The 20-slot inputs of the reference cases.
std::vector<std::vector<double>> reference_inputs() {
  std::vector<std::vector<double>> cases;
  for (const auto &c : golden::load("pindrel.txt", 20, 1)) cases.push_back(c.inputs);
  return cases;
}

const std::vector<std::vector<double>> &cases() {
  static const auto c = reference_inputs();
  return c;
}

// One call per iteration, the reference cases in turn.
void pindrel_call(benchmark::State &state) {
  const auto &c = cases();
  std::size_t k = 0;
  double load;
  for (auto _ : state) {
    run_load_model(&load, c[k].data());
    benchmark::DoNotOptimize(load);
    if (++k == c.size()) k = 0;
  }
}
BENCHMARK(pindrel_call)->Unit(benchmark::kNanosecond);

// 4096 evaluations per iteration on state.range(0) threads.
void pindrel_batch(benchmark::State &state) {
  const auto &c = cases();
  const std::size_t count = 4096;
  std::vector<double> inputs, loads(count);
  for (std::size_t k = 0; k < count; ++k)
    inputs.insert(inputs.end(), c[k % c.size()].begin(), c[k % c.size()].end());
  for (auto _ : state) {
    load_model::evaluate_batch(inputs.data(), loads.data(), count, unsigned(state.range(0)));
    benchmark::DoNotOptimize(loads.data());
  }
  state.SetItemsProcessed(std::int64_t(state.iterations() * count));
}
BENCHMARK(pindrel_batch)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
