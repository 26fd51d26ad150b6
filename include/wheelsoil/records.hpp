// The models' vectors as records: the fields in slot order, each a double,
// from the slot tables (talvor_input.def, talvor_output.def,
// pindrel_input.def, where every field's unit, meaning and typical range
// stand). Frame of talvor: x forward, y along the axle, z up, origin at the
// wheel centre; rim angles from the downward vertical, positive forward.
#ifndef WHEELSOIL_RECORDS_HPP
#define WHEELSOIL_RECORDS_HPP

namespace wheelsoil {

// The 29 inputs of talvor.
struct WheelSoilInput {
#define WHEELSOIL_SLOT(name, symbol, unit, kind, value, copy_of, meaning, range) double name;
#include "talvor_input.def"
#undef WHEELSOIL_SLOT
};
static_assert(sizeof(WheelSoilInput) == 29 * sizeof(double), "29 input slots");

// The 18 outputs of talvor: loads the soil exerts on the wheel (N, N m).
struct WheelSoilOutput {
#define WHEELSOIL_SLOT(name, symbol, unit, kind, value, copy_of, meaning, range) double name;
#include "talvor_output.def"
#undef WHEELSOIL_SLOT
};
static_assert(sizeof(WheelSoilOutput) == 18 * sizeof(double), "18 output slots");

// The 20 inputs of pindrel.
struct LoadModelInput {
#define WHEELSOIL_SLOT(name, symbol, unit, kind, value, copy_of, meaning, range) double name;
#include "pindrel_input.def"
#undef WHEELSOIL_SLOT
};
static_assert(sizeof(LoadModelInput) == 20 * sizeof(double), "20 input slots");

}  // namespace wheelsoil

#endif
