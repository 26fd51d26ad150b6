// Single-wheel runs: talvor inputs (c1..c4 by default) from drawbar pull,
// torque and sinkage against slip, each run at its operating point.
#include <wheelsoil/tables.hpp>

#include <algorithm>
#include <cmath>
#include <exception>
#include <set>

#include "fit_data.h"
#include "least_squares.h"

namespace wheelsoil {

WheelSoilInput with_slip(const WheelSoilInput &input, double slip) {
  WheelSoilInput in = input;
  // The rim speed u = wy·r that gives the model's slip ratio s at vx:
  // braking s = (u − vx)/vx, driving s = (u − vx)/u, spinning in place vx = 0.
  double u;
  if (slip == 1) {
    u = input.vx;
    in.vx = 0;
  } else if (slip > 0) {
    u = input.vx / (1 - slip);
  } else {
    u = input.vx * (1 + slip);
  }
  in.wy = u / input.radius;
  return in;
}

WheelPoint wheel_point(const WheelSoilInput &input, double slip, double load,
                       const EquilibriumOptions &equilibrium, const Options &model) {
  WheelPoint point;
  const EquilibriumResult r = solve_equilibrium(with_slip(input, slip), load, equilibrium, model);
  point.converged = r.converged;
  point.message = r.message;
  if (r.converged) {
    point.drawbar_pull = r.loads.rim_fx + r.loads.side_fx;
    point.torque = -(r.loads.rim_my + r.loads.side_my);
    point.sinkage = r.sinkage;
  }
  return point;
}

namespace fit_detail {
namespace {

constexpr double half_pi = 1.5707963267948966;

enum { pull_q, torque_q, sinkage_q, n_quantities };
const char *const quantity_names[n_quantities] = {"drawbar_pull", "torque", "sinkage"};
const char *const quantity_units[n_quantities] = {"N", "N m", "m"};

// Slots a row sets itself, and slots without effect on any load.
const std::set<std::string> not_fittable = {
    "vx",       "vy",      "vz", "wx", "wy", "wz", "centre_height", "exit_sinkage_ratio",
    "spare_26", "spare_27"};

// Slot `index` of a talvor input: the record is the vector.
double *slot(WheelSoilInput &in, std::size_t index) {
  return reinterpret_cast<double *>(&in) + index;
}

// A parameter of the wheel fit: one slot, or kx and ky together.
struct WheelParameter {
  std::size_t first;
  std::size_t second;  // == first unless two slots move together
};

// Physical bounds and typical size of a fittable slot.
ParameterSpec spec_for(const std::string &name, const char *unit, double given) {
  ParameterSpec s{name, unit};
  if (name == "sinkage_exponent" || name == "kr") s.lower = 1e-6;
  if (name == "kx" || name == "ky" || name == "shear_modulus" || name == "radius" ||
      name == "width")
    s.lower = 1e-9;
  if (name == "k_phi" || name == "cohesion" || name == "soil_density" || name == "band_height")
    s.lower = 0;
  if (name == "friction_angle") s.lower = 0, s.upper = half_pi - 1e-6;
  if (name == "band_ratio") s.lower = 0, s.upper = 1;
  // The peak-stress and exit angles as fractions of the entry angle.
  if (name == "c1" || name == "c3") s.lower = 0, s.upper = 1;
  if (name == "c2" || name == "c4") s.lower = -1, s.upper = 1;
  s.typical = std::fabs(given) > 0 ? std::fabs(given) : (name[0] == 'c' ? 0.1 : 1);
  s.value = given;
  return s;
}

// One measurement: a row and a quantity.
struct Measurement {
  std::size_t row;
  int quantity;
};

// Residuals (model − measured)/sigma over the measurements, every row solved
// at its operating point.
struct WheelModel {
  const WheelData *data;
  const WheelSoilInput *given;
  const std::vector<WheelParameter> *slots;
  const std::vector<Measurement> *measurements;
  const double *sigma;  // per quantity
  const WheelFitOptions *options;
  mutable std::string failure;  // why the last evaluation failed

  // The three quantities of every row at the parameter values v; false,
  // with `failure`, if a row has no operating point.
  bool predict(const double *v, std::vector<double> *out) const {
    const std::size_t rows = data->slip.size();
    std::vector<WheelSoilInput> inputs(rows);
    WheelSoilInput in = *given;
    for (std::size_t i = 0; i < slots->size(); ++i) {
      *slot(in, (*slots)[i].first) = v[i];
      *slot(in, (*slots)[i].second) = v[i];
    }
    for (std::size_t k = 0; k < rows; ++k) inputs[k] = with_slip(in, data->slip[k]);
    std::vector<EquilibriumResult> results(rows);
    try {
      BatchOptions batch;
      batch.threads = options->threads;
      solve_equilibrium_batch(packed(inputs.data(), rows), data->load.data(), 1, results.data(),
                              batch, options->equilibrium, options->model);
    } catch (const std::exception &e) {
      failure = e.what();
      return false;
    }
    out->assign(rows * n_quantities, NAN);
    for (std::size_t k = 0; k < rows; ++k) {
      const EquilibriumResult &r = results[k];
      if (!r.converged) {
        std::string at;
        for (std::size_t i = 0; i < slots->size(); ++i)
          at += (i ? ", " : "") + describe(talvor_input_slots[(*slots)[i].first].name, v[i]);
        failure = "row " + std::to_string(k + 1) + " (slip " + format_number(data->slip[k]) +
                  ", load " + format_number(data->load[k]) + " N) at " + at + ": " + r.message;
        return false;
      }
      (*out)[k * n_quantities + pull_q] = r.loads.rim_fx + r.loads.side_fx;
      (*out)[k * n_quantities + torque_q] = -(r.loads.rim_my + r.loads.side_my);
      (*out)[k * n_quantities + sinkage_q] = r.sinkage;
    }
    return true;
  }

  bool operator()(const double *v, double *r) const {
    std::vector<double> predicted;
    if (!predict(v, &predicted)) return false;
    for (std::size_t i = 0; i < measurements->size(); ++i) {
      const Measurement &m = (*measurements)[i];
      r[i] = (predicted[m.row * n_quantities + m.quantity] - measured(m)) / sigma[m.quantity];
    }
    return true;
  }

  double measured(const Measurement &m) const {
    const std::vector<double> *column[n_quantities] = {&data->drawbar_pull, &data->torque,
                                                       &data->sinkage};
    return (*column[m.quantity])[m.row];
  }
};

}  // namespace
}  // namespace fit_detail

FitResult fit_wheel(const WheelData &data_in, const WheelSoilInput &given,
                    const WheelFitOptions &options) {
  using namespace fit_detail;
  FitResult result;
  std::vector<ParameterSpec> specs;
  std::vector<WheelParameter> slots;
  auto refuse = [&](const std::string &message) {
    report_unfitted(specs, &result);
    result.status = FitStatus::invalid_data;
    result.message = message;
    return result;
  };

  // The parameters: talvor slots by name, shear_modulus for kx = ky.
  for (const std::string &name : options.parameters) {
    if (find_spec(specs, name) != specs.size())
      return refuse("parameter '" + name + "' is named twice");
    WheelParameter w;
    if (name == "shear_modulus") {
      w.first = talvor_input_slots.find("kx");
      w.second = talvor_input_slots.find("ky");
      if (find_spec(specs, "kx") != specs.size() || find_spec(specs, "ky") != specs.size())
        return refuse("shear_modulus moves kx and ky together: fit it or them, not both");
    } else {
      w.first = w.second = talvor_input_slots.find(name.c_str());
      if (w.first == talvor_input_slots.size())
        return refuse("'" + name + "' is not a talvor input (wheelsoil slots talvor lists them)");
      if (not_fittable.count(name))
        return refuse("'" + name + "' cannot be fitted: " +
                      (name.rfind("spare", 0) == 0 || name == "exit_sinkage_ratio"
                           ? std::string("it has no effect on the loads")
                           : std::string("each row sets it from its slip and load")));
      if ((name == "kx" || name == "ky") && find_spec(specs, "shear_modulus") != specs.size())
        return refuse("shear_modulus moves kx and ky together: fit it or them, not both");
    }
    const double *in = reinterpret_cast<const double *>(&given);
    specs.push_back(spec_for(name, talvor_input_slots[w.first].unit, in[w.first]));
    slots.push_back(w);
  }
  if (specs.empty()) return refuse("no parameters named to fit");

  // Measured columns: an empty one is a quantity not measured.
  WheelData data = data_in;
  const std::size_t rows = data.slip.size();
  for (std::vector<double> *c : {&data.drawbar_pull, &data.torque, &data.sinkage})
    if (c->empty()) c->assign(rows, NAN);
  std::string message;
  if (!check_columns({{"slip", &data.slip},
                      {"load", &data.load},
                      {"drawbar_pull", &data.drawbar_pull},
                      {"torque", &data.torque},
                      {"sinkage", &data.sinkage}},
                     &message) ||
      !check_rows(data.slip, "slip", Range::finite, &message) ||
      !check_rows(data.load, "load", Range::positive, &message) ||
      !check_rows(data.drawbar_pull, "drawbar_pull", Range::finite_or_missing, &message) ||
      !check_rows(data.torque, "torque", Range::finite_or_missing, &message) ||
      !check_rows(data.sinkage, "sinkage", Range::finite_or_missing, &message) ||
      !apply_options(&specs, options, &message))
    return refuse(message);
  for (std::size_t k = 0; k < rows; ++k)
    if (!(data.slip[k] >= -1 && data.slip[k] <= 1))
      return refuse("row " + std::to_string(k + 1) + ": slip is " + format_number(data.slip[k]) +
                    ", not within [-1, 1]");
  if (!(given.vx > 0 && std::isfinite(given.vx)))
    return refuse("the carriage speed vx must be positive (it is " + format_number(given.vx) +
                  "); the loads do not depend on its size");
  const std::size_t kr_spec = find_spec(specs, "kr");
  if (kr_spec < specs.size() && !specs[kr_spec].fixed && specs[kr_spec].value == 1)
    return refuse(
        "kr starts at exactly 1, which selects the plain exponential law: fitting it "
        "needs the hump law, a start other than 1 (e.g. 0.8)");

  // The measurements and their weights.
  std::vector<Measurement> measurements;
  const std::vector<double> *column[n_quantities] = {&data.drawbar_pull, &data.torque,
                                                     &data.sinkage};
  double sigma[n_quantities];
  for (int q = 0; q < n_quantities; ++q) {
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t k = 0; k < rows; ++k) {
      const double v = (*column[q])[k];
      if (std::isnan(v)) continue;
      measurements.push_back({k, q});
      sum += v * v;
      ++count;
    }
    sigma[q] = count > 0 && sum > 0 ? std::sqrt(sum / double(count)) : 1;
    const auto given_sigma = options.sigma.find(quantity_names[q]);
    if (given_sigma != options.sigma.end()) {
      if (!(given_sigma->second > 0 && std::isfinite(given_sigma->second)))
        return refuse(std::string("the sigma of ") + quantity_names[q] + " must be positive");
      sigma[q] = given_sigma->second;
    }
  }
  for (const auto &[name, value] : options.sigma)
    if (name != "drawbar_pull" && name != "torque" && name != "sinkage")
      return refuse("sigma: '" + name +
                    "' is no measured quantity (drawbar_pull, torque, sinkage)");
  if (measurements.empty())
    return refuse("no measurements: every drawbar_pull, torque and sinkage is missing");
  std::sort(measurements.begin(), measurements.end(),
            [](const Measurement &a, const Measurement &b) {
              return a.row != b.row ? a.row < b.row : a.quantity < b.quantity;
            });

  std::vector<double> starts;
  for (const ParameterSpec &s : specs) starts.push_back(s.value);
  set_starts(&specs, starts);
  std::vector<WheelParameter> all_slots = slots;
  const WheelModel model{&data, &given, &all_slots, &measurements, sigma, &options, {}};
  const std::vector<double> values =
      solve(&specs, numeric_cost(&model, &specs, measurements.size()), measurements.size(), options,
            &model.failure, false, &result);

  std::vector<double> predicted(rows * n_quantities, NAN);
  if (result.ok() && !model.predict(values.data(), &predicted)) {
    result.status = FitStatus::failed;
    result.message = "the model could not be evaluated at the optimum: " + model.failure;
    report_unfitted(specs, &result);
  }
  for (int q = 0; q < n_quantities; ++q) {
    FitQuantity fq;
    fq.name = quantity_names[q];
    fq.unit = quantity_units[q];
    fq.measured = *column[q];
    fq.sigma = sigma[q];
    fq.fitted.resize(rows);
    for (std::size_t k = 0; k < rows; ++k) fq.fitted[k] = predicted[k * n_quantities + q];
    summarise(&fq);
    result.quantities.push_back(fq);
  }
  return result;
}

}  // namespace wheelsoil
