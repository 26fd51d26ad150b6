// Per-call cost of talvor on the realistic reference cases (those whose 18
// outputs are all finite): the reference path, the previous fused evaluator
// (baseline/), the default path and the vector path, on the widest unit and on
// each unit this CPU runs. The variants are measured interleaved in one
// process, round after round, in CPU time of the calling thread, and each
// figure is the median over the rounds, so that other work on a shared
// machine hits every variant alike. Then batch throughput, 256 evaluations on
// 1 and 2 threads, with either maths (wall time, median of rounds).
//
//   talvor_bench [--rounds=N]   (other arguments are ignored)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "../tests/golden.h"
#include "evaluation_modes.h"
#include "vector_loads.h"
#include "wheel_soil_batch.h"
#include "wheel_soil_model.h"

#include "baseline/model_state.h"

namespace baseline_fused {
void fused_loads(const ModelState &m, wheelsoil::WheelSoilOutput *out);
}

namespace full_model = wheelsoil::detail::full_model;
using wheelsoil::WheelSoilInput;
using wheelsoil::WheelSoilOutput;

namespace {

struct Case {
  std::string name;
  std::vector<double> input;
};

std::vector<Case> realistic_cases() {
  std::vector<Case> cases;
  for (const auto &c : golden::load("talvor.txt", 29, 18))
    if (std::all_of(c.outputs.begin(), c.outputs.end(), [](double x) { return std::isfinite(x); }))
      cases.push_back({c.name, c.inputs});
  return cases;
}

using Evaluate = std::function<void(double *, const double *)>;

void previous_fused(double *out, const double *in) {
  WheelSoilInput input;
  std::memcpy(&input, in, sizeof input);
  WheelSoilOutput o{};
  // the previous evaluator's own copy of the state: the same 26 fields
  const full_model::ModelState m = full_model::make_state(input);
  baseline_fused::ModelState state;
  static_assert(sizeof state == sizeof m, "the same 26 fields");
  std::memcpy(&state, &m, sizeof state);
  baseline_fused::fused_loads(state, &o);
  std::memcpy(out, &o, sizeof o);
}

struct Variant {
  std::string name;
  Evaluate evaluate;
};

double thread_seconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  if (n == 0) return NAN;
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Seconds per call of one variant on one input, over `calls` calls.
double per_call(const Evaluate &f, const std::vector<double> &input, int calls) {
  double out[18];
  const double start = thread_seconds();
  for (int k = 0; k < calls; ++k) f(out, input.data());
  const double end = thread_seconds();
  volatile double sink = out[0];
  (void)sink;
  return (end - start) / calls;
}

// Evaluations per second of one batch of `inputs`, by wall time.
double batch_rate(const std::vector<double> &inputs, std::size_t count, unsigned threads,
                  full_model::MathFunctions math) {
  std::vector<double> outputs(18 * count);
  const auto start = std::chrono::steady_clock::now();
  full_model::evaluate_batch(inputs.data(), outputs.data(), count, threads, {}, math);
  const auto end = std::chrono::steady_clock::now();
  return double(count) / std::chrono::duration<double>(end - start).count();
}

}  // namespace

int main(int argc, char **argv) {
  int rounds = 11;
  for (int a = 1; a < argc; ++a)
    if (std::strncmp(argv[a], "--rounds=", 9) == 0) rounds = std::max(1, std::atoi(argv[a] + 9));
  const std::vector<Case> cases = realistic_cases();
  if (cases.empty()) {
    std::fprintf(stderr, "talvor_bench: no realistic cases in " WHEELSOIL_TEST_DATA "\n");
    return 1;
  }

  std::vector<Variant> variants = {
      {"reference", full_model::run_model_reference},
      {"previous", previous_fused},
      {"default", full_model::run_model},
  };
  const bool vector = full_model::vector_math_available();
  std::vector<full_model::VectorUnit> units;
  if (vector) {
    variants.push_back({"vector", full_model::run_model_vector});
    for (full_model::VectorUnit u : {full_model::VectorUnit::scalar, full_model::VectorUnit::sse2,
                                     full_model::VectorUnit::avx, full_model::VectorUnit::avx512}) {
      if (!full_model::vector_unit_runs(u)) continue;
      units.push_back(u);
      variants.push_back({std::string("vector/") + full_model::vector_unit_name(u),
                          [u](double *out, const double *in) {
                            WheelSoilInput input;
                            std::memcpy(&input, in, sizeof input);
                            WheelSoilOutput o{};
                            full_model::vector_loads_on(u, full_model::make_state(input), &o);
                            std::memcpy(out, &o, sizeof o);
                          }});
    }
  }

  // the split rule last, so that the columns above keep their places
  variants.push_back({"split", [](double *out, const double *in) {
                        WheelSoilInput input;
                        std::memcpy(&input, in, sizeof input);
                        full_model::EvaluationMode mode;
                        mode.split_rule = true;
                        WheelSoilOutput o{};
                        full_model::evaluate_input(input, mode, &o);
                        std::memcpy(out, &o, sizeof o);
                      }});

  // calls per measurement: about 2 ms of work each
  const std::size_t nv = variants.size(), nc = cases.size();
  std::vector<int> calls(nv * nc);
  for (std::size_t v = 0; v < nv; ++v)
    for (std::size_t c = 0; c < nc; ++c) {
      const double once = per_call(variants[v].evaluate, cases[c].input, 1);
      calls[v * nc + c] = std::max(1, int(2e-3 / std::max(once, 1e-7)));
    }
  std::vector<std::vector<double>> samples(nv * nc);
  for (int r = 0; r < rounds; ++r)
    for (std::size_t c = 0; c < nc; ++c)
      for (std::size_t v = 0; v < nv; ++v)
        samples[v * nc + c].push_back(
            per_call(variants[v].evaluate, cases[c].input, calls[v * nc + c]));

  std::printf("talvor per call, CPU time, median of %d interleaved rounds (us)\n", rounds);
  std::printf("%-16s %10s %9s %8s", "case", "reference", "previous", "default");
  if (vector) std::printf(" %8s", "vector");
  std::printf(" | %8s %8s", "def/prev", "ref/def");
  if (vector) std::printf(" %8s %8s", "vec/prev", "ref/vec");
  std::printf("\n");
  std::vector<double> t(nv);
  std::vector<std::vector<double>> speedups(4);
  std::vector<std::vector<double>> unit_speedups(units.size());
  for (std::size_t c = 0; c < nc; ++c) {
    for (std::size_t v = 0; v < nv; ++v) t[v] = median(samples[v * nc + c]);
    std::printf("%-16s %10.1f %9.1f %8.1f", cases[c].name.c_str(), t[0] * 1e6, t[1] * 1e6,
                t[2] * 1e6);
    if (vector) std::printf(" %8.1f", t[3] * 1e6);
    std::printf(" | %7.2fx %7.1fx", t[1] / t[2], t[0] / t[2]);
    speedups[0].push_back(t[1] / t[2]);
    speedups[1].push_back(t[0] / t[2]);
    if (vector) {
      std::printf(" %7.2fx %7.1fx", t[1] / t[3], t[0] / t[3]);
      speedups[2].push_back(t[1] / t[3]);
      speedups[3].push_back(t[0] / t[3]);
      for (std::size_t u = 0; u < units.size(); ++u) unit_speedups[u].push_back(t[1] / t[4 + u]);
    }
    std::printf("\n");
  }
  std::printf(
      "median over %zu cases: default %.2fx the previous fused evaluator (target 3x), "
      "%.1fx the reference path (target 96x)\n",
      nc, median(speedups[0]), median(speedups[1]));
  if (vector) {
    std::printf(
        "median over %zu cases: vector (%s) %.2fx the previous fused evaluator, %.1fx the "
        "reference path (targets 4x with AVX2, 6x and 190x with AVX-512)\n",
        nc, full_model::vector_unit_name(full_model::widest_vector_unit()), median(speedups[2]),
        median(speedups[3]));
    for (std::size_t u = 0; u < units.size(); ++u)
      std::printf("  vector on %-6s: %.2fx the previous fused evaluator\n",
                  full_model::vector_unit_name(units[u]), median(unit_speedups[u]));
  }

  std::vector<double> split_ratios;
  for (std::size_t c = 0; c < nc; ++c)
    split_ratios.push_back(median(samples[(nv - 1) * nc + c]) / median(samples[2 * nc + c]));
  std::printf("split rule: median over %zu cases %.2fx the default's time (from %.2fx to %.2fx)\n",
              nc, median(split_ratios), *std::min_element(split_ratios.begin(), split_ratios.end()),
              *std::max_element(split_ratios.begin(), split_ratios.end()));

  // batch throughput
  const std::size_t count = 256;
  std::vector<double> inputs;
  for (std::size_t k = 0; k < count; ++k)
    inputs.insert(inputs.end(), cases[k % nc].input.begin(), cases[k % nc].input.end());
  struct Batch {
    const char *name;
    unsigned threads;
    full_model::MathFunctions math;
    std::vector<double> rates;
  };
  std::vector<Batch> batches = {{"default", 1, full_model::MathFunctions::standard, {}},
                                {"default", 2, full_model::MathFunctions::standard, {}}};
  if (vector) {
    batches.push_back({"vector", 1, full_model::MathFunctions::vector, {}});
    batches.push_back({"vector", 2, full_model::MathFunctions::vector, {}});
  }
  for (int r = 0; r < rounds; ++r)
    for (Batch &b : batches) b.rates.push_back(batch_rate(inputs, count, b.threads, b.math));
  std::printf("batch of %zu, wall time, median of %d rounds:\n", count, rounds);
  for (std::size_t k = 0; k < batches.size(); k += 2) {
    const double one = median(batches[k].rates), two = median(batches[k + 1].rates);
    std::printf("  %-8s %8.0f evaluations/s on 1 thread, %8.0f on 2: %.2fx\n", batches[k].name, one,
                two, two / one);
  }
  return 0;
}
