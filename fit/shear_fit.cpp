// Shear tests: c, phi and K (and kr) of tau = (c + sigma·tan phi)·F(j/K).
#include <algorithm>
#include <cmath>

#include "fit_data.h"
#include "least_squares.h"

namespace wheelsoil {
namespace fit_detail {
namespace {

// The hump law's constant, as the model has it (not 1/(1 − e^−1)).
constexpr double hump_constant = 1.582;
constexpr double half_pi = 1.5707963267948966;

enum { c_index, phi_index, k_index, kr_index };

// Mobilisation factor: the plain exponential 1 − e^(−j/K), or the hump law
// ((1.582/kr − 1)·e + 1)·kr·(1 − e) with e = e^(−j/K), grouped as in the model.
template <class T>
T mobilisation(T j_over_k, T kr, bool hump) {
  using std::exp;
  const T e = exp(-j_over_k);
  if (!hump) return T(1) - e;
  return (((hump_constant / kr - T(1)) * e + T(1)) * kr) * (T(1) - e);
}

// Residuals (sigma·tan phi + c)·F − tau, one per reading.
struct ShearModel {
  const ShearData *data;
  bool hump;

  template <class T>
  bool operator()(const T *v, T *r) const {
    using std::tan;
    const T tan_phi = tan(v[phi_index]);
    const T kr = hump ? v[kr_index] : T(1);
    for (std::size_t k = 0; k < data->normal_stress.size(); ++k) {
      // Mohr–Coulomb strength, mobilised by the shear displacement.
      const T strength = data->normal_stress[k] * tan_phi + v[c_index];
      r[k] = strength * mobilisation(data->displacement[k] / v[k_index], kr, hump) -
             data->shear_stress[k];
    }
    return true;
  }
};

// Starting values by a search: for given K and kr the law is linear in c
// and tan phi, so each point of a grid over K (and kr) gets its best c and
// tan phi (>= 0) by linear least squares, and the grid point with the least
// squared residual is the start. Robust where peaks and plateaus in noisy
// curves mislead a reading by eye.
std::vector<double> estimate(const ShearData &d, const std::vector<ParameterSpec> &specs,
                             bool hump) {
  const std::size_t m = d.shear_stress.size();
  double j_small = INFINITY, j_large = 0;
  for (double j : d.displacement)
    if (j > 0) j_small = std::min(j_small, j), j_large = std::max(j_large, j);
  if (!(j_large > 0)) return {NAN, NAN, NAN, NAN};
  std::vector<double> k_grid, kr_grid;
  if (specs[k_index].fixed) {
    k_grid = {specs[k_index].value};
  } else {
    const double lo = j_small / 20, hi = 2 * j_large;
    for (int i = 0; i <= 40; ++i) k_grid.push_back(lo * std::pow(hi / lo, i / 40.0));
  }
  if (!hump)
    kr_grid = {1};
  else if (specs[kr_index].fixed)
    kr_grid = {specs[kr_index].value};
  else
    kr_grid = {0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0, 1.2, 1.5};
  const bool c_held = specs[c_index].fixed, phi_held = specs[phi_index].fixed;
  const double c_value = specs[c_index].value;
  const double t_value = phi_held ? std::tan(specs[phi_index].value) : NAN;

  std::vector<double> best = {NAN, NAN, NAN, NAN};
  double best_rss = INFINITY;
  std::vector<double> f(m);
  for (double kr : kr_grid) {
    for (double k : k_grid) {
      // tau ~ c·F + t·(sigma·F): sums for the 2x2 normal equations.
      double aa = 0, ab = 0, bb = 0, ay = 0, by = 0;
      for (std::size_t i = 0; i < m; ++i) {
        f[i] = mobilisation(d.displacement[i] / k, kr, hump);
        const double a = f[i], b = d.normal_stress[i] * f[i], y = d.shear_stress[i];
        aa += a * a, ab += a * b, bb += b * b, ay += a * y, by += b * y;
      }
      double c = c_held ? c_value : NAN, t = phi_held ? t_value : NAN;
      // One unknown given the other; both by the normal equations, each
      // clamped at 0 with the other refitted.
      auto c_given_t = [&](double tt) { return aa > 0 ? std::max(0.0, (ay - tt * ab) / aa) : 0; };
      auto t_given_c = [&](double cc) { return bb > 0 ? std::max(0.0, (by - cc * ab) / bb) : 0; };
      if (c_held && !phi_held) {
        t = t_given_c(c);
      } else if (phi_held && !c_held) {
        c = c_given_t(t);
      } else if (!c_held && !phi_held) {
        const double det = aa * bb - ab * ab;
        c = det > 0 ? (ay * bb - by * ab) / det : 0;
        t = det > 0 ? (by * aa - ay * ab) / det : 0;
        if (c < 0) c = 0, t = t_given_c(0);
        if (t < 0) t = 0, c = c_given_t(0);
      }
      double rss = 0;
      for (std::size_t i = 0; i < m; ++i) {
        const double e = (d.normal_stress[i] * t + c) * f[i] - d.shear_stress[i];
        rss += e * e;
      }
      if (rss < best_rss) best_rss = rss, best = {c, std::atan(t), k, kr};
    }
  }
  return best;
}

}  // namespace
}  // namespace fit_detail

double shear_stress_law(double cohesion, double friction_angle, double shear_modulus, double kr,
                        double normal_stress, double displacement) {
  using namespace fit_detail;
  const double strength = normal_stress * std::tan(friction_angle) + cohesion;
  // kr exactly 1 selects the plain law, as in the model.
  return strength * mobilisation(displacement / shear_modulus, kr, kr != 1.0);
}

FitResult fit_shear(const ShearData &data, const ShearFitOptions &options) {
  using namespace fit_detail;
  FitResult result;
  std::vector<ParameterSpec> specs;
  specs.push_back({"cohesion", "Pa", 0, INFINITY, 1e3});
  // phi below pi/2, where tan phi is finite.
  specs.push_back({"friction_angle", "rad", 0, half_pi - 1e-6, 0.5});
  specs.push_back({"shear_modulus", "m", 1e-9, INFINITY, 0.02});
  if (options.hump) specs.push_back({"kr", "-", 1e-6, INFINITY, 0.8});

  // The stresses and, once fitted, the law's: also beside a refusal.
  const std::size_t m = data.shear_stress.size();
  auto finish = [&](const std::vector<double> &values) {
    FitQuantity q;
    q.name = "shear_stress";
    q.unit = "Pa";
    q.measured = data.shear_stress;
    q.fitted.assign(m, NAN);
    const double kr = options.hump && !values.empty() ? values[kr_index] : 1.0;
    for (std::size_t k = 0; k < m && !values.empty(); ++k) {
      const double strength = data.normal_stress[k] * std::tan(values[phi_index]) + values[c_index];
      q.fitted[k] =
          strength * mobilisation(data.displacement[k] / values[k_index], kr, options.hump);
    }
    summarise(&q);
    result.quantities.push_back(q);
    return result;
  };
  std::string message;
  if (!check_columns({{"normal_stress", &data.normal_stress},
                      {"displacement", &data.displacement},
                      {"shear_stress", &data.shear_stress}},
                     &message) ||
      !check_rows(data.normal_stress, "normal_stress", Range::non_negative, &message) ||
      !check_rows(data.displacement, "displacement", Range::non_negative, &message) ||
      !check_rows(data.shear_stress, "shear_stress", Range::finite, &message) ||
      !apply_options(&specs, options, &message)) {
    report_unfitted(specs, &result);
    result.status = FitStatus::invalid_data;
    result.message = message;
    return finish({});
  }

  // One normal stress: c + sigma·tan phi is one number, whatever c and phi.
  const std::vector<double> stresses = distinct(data.normal_stress);
  if (stresses.size() < 2 && !specs[c_index].fixed && !specs[phi_index].fixed) {
    report_unfitted(specs, &result);
    result.status = FitStatus::ill_posed;
    result.undetermined = {"cohesion", "friction_angle"};
    result.message = "one normal stress (sigma = " + format_number(stresses[0]) +
                     " Pa): cohesion and friction angle act only through c + sigma·tan phi and "
                     "cannot be told apart. Shear at a second normal stress, or hold cohesion "
                     "or friction_angle at a value";
    return finish({});
  }

  set_starts(&specs, estimate(data, specs, options.hump));
  const ShearModel model{&data, options.hump};
  const std::vector<double> values =
      solve(&specs, autodiff_cost(&model, &specs, m), m, options, nullptr, true, &result);
  return finish(values);
}

}  // namespace wheelsoil
