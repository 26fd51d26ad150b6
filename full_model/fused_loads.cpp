// The default evaluator, on the widest unit it is built for that this CPU
// runs: the same bits on either.
#include "vector_unit.h"
#include "wheel_soil_model.h"

namespace full_model {

// One per unit, each in a file built with that unit's instructions (off
// x86-64, the plain build only, under the name of the narrowest).
void fused_loads_sse2(const ModelState &m, WheelSoilOutput *out);
#if !WHEELSOIL_SSE2_ONLY
void fused_loads_avx(const ModelState &m, WheelSoilOutput *out);
#endif

namespace {

using Evaluator = void (*)(const ModelState &, WheelSoilOutput *);

Evaluator unit_evaluator(VectorUnit unit) {
  if (unit == VectorUnit::sse2) return fused_loads_sse2;
#if !WHEELSOIL_SSE2_ONLY
  if (unit == VectorUnit::avx && cpu_has_unit(unit)) return fused_loads_avx;
#endif
  return nullptr;
}

Evaluator widest() {
  static const Evaluator chosen =
      unit_evaluator(VectorUnit::avx) ? unit_evaluator(VectorUnit::avx) : fused_loads_sse2;
  return chosen;
}

}  // namespace

void fused_loads(const ModelState &m, WheelSoilOutput *out) { widest()(m, out); }

bool fused_loads_on(VectorUnit unit, const ModelState &m, WheelSoilOutput *out) {
  const Evaluator evaluate = unit_evaluator(unit);
  if (!evaluate) return false;
  evaluate(m, out);
  return true;
}

}  // namespace full_model
