// The default evaluator, on the widest unit it is built for that this CPU
// runs: the same bits on either.
#include "../api/strict_fp.h"

#include <initializer_list>

#include "vector_unit.h"
#include "wheel_soil_model.h"

namespace wheelsoil::detail::full_model {

// One per unit, each in a file built with that unit's instructions (off
// x86-64, the plain build only, under the name of the narrowest).
void evaluate_sse2(const ModelState &m, WheelSoilOutput *out);
#if !WHEELSOIL_SSE2_ONLY
void evaluate_avx(const ModelState &m, WheelSoilOutput *out);
void evaluate_avx512(const ModelState &m, WheelSoilOutput *out);
#endif

namespace {

using Evaluator = void (*)(const ModelState &, WheelSoilOutput *);

Evaluator unit_evaluator(VectorUnit unit) {
  if (unit == VectorUnit::sse2) return evaluate_sse2;
#if !WHEELSOIL_SSE2_ONLY
  if (unit == VectorUnit::avx && cpu_has_unit(unit)) return evaluate_avx;
  if (unit == VectorUnit::avx512 && cpu_has_unit(unit)) return evaluate_avx512;
#endif
  return nullptr;
}

Evaluator widest() {
  static const Evaluator chosen = [] {
    for (VectorUnit u : {VectorUnit::avx512, VectorUnit::avx})
      if (const Evaluator run = unit_evaluator(u)) return run;
    return Evaluator(evaluate_sse2);
  }();
  return chosen;
}

}  // namespace

void evaluate(const ModelState &m, WheelSoilOutput *out) { widest()(m, out); }

bool evaluate_on(VectorUnit unit, const ModelState &m, WheelSoilOutput *out) {
  const Evaluator run = unit_evaluator(unit);
  if (!run) return false;
  run(m, out);
  return true;
}

}  // namespace wheelsoil::detail::full_model
