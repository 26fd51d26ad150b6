// Where the loads of talvor come from: the contact geometry of one input at
// the lateral positions of the rim rule, and the rim stresses along theta at
// positions the caller chooses. Values are those of the documented functions
// (sinkage_at, entry_angle, ..., normal_stress, shear_stress_x, ...), bit for
// bit, for the input as given; with direction_aware, a wheel travelling in -x
// is evaluated mirrored (evaluation_modes.h) and mapped back: every angle
// negated (the entry angle then lies behind, at -x), the longitudinal shear
// stress and displacement negated (the tangent of increasing theta reverses),
// the rest kept.
#ifndef WHEELSOIL_FULL_MODEL_CONTACT_DIAGNOSTICS_H
#define WHEELSOIL_FULL_MODEL_CONTACT_DIAGNOSTICS_H

#include <cstddef>

#include <wheelsoil/records.hpp>

namespace wheelsoil::detail::full_model {

constexpr int contact_strips = 30;  // the lateral positions of the rim rule

// The contact geometry of one input.
struct ContactGeometry {
  double slip_ratio;                             // s, or 2 where undefined
  double y[contact_strips];                      // lateral positions, the rule's order (m)
  double sinkage[contact_strips];                // z(y) (m)
  double entry_angle[contact_strips];            // theta_1 (rad)
  double max_stress_angle[contact_strips];       // theta_m
  double exit_angle[contact_strips];             // theta_2
  double band_entry_angle[contact_strips];       // theta_b1
  double band_max_stress_angle[contact_strips];  // theta_bm
  double band_exit_angle[contact_strips];        // theta_b2
  double side_sinkage_plus;                      // z at y = +b/2 (m)
  double side_sinkage_minus;                     // z at y = -b/2 (m)
};

// The geometry of in.
void contact_geometry(const WheelSoilInput &in, bool direction_aware, ContactGeometry *out);

// Where the profile's values go: each NULL or n_y * n_theta doubles, the value
// at (y[i], theta[j]) at index i * n_theta + j.
struct StressProfileOut {
  double *normal_stress;         // sigma (Pa)
  double *shear_stress_x;        // tau_x (Pa)
  double *shear_stress_y;        // tau_y (Pa)
  double *shear_displacement_x;  // j_x (m)
  double *shear_displacement_y;  // j_y (m)
};

// The rim stresses of in at every (y[i], theta[j]).
void stress_profile(const WheelSoilInput &in, bool direction_aware, const double *y,
                    std::size_t n_y, const double *theta, std::size_t n_theta,
                    const StressProfileOut &out);

}  // namespace wheelsoil::detail::full_model

#endif
