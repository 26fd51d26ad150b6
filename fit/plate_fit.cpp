// Plate-sinkage tests: k_c, k_phi and n of p = (k_c/b + k_phi)·z^n.
#include <algorithm>
#include <cmath>
#include <map>

#include "fit_data.h"
#include "least_squares.h"

namespace wheelsoil {

double plate_pressure(double k_c, double k_phi, double sinkage_exponent, double size,
                      double sinkage) {
  // Pressure–sinkage law, the grouping of the model's normal stress.
  return std::pow(sinkage, sinkage_exponent) * (k_c / size + k_phi);
}

namespace fit_detail {
namespace {

enum { n_index, k_c_index, k_phi_index };

// Residuals (k_c/b + k_phi)·z^n − p, one per reading.
struct PlateModel {
  const PlateData *data;

  template <class T>
  bool operator()(const T *v, T *r) const {
    for (std::size_t k = 0; k < data->size.size(); ++k) {
      const double z = data->sinkage[k];
      // z^n is 0 at z = 0 for every n > 0, and so is its derivative in n.
      const T zn = z > 0 ? pow(z, v[n_index]) : T(0);
      r[k] = zn * (v[k_c_index] / data->size[k] + v[k_phi_index]) - data->pressure[k];
    }
    return true;
  }
};

// Starting values as by hand: a common n from the slopes of log p against
// log z within each plate size, a modulus k_b per size at that n, then k_c
// and k_phi from the straight line k_b = k_c·(1/b) + k_phi.
std::vector<double> estimate(const PlateData &d, const std::vector<ParameterSpec> &specs) {
  std::map<double, std::vector<std::size_t>> groups;
  for (std::size_t k = 0; k < d.size.size(); ++k)
    if (d.sinkage[k] > 0 && d.pressure[k] > 0) groups[d.size[k]].push_back(k);
  double sxy = 0, sxx = 0;
  for (const auto &[b, rows] : groups) {
    double mx = 0, my = 0;
    for (std::size_t k : rows) mx += std::log(d.sinkage[k]), my += std::log(d.pressure[k]);
    mx /= double(rows.size());
    my /= double(rows.size());
    for (std::size_t k : rows) {
      const double dx = std::log(d.sinkage[k]) - mx;
      sxy += dx * (std::log(d.pressure[k]) - my);
      sxx += dx * dx;
    }
  }
  double n = specs[n_index].fixed ? specs[n_index].value : (sxx > 0 ? sxy / sxx : 1.0);
  if (!(n > 0.05 && n < 3)) n = 1;
  std::vector<double> inv_b, k_b;
  for (const auto &[b, rows] : groups) {
    double s = 0;
    for (std::size_t k : rows) s += std::log(d.pressure[k]) - n * std::log(d.sinkage[k]);
    inv_b.push_back(1 / b);
    k_b.push_back(std::exp(s / double(rows.size())));
  }
  double k_c = NAN, k_phi = NAN;
  const std::size_t g = k_b.size();
  if (specs[k_c_index].fixed && g > 0) {
    k_c = specs[k_c_index].value;
    k_phi = 0;
    for (std::size_t i = 0; i < g; ++i) k_phi += (k_b[i] - k_c * inv_b[i]) / double(g);
  } else if (specs[k_phi_index].fixed && g > 0) {
    k_phi = specs[k_phi_index].value;
    k_c = 0;
    for (std::size_t i = 0; i < g; ++i) k_c += (k_b[i] - k_phi) / inv_b[i] / double(g);
  } else if (g >= 2) {
    double mx = 0, my = 0;
    for (std::size_t i = 0; i < g; ++i) mx += inv_b[i] / double(g), my += k_b[i] / double(g);
    double cxy = 0, cxx = 0;
    for (std::size_t i = 0; i < g; ++i)
      cxy += (inv_b[i] - mx) * (k_b[i] - my), cxx += (inv_b[i] - mx) * (inv_b[i] - mx);
    k_c = cxx > 0 ? cxy / cxx : 0;
    k_phi = my - k_c * mx;
  }
  return {n, k_c, k_phi};
}

}  // namespace
}  // namespace fit_detail

FitResult fit_plate(const PlateData &data, const FitOptions &options) {
  using namespace fit_detail;
  FitResult result;
  std::vector<ParameterSpec> specs(3);
  // n > 0; k_phi >= 0; k_c free: fits in the literature give small negative
  // values for some soils, and the law needs only k_c/b + k_phi > 0.
  specs[n_index] = {"sinkage_exponent", "-", 1e-6, INFINITY, 1};
  specs[k_c_index] = {"k_c", "N/m^(n+1)", -INFINITY, INFINITY, 1e4};
  specs[k_phi_index] = {"k_phi", "N/m^(n+2)", 0, INFINITY, 1e6};

  // The pressures and, once fitted, the law's: also beside a refusal.
  auto finish = [&](const std::vector<double> &values) {
    FitQuantity q;
    q.name = "pressure";
    q.unit = "Pa";
    q.measured = data.pressure;
    q.fitted.assign(data.pressure.size(), NAN);
    for (std::size_t k = 0; k < q.fitted.size() && !values.empty(); ++k)
      q.fitted[k] = plate_pressure(values[k_c_index], values[k_phi_index], values[n_index],
                                   data.size[k], data.sinkage[k]);
    summarise(&q);
    result.quantities.push_back(q);
    return result;
  };
  std::string message;
  if (!check_columns(
          {{"size", &data.size}, {"sinkage", &data.sinkage}, {"pressure", &data.pressure}},
          &message) ||
      !check_rows(data.size, "size", Range::positive, &message) ||
      !check_rows(data.sinkage, "sinkage", Range::non_negative, &message) ||
      !check_rows(data.pressure, "pressure", Range::finite, &message) ||
      !apply_options(&specs, options, &message)) {
    report_unfitted(specs, &result);
    result.status = FitStatus::invalid_data;
    result.message = message;
    return finish({});
  }

  // One plate size: k_c/b + k_phi is one number, whatever k_c and k_phi.
  const std::vector<double> sizes = distinct(data.size);
  if (sizes.size() < 2 && !specs[k_c_index].fixed && !specs[k_phi_index].fixed) {
    report_unfitted(specs, &result);
    result.status = FitStatus::ill_posed;
    result.undetermined = {"k_c", "k_phi"};
    result.message = "one plate size (b = " + format_number(sizes[0]) +
                     " m): k_c and k_phi act only through k_c/b + k_phi and cannot be told "
                     "apart. Test a second plate size, or hold k_c or k_phi at a value";
    return finish({});
  }

  set_starts(&specs, estimate(data, specs));
  const PlateModel model{&data};
  const std::vector<double> values = solve(&specs, autodiff_cost(&model, &specs, data.size.size()),
                                           data.size.size(), options, nullptr, true, &result);
  return finish(values);
}

}  // namespace wheelsoil
