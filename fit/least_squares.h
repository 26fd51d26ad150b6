// The least-squares machinery the three fits share: parameters with bounds,
// held values and scales; a bounded Levenberg–Marquardt solve (Ceres); and
// what follows at the optimum: bounds reached, rank and conditioning of the
// Jacobian, standard errors and correlations.
#ifndef WHEELSOIL_FIT_LEAST_SQUARES_H
#define WHEELSOIL_FIT_LEAST_SQUARES_H

#include <ceres/ceres.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <wheelsoil/fit.hpp>

namespace wheelsoil::fit_detail {

// One parameter as the solver sees it.
struct ParameterSpec {
  std::string name;
  std::string unit;
  double lower = -INFINITY;  // physical bounds (replaceable by the options)
  double upper = INFINITY;
  double typical = 1;        // its size where the start is 0: sets the solver's scale
  bool fixed = false;        // held at `value`
  bool start_given = false;  // `value` is the caller's start, not an estimate
  double value = NAN;        // held value, or start
  double scale = 1;          // the solver works on value/scale
};

// The index of the parameter called name in specs, or specs.size().
std::size_t find_spec(const std::vector<ParameterSpec> &specs, const std::string &name);

// Applies the options' held values, starts and bounds to specs. False, with
// *message, for a name that is no parameter of the fit or an unusable value.
bool apply_options(std::vector<ParameterSpec> *specs, const FitOptions &options,
                   std::string *message);

// Sets each spec's start (where the caller gave none) from `estimate`, clamps
// it into its bounds and sets its scale.
void set_starts(std::vector<ParameterSpec> *specs, const std::vector<double> &estimate);

// The full parameter vector from the solver's free block x (scaled).
template <class T>
void unpack(const std::vector<ParameterSpec> &specs, const T *x, T *values) {
  std::size_t k = 0;
  for (std::size_t i = 0; i < specs.size(); ++i)
    values[i] = specs[i].fixed ? T(specs[i].value) : x[k++] * T(specs[i].scale);
}

// A model with `bool operator()(const T *values, T *residuals) const` over
// every parameter, seen by the solver on the free block alone.
template <class Model>
struct FreeBlock {
  const Model *model;
  const std::vector<ParameterSpec> *specs;

  template <class T>
  bool operator()(T const *const *x, T *residuals) const {
    std::vector<T> values(specs->size());
    unpack(*specs, x[0], values.data());
    return (*model)(values.data(), residuals);
  }
};

// The number of free parameters.
std::size_t free_count(const std::vector<ParameterSpec> &specs);

// Exact derivatives by automatic differentiation: for the closed-form laws.
template <class Model>
std::unique_ptr<ceres::CostFunction> autodiff_cost(const Model *model,
                                                   const std::vector<ParameterSpec> *specs,
                                                   std::size_t residuals) {
  auto cost = std::make_unique<ceres::DynamicAutoDiffCostFunction<FreeBlock<Model>, 4>>(
      new FreeBlock<Model>{model, specs});
  cost->AddParameterBlock(static_cast<int>(free_count(*specs)));
  cost->SetNumResiduals(static_cast<int>(residuals));
  return cost;
}

// Central differences: for the wheel, whose model is an operating-point solve.
template <class Model>
std::unique_ptr<ceres::CostFunction> numeric_cost(const Model *model,
                                                  const std::vector<ParameterSpec> *specs,
                                                  std::size_t residuals) {
  auto cost =
      std::make_unique<ceres::DynamicNumericDiffCostFunction<FreeBlock<Model>, ceres::CENTRAL>>(
          new FreeBlock<Model>{model, specs});
  cost->AddParameterBlock(static_cast<int>(free_count(*specs)));
  cost->SetNumResiduals(static_cast<int>(residuals));
  return cost;
}

// Solves min sum of squared residuals of `cost` over the free parameters of
// specs within their bounds, and fills result's status, message, parameters,
// undetermined, correlation, observations, degrees of freedom, residual
// standard error, condition number and iterations. `model_message`, if not
// empty after a failed evaluation, says why the model failed; `smooth` says
// whether the cost is smooth to rounding (else the solve stops at the
// solver's default tolerances). Returns the full parameter vector at the
// optimum (empty unless the fit converged).
std::vector<double> solve(std::vector<ParameterSpec> *specs,
                          std::unique_ptr<ceres::CostFunction> cost, std::size_t residuals,
                          const FitOptions &options, const std::string *model_message, bool smooth,
                          FitResult *result);

// Fills a quantity's statistics from its measured and fitted values.
void summarise(FitQuantity *q);

// The parameters of a fit that gave no result: names, units, bounds, held
// values; NaN for the rest.
void report_unfitted(const std::vector<ParameterSpec> &specs, FitResult *result);

// "name = value" with %g.
std::string describe(const std::string &name, double value);

}  // namespace wheelsoil::fit_detail

#endif
