// Rim load integrands: the force and moment densities of the rim's stresses.
// A rim point lies at pos = (r sin theta, y, -r cos theta); the soil's force
// per unit area on it is q = (tau_x cos - sigma sin, -tau_y, tau_x sin +
// sigma cos), and the area element is r dtheta dy.
#ifndef WHEELSOIL_FULL_MODEL_RIM_LOADS_H
#define WHEELSOIL_FULL_MODEL_RIM_LOADS_H

#include "arith_namespace.h"

namespace wheelsoil::detail::full_model {

// Documented integrands over model_state, slot order 0 to 5.
double rim_fx_integrand(double y, double theta);
double rim_fy_integrand(double y, double theta);
double rim_fz_integrand(double y, double theta);
double rim_mx_integrand(double y, double theta);
double rim_my_integrand(double y, double theta);
double rim_mz_integrand(double y, double theta);

inline namespace WHEELSOIL_ARITH_NAMESPACE {

// The stresses and trigonometry at one rim point.
struct RimPoint {
  double y, cos_theta, sin_theta;
  double sigma, tau_x, tau_y;
};

// Fx density: q_x r (traction minus compaction resistance).
inline double rim_fx_density(const RimPoint &p, double r) {
  return (p.tau_x * p.cos_theta - p.sigma * p.sin_theta) * r;
}

// Fy density: q_y r; the lateral shear acts against the point's lateral slip.
inline double rim_fy_density(const RimPoint &p, double r) { return -(p.tau_y * r); }

// Fz density: q_z r (the vertical load carried by the rim).
inline double rim_fz_density(const RimPoint &p, double r) {
  return (p.tau_x * p.sin_theta + p.sigma * p.cos_theta) * r;
}

// Mx density: (pos x q)_x r.
inline double rim_mx_density(const RimPoint &p, double r) {
  return ((p.tau_x * p.sin_theta + p.sigma * p.cos_theta) * p.y - p.tau_y * (p.cos_theta * r)) * r;
}

// My density: (pos x q)_y r, in full; the two sigma terms cancel only up to
// rounding.
inline double rim_my_density(const RimPoint &p, double r) {
  return ((p.cos_theta * p.tau_x - p.sin_theta * p.sigma) * (-(p.cos_theta * r)) -
          (p.sigma * p.cos_theta + p.sin_theta * p.tau_x) * (p.sin_theta * r)) *
         r;
}

// Mz density: (pos x q)_z r.
inline double rim_mz_density(const RimPoint &p, double r) {
  return (-p.tau_y * (p.sin_theta * r) - (p.tau_x * p.cos_theta - p.sigma * p.sin_theta) * p.y) * r;
}

}  // namespace WHEELSOIL_ARITH_NAMESPACE
}  // namespace wheelsoil::detail::full_model

#endif
