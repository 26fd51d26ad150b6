// The C interface's slot tables and soil library, from the same definitions
// as the C++ tables (tables.hpp).
#include <wheelsoil/tables.hpp>
#include <wheelsoil/wheelsoil.h>

#include <array>
#include <cstring>

namespace wheelsoil::detail {
namespace {

constexpr int kind_required = WHEELSOIL_REQUIRED;
constexpr int kind_fixed = WHEELSOIL_FIXED;
constexpr int kind_copy = WHEELSOIL_COPY;
constexpr int kind_result = WHEELSOIL_RESULT;

#define WHEELSOIL_SLOT(name, symbol, unit, kind, value, copy_of, meaning, range) \
  {#name, symbol, unit, kind_##kind, value, copy_of, meaning, range},
constexpr wheelsoil_slot_info talvor_inputs[] = {
#include <wheelsoil/talvor_input.def>
};
constexpr wheelsoil_slot_info talvor_outputs[] = {
#include <wheelsoil/talvor_output.def>
};
constexpr wheelsoil_slot_info pindrel_inputs[] = {
#include <wheelsoil/pindrel_input.def>
};
#undef WHEELSOIL_SLOT

// The one-slot pindrel output, as the C++ table has it.
wheelsoil_slot_info pindrel_output() {
  const Slot &s = pindrel_output_slots[0];
  return {s.name, s.symbol, s.unit, kind_result, s.value, s.copy_of, s.meaning, s.range};
}

// &table[index], or NULL past its end.
template <std::size_t N>
const wheelsoil_slot_info *entry(const wheelsoil_slot_info (&table)[N], std::size_t index) {
  return index < N ? &table[index] : nullptr;
}

constexpr std::size_t n_soils = sizeof soils / sizeof soils[0];

// The C records of the soil library, SI values formed as the C++ Soil forms them.
const std::array<wheelsoil_soil_info, n_soils> &soil_infos() {
  static const std::array<wheelsoil_soil_info, n_soils> infos = [] {
    std::array<wheelsoil_soil_info, n_soils> a{};
    for (std::size_t k = 0; k < n_soils; ++k) {
      const Soil &s = soils[k];
      a[k] = {s.name,
              s.description,
              s.sinkage_exponent,
              s.k_c(),
              s.k_phi(),
              s.cohesion(),
              s.friction_angle(),
              s.shear_modulus,
              s.density,
              s.shear_modulus_typical ? 1 : 0,
              s.density_typical ? 1 : 0,
              s.source,
              s.notes};
    }
    return a;
  }();
  return infos;
}

}  // namespace
}  // namespace wheelsoil::detail

using namespace wheelsoil::detail;

extern "C" {

size_t wheelsoil_slot_count(int layout) {
  switch (layout) {
    case WHEELSOIL_LAYOUT_TALVOR_INPUT: return sizeof talvor_inputs / sizeof talvor_inputs[0];
    case WHEELSOIL_LAYOUT_TALVOR_OUTPUT: return sizeof talvor_outputs / sizeof talvor_outputs[0];
    case WHEELSOIL_LAYOUT_PINDREL_INPUT: return sizeof pindrel_inputs / sizeof pindrel_inputs[0];
    case WHEELSOIL_LAYOUT_PINDREL_OUTPUT: return 1;
    default: return 0;
  }
}

const wheelsoil_slot_info *wheelsoil_slot(int layout, size_t index) {
  static const wheelsoil_slot_info load = pindrel_output();
  switch (layout) {
    case WHEELSOIL_LAYOUT_TALVOR_INPUT: return entry(talvor_inputs, index);
    case WHEELSOIL_LAYOUT_TALVOR_OUTPUT: return entry(talvor_outputs, index);
    case WHEELSOIL_LAYOUT_PINDREL_INPUT: return entry(pindrel_inputs, index);
    case WHEELSOIL_LAYOUT_PINDREL_OUTPUT: return index == 0 ? &load : nullptr;
    default: return nullptr;
  }
}

size_t wheelsoil_soil_count(void) { return n_soils; }

const wheelsoil_soil_info *wheelsoil_soil(size_t index) {
  return index < n_soils ? &soil_infos()[index] : nullptr;
}

const wheelsoil_soil_info *wheelsoil_find_soil(const char *name) {
  if (!name) return nullptr;
  for (const wheelsoil_soil_info &s : soil_infos())
    if (std::strcmp(s.name, name) == 0) return &s;
  return nullptr;
}

}  // extern "C"
