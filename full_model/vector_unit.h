// The x86-64 vector units the evaluators are built for, and which of them
// this CPU runs.
#ifndef WHEELSOIL_FULL_MODEL_VECTOR_UNIT_H
#define WHEELSOIL_FULL_MODEL_VECTOR_UNIT_H

namespace wheelsoil::detail::full_model {

// A vector unit, by its lanes of doubles.
enum class VectorUnit {
  scalar = 1,  // one lane (portable C, no FMA)
  sse2 = 2,    // 2 lanes, every x86-64 CPU
  avx = 4,     // 4 lanes, CPUs with AVX (AVX2 CPUs included)
  avx512 = 8,  // 8 lanes, CPUs with AVX-512F
};

// The unit's name: "scalar", "sse2", "avx", "avx512".
const char *vector_unit_name(VectorUnit unit);

// Whether this CPU, and its OS's saving of the unit's registers, allow the
// unit (always false off x86-64, but for scalar).
bool cpu_has_unit(VectorUnit unit);

}  // namespace wheelsoil::detail::full_model

#endif
