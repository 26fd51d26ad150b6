// wheelsoil: loads of deformable soil on a rigid wheel, the C++ API.
//
//   #include <wheelsoil/wheelsoil.hpp>
//   wheelsoil::WheelSoilInput in{};             // 29 slots: talvor_input.def
//   wheelsoil::apply_soil(*wheelsoil::find_soil("dry_sand"), in);
//   in.radius = 0.13; ...
//   wheelsoil::WheelSoilOutput loads = wheelsoil::talvor(in);
//
// Everything here is in namespace wheelsoil, reentrant (any number of threads
// may call at once) and gives the bits of talvor(p) and pindrel(p).
//   records.hpp      WheelSoilInput, WheelSoilOutput, LoadModelInput
//   tables.hpp       slot tables (names, symbols, units, defaults, meanings,
//                    typical ranges) and the soil library
//   models.hpp       talvor, pindrel, their batches, Options, Error
//   equilibrium.hpp  the operating point
// The C interface is wheelsoil.h.
#ifndef WHEELSOIL_WHEELSOIL_HPP
#define WHEELSOIL_WHEELSOIL_HPP

#include "equilibrium.hpp"
#include "models.hpp"
#include "records.hpp"
#include "tables.hpp"
#include <wheelsoil/version.h>

#endif
