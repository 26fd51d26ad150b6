#include "slot_tables.h"

#include <cstddef>
#include <cstring>
#include <iterator>

#include "load_model.h"
#include "load_model_batch.h"
#include "wheel_soil_batch.h"
#include "wheel_soil_model.h"

namespace wheelsoil_cli {
namespace {

// name and slot index of a field of a model record, so the table cannot name
// a field the record does not have, nor place it at the wrong slot.
#define TALVOR_IN(field) #field, offsetof(WheelSoilInput, field) / sizeof(double)
#define TALVOR_OUT(field) #field, offsetof(WheelSoilOutput, field) / sizeof(double)
#define PINDREL_IN(field) #field, offsetof(LoadModelInput, field) / sizeof(double)
#define PINDREL_SLOT(field) offsetof(LoadModelInput, field) / sizeof(double)

constexpr DefaultKind req = DefaultKind::required;
constexpr DefaultKind fixed = DefaultKind::constant;
constexpr DefaultKind copy = DefaultKind::copy;

constexpr Slot talvor_inputs[] = {
    {TALVOR_IN(vx), fixed, 0, 0, "m/s", "wheel-centre velocity along x, positive forward"},
    {TALVOR_IN(vy), fixed, 0, 0, "m/s", "wheel-centre velocity along y (lateral)"},
    {TALVOR_IN(vz), fixed, 0, 0, "m/s", "wheel-centre velocity along z, positive up"},
    {TALVOR_IN(wx), fixed, 0, 0, "rad/s", "angular velocity about x (roll rate)"},
    {TALVOR_IN(wy), fixed, 0, 0, "rad/s", "spin about the axle, positive rolls forward"},
    {TALVOR_IN(wz), fixed, 0, 0, "rad/s", "angular velocity about z (yaw rate)"},
    {TALVOR_IN(radius), req, 0, 0, "m", "outer rim radius"},
    {TALVOR_IN(width), req, 0, 0, "m", "wheel width"},
    {TALVOR_IN(band_ratio), fixed, 1, 0, "-", "weight of the outer-surface stress (1: plain rim)"},
    {TALVOR_IN(band_height), fixed, 0, 0, "m", "depth of the band surface below the rim"},
    {TALVOR_IN(soil_density), req, 0, 0, "kg/m^3", "soil bulk density"},
    {TALVOR_IN(cohesion), req, 0, 0, "Pa", "soil cohesion"},
    {TALVOR_IN(friction_angle), req, 0, 0, "rad", "internal friction angle"},
    {TALVOR_IN(sinkage_exponent), req, 0, 0, "-", "pressure-sinkage exponent n"},
    {TALVOR_IN(k_c), req, 0, 0, "N/m^(n+1)", "cohesive modulus of (k_c/b + k_phi)*z^n"},
    {TALVOR_IN(k_phi), req, 0, 0, "N/m^(n+2)", "frictional modulus of that law"},
    {TALVOR_IN(kx), req, 0, 0, "m", "shear modulus K, rim longitudinal and sidewalls"},
    {TALVOR_IN(ky), req, 0, 0, "m", "shear modulus K, rim lateral"},
    {TALVOR_IN(kr), fixed, 1, 0, "-", "shear law: 1 exponential, else hump law to kr"},
    {TALVOR_IN(tilt_sine), fixed, 0, 0, "-", "sine of the tilt about x, |value| < 1"},
    {TALVOR_IN(centre_height), req, 0, 0, "m", "wheel-centre height above the soil surface"},
    {TALVOR_IN(exit_sinkage_ratio), fixed, 0, 0, "-", "no effect"},
    {TALVOR_IN(c1), req, 0, 0, "-", "theta_m = (c1 + c2*s)*theta_1, constant term"},
    {TALVOR_IN(c2), req, 0, 0, "-", "theta_m slip term"},
    {TALVOR_IN(c3), req, 0, 0, "-", "theta_2 = -(c3 + c4*s)*theta_1, constant term"},
    {TALVOR_IN(c4), req, 0, 0, "-", "theta_2 slip term"},
    {TALVOR_IN(spare_26), fixed, 0, 0, "-", "no effect"},
    {TALVOR_IN(spare_27), fixed, 0, 0, "-", "no effect"},
    {TALVOR_IN(gravity), req, 0, 0, "m/s^2", "gravitational acceleration, |g| is used"},
};

constexpr OutputSlot talvor_outputs[] = {
    {TALVOR_OUT(rim_fx), "N", "rim force along x (traction minus resistance)"},
    {TALVOR_OUT(rim_fy), "N", "rim force along y"},
    {TALVOR_OUT(rim_fz), "N", "rim force along z (vertical load, positive up)"},
    {TALVOR_OUT(rim_mx), "N m", "rim moment about x"},
    {TALVOR_OUT(rim_my), "N m", "rim moment about the axle (negative resists driving)"},
    {TALVOR_OUT(rim_mz), "N m", "rim moment about z"},
    {TALVOR_OUT(side_fx), "N", "both sidewalls, force along x"},
    {TALVOR_OUT(side_fy), "N", "both sidewalls, force along y"},
    {TALVOR_OUT(side_fz), "N", "both sidewalls, force along z"},
    {TALVOR_OUT(side_mx), "N m", "both sidewalls, moment about x"},
    {TALVOR_OUT(side_my), "N m", "both sidewalls, moment about the axle"},
    {TALVOR_OUT(side_mz), "N m", "both sidewalls, moment about z"},
    {TALVOR_OUT(rim_fx_copy), "N", "copy of rim_fx"},
    {TALVOR_OUT(rim_fy_copy), "N", "copy of rim_fy"},
    {TALVOR_OUT(rim_fz_copy), "N", "copy of rim_fz"},
    {TALVOR_OUT(rim_mx_copy), "N m", "copy of rim_mx"},
    {TALVOR_OUT(rim_my_copy), "N m", "copy of rim_my"},
    {TALVOR_OUT(rim_mz_copy), "N m", "copy of rim_mz"},
};

constexpr std::size_t pindrel_radius = PINDREL_SLOT(radius);
constexpr std::size_t pindrel_entry = PINDREL_SLOT(rim_entry_angle);

constexpr Slot pindrel_inputs[] = {
    {PINDREL_IN(band_radius), copy, 0, pindrel_radius, "m", "radius of the band (default: radius)"},
    {PINDREL_IN(width), req, 0, 0, "m", "wheel width"},
    {PINDREL_IN(band_ratio), fixed, 1, 0, "-", "weight of the rim term; the band has 1 - it"},
    {PINDREL_IN(radius), req, 0, 0, "m", "rim radius"},
    {PINDREL_IN(spare_4), fixed, 0, 0, "-", "no effect"},
    {PINDREL_IN(cohesion), req, 0, 0, "Pa", "soil cohesion"},
    {PINDREL_IN(friction_angle), req, 0, 0, "rad", "internal friction angle"},
    {PINDREL_IN(sinkage_exponent), req, 0, 0, "-", "pressure-sinkage exponent n"},
    {PINDREL_IN(k_c), req, 0, 0, "N/m^(n+1)", "cohesive modulus of (k_c/b + k_phi)*z^n"},
    {PINDREL_IN(k_phi), req, 0, 0, "N/m^(n+2)", "frictional modulus of that law"},
    {PINDREL_IN(shear_modulus), req, 0, 0, "m", "shear deformation modulus K"},
    {PINDREL_IN(rim_entry_angle), req, 0, 0, "rad", "entry angle of the rim, acos(1 - z/r)"},
    {PINDREL_IN(band_entry_angle), copy, 0, pindrel_entry, "rad",
     "entry angle of the band (default: rim_entry_angle)"},
    {PINDREL_IN(front_angle), copy, 0, pindrel_entry, "rad",
     "front end of the load integral (default: rim_entry_angle)"},
    {PINDREL_IN(peak_stress_angle), req, 0, 0, "rad", "angle of maximum normal stress"},
    {PINDREL_IN(rear_angle), req, 0, 0, "rad", "exit angle, rear end of the contact"},
    {PINDREL_IN(slip), fixed, 0, 0, "-", "slip: 1 - v/(r w) driving, r w/v - 1 skidding"},
    {PINDREL_IN(slip_angle), fixed, 0, 0, "rad", "lateral slip angle"},
    {PINDREL_IN(spare_18), fixed, 0, 0, "-", "no effect"},
    {PINDREL_IN(spare_19), fixed, 0, 0, "-", "no effect"},
};

constexpr OutputSlot pindrel_outputs[] = {
    {"load", 0, "N", "vertical load the soil carries under the wheel"},
};

template <class T, std::size_t N>
constexpr bool in_slot_order(const T (&slots)[N]) {
  for (std::size_t k = 0; k < N; ++k)
    if (slots[k].index != k) return false;
  return true;
}
static_assert(in_slot_order(talvor_inputs) && std::size(talvor_inputs) == 29, "talvor inputs");
static_assert(in_slot_order(talvor_outputs) && std::size(talvor_outputs) == 18, "talvor outputs");
static_assert(in_slot_order(pindrel_inputs) && std::size(pindrel_inputs) == 20, "pindrel inputs");

void talvor_one(double *out, const double *in) { run_model(out, in); }

void pindrel_one(double *out, const double *in) { run_load_model(out, in); }

}  // namespace

const ModelTable talvor_table = {
    "talvor",
    "the full wheel-soil model: 29 inputs, 18 loads",
    talvor_inputs,
    std::size(talvor_inputs),
    talvor_outputs,
    std::size(talvor_outputs),
    talvor_one,
    full_model::evaluate_batch,
};

const ModelTable pindrel_table = {
    "pindrel",
    "the simplified model: 20 inputs, the vertical load",
    pindrel_inputs,
    std::size(pindrel_inputs),
    pindrel_outputs,
    std::size(pindrel_outputs),
    pindrel_one,
    load_model::evaluate_batch,
};

const ModelTable *find_model(const char *name) {
  if (std::strcmp(name, talvor_table.name) == 0) return &talvor_table;
  if (std::strcmp(name, pindrel_table.name) == 0) return &pindrel_table;
  return nullptr;
}

std::size_t find_input(const ModelTable &model, const char *name, std::size_t length) {
  for (std::size_t k = 0; k < model.n_inputs; ++k) {
    const char *slot = model.inputs[k].name;
    if (std::strlen(slot) == length && std::strncmp(slot, name, length) == 0) return k;
  }
  return model.n_inputs;
}

}  // namespace wheelsoil_cli
