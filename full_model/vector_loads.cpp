// The vector-maths evaluation: the unit chosen at run time from what the CPU
// reports, and the single-call entry.
#include "../api/strict_fp.h"

#include "vector_loads.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

// Without the build's word, no vector maths (a build of these sources alone).
#ifndef WHEELSOIL_VECTOR_MATH
#define WHEELSOIL_VECTOR_MATH 0
#endif

namespace wheelsoil::detail::full_model {

#if WHEELSOIL_VECTOR_MATH
// One per unit, each in a file built with that unit's instructions.
void vector_loads_scalar(const ModelState &m, WheelSoilOutput *out);
void vector_loads_sse2(const ModelState &m, WheelSoilOutput *out);
void vector_loads_avx(const ModelState &m, WheelSoilOutput *out);
void vector_loads_avx512(const ModelState &m, WheelSoilOutput *out);
#endif

namespace {

using UnitEvaluator = void (*)(const ModelState &, WheelSoilOutput *);

UnitEvaluator unit_evaluator(VectorUnit unit) {
#if WHEELSOIL_VECTOR_MATH
  switch (unit) {
    case VectorUnit::scalar: return vector_loads_scalar;
    case VectorUnit::sse2: return vector_loads_sse2;
    case VectorUnit::avx: return vector_loads_avx;
    case VectorUnit::avx512: return vector_loads_avx512;
  }
#else
  (void)unit;
#endif
  return nullptr;
}

bool cpu_runs(VectorUnit unit) { return cpu_has_unit(unit); }

VectorUnit find_widest() {
  for (VectorUnit u : {VectorUnit::avx512, VectorUnit::avx, VectorUnit::sse2})
    if (cpu_runs(u)) return u;
  return VectorUnit::scalar;
}

}  // namespace

bool vector_math_available() { return WHEELSOIL_VECTOR_MATH != 0; }

bool vector_unit_runs(VectorUnit unit) { return unit_evaluator(unit) && cpu_runs(unit); }

VectorUnit widest_vector_unit() {
  static const VectorUnit widest = find_widest();
  return widest;
}

void vector_loads(const ModelState &m, WheelSoilOutput *out) {
  if (UnitEvaluator evaluate = unit_evaluator(widest_vector_unit())) {
    evaluate(m, out);
    return;
  }
  double *slot = &out->rim_fx;
  for (int k = 0; k < 18; ++k) slot[k] = NAN;
}

bool vector_loads_on(VectorUnit unit, const ModelState &m, WheelSoilOutput *out) {
  if (!vector_unit_runs(unit)) return false;
  unit_evaluator(unit)(m, out);
  return true;
}

void run_model_vector(double *output, const double *input) {
  WheelSoilInput in;
  std::memcpy(&in, input, sizeof in);
  WheelSoilOutput out{};
  vector_loads(make_state(in), &out);
  std::memcpy(output, &out, sizeof out);
}

}  // namespace wheelsoil::detail::full_model
