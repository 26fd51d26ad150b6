// Eight threads calling the C++ API and the C interface at once (talvor,
// pindrel, their batches, the operating point) get the bits of the same calls
// made one at a time: the public paths keep no state between or across calls.
// Also run under ThreadSanitizer.
#include <gtest/gtest.h>
#include <wheelsoil/wheelsoil.h>
#include <wheelsoil/wheelsoil.hpp>

#include <cstring>
#include <thread>
#include <vector>

#include "../golden.h"

namespace {

constexpr int thread_count = 8;

struct Expected {
  std::vector<wheelsoil::WheelSoilInput> talvor_in;
  std::vector<wheelsoil::WheelSoilOutput> talvor_out;
  std::vector<wheelsoil::LoadModelInput> pindrel_in;
  std::vector<double> pindrel_out;
  std::vector<wheelsoil::EquilibriumResult> equilibrium;  // of talvor_in[k] at load(k)
  static double load(std::size_t k) { return 30.0 + 10.0 * double(k % 4); }
};

// Everything each thread will compute, computed first on this thread alone.
Expected expected_results() {
  Expected e;
  for (const auto &c : golden::load("talvor.txt", 29, 18)) {
    wheelsoil::WheelSoilInput in;
    std::memcpy(&in, c.inputs.data(), sizeof in);
    e.talvor_in.push_back(in);
    e.talvor_out.push_back(wheelsoil::talvor(in));
  }
  for (const auto &c : golden::load("pindrel.txt", 20, 1)) {
    wheelsoil::LoadModelInput in;
    std::memcpy(&in, c.inputs.data(), sizeof in);
    e.pindrel_in.push_back(in);
    e.pindrel_out.push_back(wheelsoil::pindrel(in));
  }
  for (std::size_t k = 0; k < 4; ++k)
    e.equilibrium.push_back(wheelsoil::solve_equilibrium(e.talvor_in[k], Expected::load(k)));
  return e;
}

bool same(const void *a, const void *b, std::size_t bytes) { return std::memcmp(a, b, bytes) == 0; }

// One thread's share, starting at a different case on each thread; the
// number of results that differ from `e`.
int run_calls(const Expected &e, int t) {
  int wrong = 0;
  const std::size_t n = e.talvor_in.size();
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t k = (i + std::size_t(t)) % n;
    const wheelsoil::WheelSoilOutput cpp = wheelsoil::talvor(e.talvor_in[k]);
    double c[18];
    wheelsoil_talvor(&e.talvor_in[k].vx, 29, c);
    wrong += !same(&cpp, &e.talvor_out[k], sizeof cpp) + !same(c, &e.talvor_out[k], sizeof c);
  }
  for (std::size_t k = 0; k < e.pindrel_in.size(); ++k) {
    double c = 0;
    wheelsoil_pindrel(&e.pindrel_in[k].band_radius, 20, &c);
    const double cpp = wheelsoil::pindrel(e.pindrel_in[k]);
    wrong += !golden::same_value(c, e.pindrel_out[k]) + !golden::same_value(cpp, e.pindrel_out[k]);
  }
  // Batches of their own, on two threads each.
  const std::vector<wheelsoil::WheelSoilOutput> batch =
      wheelsoil::talvor_batch(e.talvor_in, {2, {}});
  wrong += !same(batch.data(), e.talvor_out.data(), n * sizeof batch[0]);
  std::vector<double> loads(e.pindrel_in.size());
  wheelsoil_pindrel_batch(&e.pindrel_in[0].band_radius, loads.size(), loads.data(), 2);
  for (std::size_t k = 0; k < loads.size(); ++k)
    wrong += !golden::same_value(loads[k], e.pindrel_out[k]);
  // The operating point, alone and in a batch.
  const std::size_t k = std::size_t(t) % e.equilibrium.size();
  const wheelsoil::EquilibriumResult one =
      wheelsoil::solve_equilibrium(e.talvor_in[k], Expected::load(k));
  wrong += !golden::same_value(one.centre_height, e.equilibrium[k].centre_height) +
           (one.message != e.equilibrium[k].message);
  wheelsoil_equilibrium_result c;
  wheelsoil_equilibrium(&e.talvor_in[k].vx, 29, Expected::load(k), &c);
  wrong += !golden::same_value(c.centre_height, e.equilibrium[k].centre_height);
  std::vector<double> eq_loads(e.equilibrium.size());
  for (std::size_t j = 0; j < eq_loads.size(); ++j) eq_loads[j] = Expected::load(j);
  std::vector<wheelsoil::EquilibriumResult> eq(e.equilibrium.size());
  wheelsoil::solve_equilibrium_batch(wheelsoil::packed(e.talvor_in.data(), eq.size()),
                                     eq_loads.data(), 1, eq.data(), {2, {}});
  for (std::size_t j = 0; j < eq.size(); ++j)
    wrong += !golden::same_value(eq[j].centre_height, e.equilibrium[j].centre_height) +
             !same(&eq[j].loads, &e.equilibrium[j].loads, sizeof eq[j].loads);
  return wrong;
}

TEST(ConcurrentCalls, EightThreadsGetTheBitsOfSingleCalls) {
  const Expected e = expected_results();
  std::vector<int> wrong(thread_count, -1);
  std::vector<std::thread> threads;
  for (int t = 0; t < thread_count; ++t)
    threads.emplace_back([&e, &wrong, t] { wrong[std::size_t(t)] = run_calls(e, t); });
  for (std::thread &th : threads) th.join();
  for (int t = 0; t < thread_count; ++t) EXPECT_EQ(wrong[std::size_t(t)], 0) << "thread " << t;
}

}  // namespace
