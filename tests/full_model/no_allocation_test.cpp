// No talvor path allocates: a count of every operator new in this
// program stays put across evaluations.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "../golden.h"
#include "vector_loads.h"
#include "wheel_soil_model.h"

using namespace wheelsoil;
using namespace wheelsoil::detail;
using namespace wheelsoil::detail::full_model;

namespace {
std::atomic<long> allocations{0};
}

void *operator new(std::size_t size) {
  ++allocations;
  if (void *p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }

namespace {

TEST(NoAllocation, NoPathAllocatesPerCall) {
  const auto cases = golden::load("talvor.txt", 29, 18);
  double out[18];
  full_model::run_model_vector(out, cases[0].inputs.data());  // the unit is chosen once
  const long before = allocations.load();
  for (const auto &c : cases) {
    run_model(out, c.inputs.data());
    full_model::run_model_reference(out, c.inputs.data());
    full_model::run_model_vector(out, c.inputs.data());
  }
  EXPECT_EQ(allocations.load(), before);
}

}  // namespace
