#include "../api/strict_fp.h"

#include "vector_unit.h"

namespace wheelsoil::detail::full_model {

const char *vector_unit_name(VectorUnit unit) {
  switch (unit) {
    case VectorUnit::scalar: return "scalar";
    case VectorUnit::sse2: return "sse2";
    case VectorUnit::avx: return "avx";
    case VectorUnit::avx512: return "avx512";
  }
  return "unknown";
}

bool cpu_has_unit(VectorUnit unit) {
  if (unit == VectorUnit::scalar) return true;
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  __builtin_cpu_init();
  switch (unit) {
    case VectorUnit::scalar: return true;
    case VectorUnit::sse2: return __builtin_cpu_supports("sse2");
    case VectorUnit::avx: return __builtin_cpu_supports("avx");
    case VectorUnit::avx512: return __builtin_cpu_supports("avx512f");
  }
#endif
  return false;
}

}  // namespace wheelsoil::detail::full_model
