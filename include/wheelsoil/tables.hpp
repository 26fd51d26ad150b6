// The slot tables and the soil library, as constant tables built from the
// one definition of each (talvor_input.def, talvor_output.def,
// pindrel_input.def, soils.def). Header-only: usable without the library.
#ifndef WHEELSOIL_TABLES_HPP
#define WHEELSOIL_TABLES_HPP

#include <cstddef>
#include <cstring>

#include "records.hpp"

namespace wheelsoil {

// How a slot that a caller leaves out is filled.
enum class DefaultKind {
  required,  // no default
  fixed,     // Slot::value
  copy,      // the value of the slot named Slot::copy_of, of the same vector
  result,    // an output slot
};

// One slot of a vector.
struct Slot {
  const char *name;
  const char *symbol;  // in the model's formulas; "" if none
  const char *unit;    // SI; "-" for a pure number
  DefaultKind kind;
  double value;         // the default of a fixed slot
  const char *copy_of;  // the slot a copy slot takes its default from, else ""
  const char *meaning;
  const char *range;  // typical values; "" where none is typical
};

// A table of slots in slot order: table[k] is slot k.
class SlotTable {
 public:
  template <std::size_t N>
  constexpr SlotTable(const Slot (&slots)[N]) : slots_(slots), size_(N) {}
  constexpr std::size_t size() const { return size_; }
  constexpr const Slot &operator[](std::size_t k) const { return slots_[k]; }
  constexpr const Slot *begin() const { return slots_; }
  constexpr const Slot *end() const { return slots_ + size_; }
  // The index of the slot called name, or size() if there is none.
  std::size_t find(const char *name) const {
    for (std::size_t k = 0; k < size_; ++k)
      if (std::strcmp(slots_[k].name, name) == 0) return k;
    return size_;
  }

 private:
  const Slot *slots_;
  std::size_t size_;
};

#define WHEELSOIL_SLOT(name, symbol, unit, kind, value, copy_of, meaning, range) \
  {#name, symbol, unit, DefaultKind::kind, value, copy_of, meaning, range},
inline constexpr Slot talvor_input_slot_list[] = {
#include "talvor_input.def"
};
inline constexpr Slot talvor_output_slot_list[] = {
#include "talvor_output.def"
};
inline constexpr Slot pindrel_input_slot_list[] = {
#include "pindrel_input.def"
};
#undef WHEELSOIL_SLOT
inline constexpr Slot pindrel_output_slot_list[] = {
    {"load", "W", "N", DefaultKind::result, 0, "", "vertical load the soil carries under the rim",
     ""},
};

inline constexpr SlotTable talvor_input_slots{talvor_input_slot_list};
inline constexpr SlotTable talvor_output_slots{talvor_output_slot_list};
inline constexpr SlotTable pindrel_input_slots{pindrel_input_slot_list};
inline constexpr SlotTable pindrel_output_slots{pindrel_output_slot_list};

// A soil of the library, in the units of its source, with the SI values the
// models take.
struct Soil {
  const char *name;
  const char *description;
  double sinkage_exponent;     // n (-)
  double k_c_kn;               // published k_c (kN/m^(n+1))
  double k_phi_kn;             // published k_phi (kN/m^(n+2))
  double cohesion_kpa;         // published c (kPa)
  double friction_angle_deg;   // published phi (degrees)
  double shear_modulus;        // K (m), kx = ky = K for talvor
  bool shear_modulus_typical;  // not published with the soil: its class's typical value
  double density;              // bulk density (kg/m^3)
  bool density_typical;        // the same for the density
  const char *source;
  const char *notes;

  // SI: N/m^(n+1), N/m^(n+2), Pa, rad, in the grouping of the Octave helpers.
  constexpr double k_c() const { return k_c_kn * 1000; }
  constexpr double k_phi() const { return k_phi_kn * 1000; }
  constexpr double cohesion() const { return cohesion_kpa * 1000; }
  constexpr double friction_angle() const { return friction_angle_deg * 3.141592653589793 / 180; }
};

#define WHEELSOIL_SOIL(name, description, n, k_c, k_phi, c, phi, K, K_typical, density, \
                       density_typical, source, notes)                                  \
  {#name,   description,          n,      k_c,  k_phi, c, phi, K, K_typical != 0,       \
   density, density_typical != 0, source, notes},
// The soils, in the library's order: for (const Soil &s : wheelsoil::soils).
inline constexpr Soil soils[] = {
#include "soils.def"
};
#undef WHEELSOIL_SOIL

// The soil called name, or nullptr.
inline const Soil *find_soil(const char *name) {
  for (const Soil &s : soils)
    if (std::strcmp(s.name, name) == 0) return &s;
  return nullptr;
}

// Sets the soil slots of a talvor input: n, k_c, k_phi, c, phi, kx = ky = K
// and the density.
inline void apply_soil(const Soil &soil, WheelSoilInput &in) {
  in.sinkage_exponent = soil.sinkage_exponent;
  in.k_c = soil.k_c();
  in.k_phi = soil.k_phi();
  in.cohesion = soil.cohesion();
  in.friction_angle = soil.friction_angle();
  in.kx = soil.shear_modulus;
  in.ky = soil.shear_modulus;
  in.soil_density = soil.density;
}

// Sets the soil slots of a pindrel input: n, k_c, k_phi, c, phi and K.
inline void apply_soil(const Soil &soil, LoadModelInput &in) {
  in.sinkage_exponent = soil.sinkage_exponent;
  in.k_c = soil.k_c();
  in.k_phi = soil.k_phi();
  in.cohesion = soil.cohesion();
  in.friction_angle = soil.friction_angle();
  in.shear_modulus = soil.shear_modulus;
}

}  // namespace wheelsoil

#endif
