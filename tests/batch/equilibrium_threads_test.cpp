// The operating-point batch when the system refuses to start the threads
// asked for: it completes on the threads that did start, with the results of
// one thread, instead of ending the host process.
#include <gtest/gtest.h>

#include "little_address_space.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "../full_model/rover_wheel.h"
#include "wheel_equilibrium.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;

namespace {

#ifndef WHEELSOIL_SANITIZED
// In a child process: solves 256 loads on one thread, then on one thread
// per core with no address space left for another thread's stack; exits 0
// when both give the same heights and loads.
[[noreturn]] void solve_with_little_address_space() {
  const std::size_t count = 256;
  const WheelSoilInput wheel = rover_wheel();
  std::vector<double> loads(count);
  for (std::size_t k = 0; k < count; ++k) loads[k] = 20.0 + double(k % 16);
  std::vector<equilibrium::EquilibriumResult> one(count), many(count);
  equilibrium::solve_equilibrium_batch(&wheel, 0, loads.data(), 1, count, one.data(), 1);
  limit_address_space();
  if (!threads_refused()) std::exit(2);
  equilibrium::solve_equilibrium_batch(&wheel, 0, loads.data(), 1, count, many.data(), 0);
  for (std::size_t k = 0; k < count; ++k)
    if (std::memcmp(&one[k].centre_height, &many[k].centre_height, sizeof(double)) != 0 ||
        std::memcmp(&one[k].loads, &many[k].loads, sizeof(WheelSoilOutput)) != 0)
      std::exit(1);
  std::exit(0);
}
#endif

TEST(EquilibriumBatchDeathTest, RefusedThreadsLeaveTheSolvesToTheOthers) {
#ifdef WHEELSOIL_SANITIZED
  GTEST_SKIP() << "sanitizer runtimes need more address space than the limit leaves";
#else
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(solve_with_little_address_space(), ::testing::ExitedWithCode(0), "");
#endif
}

}  // namespace
