#include "../api/strict_fp.h"

#include "contact_geometry.h"

namespace wheelsoil::detail::full_model {

namespace fm = full_model;

double sinkage_at(double y) { return fm::sinkage_at(model_state, y); }

double entry_angle(double y) { return fm::entry_angle_at_sinkage(model_state, sinkage_at(y)); }

double slip_ratio() { return fm::slip_ratio(model_state); }

double max_stress_angle(double y) {
  return fm::max_stress_angle(model_state, slip_ratio(), entry_angle(y));
}

double exit_angle(double y) { return fm::exit_angle(model_state, slip_ratio(), entry_angle(y)); }

double band_entry_angle(double y) { return fm::band_entry_angle(model_state, sinkage_at(y)); }

double band_max_stress_angle(double y) {
  return fm::band_max_stress_angle(model_state, slip_ratio(), band_entry_angle(y));
}

double band_exit_angle(double y) {
  return fm::band_exit_angle(slip_ratio(), exit_angle(y), band_entry_angle(y));
}

}  // namespace wheelsoil::detail::full_model
