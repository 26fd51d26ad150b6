#include "least_squares.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace wheelsoil {

const char *status_name(FitStatus status) {
  switch (status) {
    case FitStatus::converged: return "converged";
    case FitStatus::ill_posed: return "ill_posed";
    case FitStatus::invalid_data: return "invalid_data";
    case FitStatus::not_converged: return "not_converged";
    case FitStatus::failed: return "failed";
  }
  return "unknown";
}

}  // namespace wheelsoil

namespace wheelsoil::fit_detail {
namespace {

// A parameter within this many of its scaled bound counts as on it: the
// solver projects onto the bounds, so one it stops at is met exactly.
constexpr double bound_margin = 1e-9;

// A column of the undetermined directions naming a parameter: its share of
// the singular vector (two parameters that trade one for one have 0.71 each).
constexpr double null_share = 0.2;

std::string join(const std::vector<std::string> &names) {
  std::string s;
  for (std::size_t k = 0; k < names.size(); ++k)
    s += (k == 0 ? "" : k + 1 == names.size() ? " and " : ", ") + names[k];
  return s;
}

std::string number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  return buf;
}

}  // namespace

std::string describe(const std::string &name, double value) { return name + " = " + number(value); }

std::size_t find_spec(const std::vector<ParameterSpec> &specs, const std::string &name) {
  for (std::size_t i = 0; i < specs.size(); ++i)
    if (specs[i].name == name) return i;
  return specs.size();
}

std::size_t free_count(const std::vector<ParameterSpec> &specs) {
  return static_cast<std::size_t>(
      std::count_if(specs.begin(), specs.end(), [](const ParameterSpec &s) { return !s.fixed; }));
}

bool apply_options(std::vector<ParameterSpec> *specs, const FitOptions &options,
                   std::string *message) {
  std::string names;
  for (const ParameterSpec &s : *specs) names += (names.empty() ? "" : ", ") + s.name;
  // Each map's names must be parameters of the fit, with finite values.
  auto each = [&](const std::map<std::string, double> &map, const char *what, auto apply) {
    for (const auto &[name, value] : map) {
      const std::size_t i = find_spec(*specs, name);
      if (i == specs->size()) {
        *message =
            std::string(what) + ": '" + name + "' is not a parameter of this fit (" + names + ")";
        return false;
      }
      if (!std::isfinite(value)) {
        *message = std::string(what) + ": " + name + " must be finite";
        return false;
      }
      apply((*specs)[i], value);
    }
    return true;
  };
  if (!each(options.lower, "lower bound", [](ParameterSpec &s, double v) { s.lower = v; }) ||
      !each(options.upper, "upper bound", [](ParameterSpec &s, double v) { s.upper = v; }) ||
      !each(options.start, "start",
            [](ParameterSpec &s, double v) {
              s.value = v;
              s.start_given = true;
            }) ||
      !each(options.fixed, "held value", [](ParameterSpec &s, double v) {
        s.value = v;
        s.fixed = true;
      }))
    return false;
  for (const ParameterSpec &s : *specs) {
    if (!s.fixed && !(s.lower < s.upper)) {
      *message = "the bounds of " + s.name + " leave no room: lower " + number(s.lower) +
                 ", upper " + number(s.upper);
      return false;
    }
  }
  if (!(options.max_iterations >= 1)) {
    *message = "max_iterations must be at least 1";
    return false;
  }
  if (!(options.rank_tolerance > 0 && options.rank_tolerance < 1)) {
    *message = "rank_tolerance must lie between 0 and 1";
    return false;
  }
  return true;
}

void set_starts(std::vector<ParameterSpec> *specs, const std::vector<double> &estimate) {
  for (std::size_t i = 0; i < specs->size(); ++i) {
    ParameterSpec &s = (*specs)[i];
    if (s.fixed) continue;
    double v = s.start_given ? s.value : estimate[i];
    if (!std::isfinite(v)) v = s.typical;
    // Strictly inside the bounds: a start on a bound has a one-sided
    // neighbourhood, which the solver handles, but a nudge costs nothing.
    const double span = s.upper - s.lower;
    const double inset =
        std::isfinite(span) ? 1e-3 * span : 1e-3 * std::max(std::fabs(v), s.typical);
    if (!(v > s.lower)) v = s.lower + inset;
    if (!(v < s.upper)) v = s.upper - inset;
    s.value = v;
    s.scale = std::fabs(v) > 0 ? std::fabs(v) : s.typical;
    if (std::isfinite(s.lower) && std::isfinite(s.upper)) s.scale = std::min(s.scale, span);
    if (!(s.scale > 0) || !std::isfinite(s.scale)) s.scale = 1;
  }
}

void report_unfitted(const std::vector<ParameterSpec> &specs, FitResult *result) {
  result->parameters.clear();
  for (const ParameterSpec &s : specs) {
    FitParameter p;
    p.name = s.name;
    p.unit = s.unit;
    p.fitted = !s.fixed;
    p.value = s.fixed ? s.value : NAN;
    p.lower = s.lower;
    p.upper = s.upper;
    result->parameters.push_back(p);
  }
}

std::vector<double> solve(std::vector<ParameterSpec> *specs_in,
                          std::unique_ptr<ceres::CostFunction> cost, std::size_t residuals,
                          const FitOptions &options, const std::string *model_message, bool smooth,
                          FitResult *result) {
  std::vector<ParameterSpec> &specs = *specs_in;
  report_unfitted(specs, result);
  const std::size_t p = free_count(specs);
  result->observations = residuals;
  if (p == 0) {
    result->status = FitStatus::invalid_data;
    result->message = "every parameter is held: nothing to fit";
    return {};
  }
  if (residuals <= p) {
    result->status = FitStatus::ill_posed;
    result->message = std::to_string(residuals) + " measurements cannot determine " +
                      std::to_string(p) + " parameters: more measurements than parameters needed";
    for (const ParameterSpec &s : specs)
      if (!s.fixed) result->undetermined.push_back(s.name);
    return {};
  }
  result->degrees_of_freedom = residuals - p;

  // The free block, scaled so that each parameter is about 1.
  std::vector<double> x;
  std::vector<std::size_t> index;  // spec of each free parameter
  for (std::size_t i = 0; i < specs.size(); ++i) {
    if (specs[i].fixed) continue;
    x.push_back(specs[i].value / specs[i].scale);
    index.push_back(i);
  }
  // The model at the start, before the solver: a start it cannot evaluate
  // is this fit's failure, reported here rather than through the solver's log.
  {
    std::vector<double> r0(residuals);
    const double *blocks[] = {x.data()};
    if (!cost->Evaluate(blocks, r0.data(), nullptr)) {
      result->status = FitStatus::failed;
      result->message =
          "the model could not be evaluated at the start" +
          ((model_message && !model_message->empty()) ? ": " + *model_message : std::string());
      return {};
    }
    for (double v : r0) {
      if (!std::isfinite(v)) {
        result->status = FitStatus::failed;
        result->message =
            "the model is not finite at the start: give starting values nearer "
            "the data";
        return {};
      }
    }
  }
  ceres::Problem::Options problem_options;
  problem_options.cost_function_ownership = ceres::TAKE_OWNERSHIP;
  ceres::Problem problem(problem_options);
  problem.AddResidualBlock(cost.release(), nullptr, x.data());
  for (std::size_t k = 0; k < p; ++k) {
    const ParameterSpec &s = specs[index[k]];
    if (std::isfinite(s.lower)) problem.SetParameterLowerBound(x.data(), int(k), s.lower / s.scale);
    if (std::isfinite(s.upper)) problem.SetParameterUpperBound(x.data(), int(k), s.upper / s.scale);
  }

  ceres::Solver::Options solver;
  solver.minimizer_type = ceres::TRUST_REGION;
  solver.trust_region_strategy_type = ceres::LEVENBERG_MARQUARDT;
  solver.linear_solver_type = ceres::DENSE_QR;
  solver.max_num_iterations = options.max_iterations;
  // A smooth model is solved tightly: the standard errors are taken at the
  // optimum. The wheel's operating points carry the fixed quadrature rule's
  // slope breaks, which wiggle the cost by about 1e-8 of itself: the solver's
  // defaults stop it once a step gains less than that noise can explain.
  solver.function_tolerance = smooth ? 1e-12 : 1e-6;
  solver.parameter_tolerance = smooth ? 1e-10 : 1e-8;
  solver.gradient_tolerance = 1e-14;
  solver.logging_type = ceres::SILENT;
  solver.minimizer_progress_to_stdout = false;
  solver.num_threads = 1;
  // Ceres follows each step of a bounded problem with a projected line search
  // whose every trial needs the Jacobian: too dear for a model that is
  // differentiated numerically. Projecting the step onto the bounds suffices.
  solver.max_num_line_search_step_size_iterations = 0;
  ceres::Solver::Summary summary;
  ceres::Solve(solver, &problem, &summary);
  result->iterations = static_cast<int>(summary.iterations.size()) - 1;

  switch (summary.termination_type) {
    case ceres::CONVERGENCE: break;
    case ceres::NO_CONVERGENCE:
      result->status = FitStatus::not_converged;
      result->message = "the solver did not converge in " + std::to_string(options.max_iterations) +
                        " iterations (" + summary.message + ")";
      return {};
    default:
      result->status = FitStatus::failed;
      result->message = (model_message && !model_message->empty())
                            ? "the model could not be evaluated: " + *model_message
                            : "the solver failed: " + summary.message;
      return {};
  }

  // Residuals and Jacobian at the optimum.
  ceres::CRSMatrix crs;
  std::vector<double> r;
  double half_rss = 0;
  if (!problem.Evaluate(ceres::Problem::EvaluateOptions(), &half_rss, &r, nullptr, &crs)) {
    result->status = FitStatus::failed;
    result->message = (model_message && !model_message->empty())
                          ? "the model could not be evaluated at the optimum: " + *model_message
                          : "the model could not be evaluated at the optimum";
    return {};
  }
  Eigen::MatrixXd jacobian = Eigen::MatrixXd::Zero(crs.num_rows, crs.num_cols);
  for (int row = 0; row < crs.num_rows; ++row)
    for (int k = crs.rows[row]; k < crs.rows[row + 1]; ++k)
      jacobian(row, crs.cols[k]) = crs.values[k];
  const double rss = 2 * half_rss;
  if (!std::isfinite(rss) || !jacobian.allFinite()) {
    result->status = FitStatus::failed;
    result->message = "the residuals or their derivatives are not finite at the optimum";
    return {};
  }
  const double s2 = rss / double(result->degrees_of_freedom);
  result->residual_standard_error = std::sqrt(s2);

  // Parameters on a bound: their standard error means nothing, and they stay
  // out of the covariance.
  std::vector<bool> on_bound(p, false);
  std::vector<std::size_t> inner;  // free parameters off their bounds
  for (std::size_t k = 0; k < p; ++k) {
    const ParameterSpec &s = specs[index[k]];
    const double lo = s.lower / s.scale, hi = s.upper / s.scale;
    on_bound[k] = (std::isfinite(lo) && x[k] <= lo + bound_margin * std::max(1.0, std::fabs(lo))) ||
                  (std::isfinite(hi) && x[k] >= hi - bound_margin * std::max(1.0, std::fabs(hi)));
    if (!on_bound[k]) inner.push_back(k);
  }

  // Rank and conditioning of the Jacobian with unit-length columns: whether
  // the data determine each parameter, whatever its unit.
  std::vector<std::string> undetermined;
  const std::size_t q = inner.size();
  Eigen::MatrixXd covariance = Eigen::MatrixXd::Zero(q, q);  // of the scaled parameters
  if (q > 0) {
    Eigen::MatrixXd j(jacobian.rows(), q);
    Eigen::VectorXd norm(q);
    for (std::size_t c = 0; c < q; ++c) {
      j.col(c) = jacobian.col(inner[c]);
      norm(c) = j.col(c).norm();
      if (norm(c) > 0) j.col(c) /= norm(c);
    }
    Eigen::JacobiSVD<Eigen::MatrixXd> svd(j, Eigen::ComputeThinV);
    const Eigen::VectorXd sv = svd.singularValues();
    const Eigen::MatrixXd &v = svd.matrixV();
    result->condition_number = sv(q - 1) > 0 ? sv(0) / sv(q - 1) : INFINITY;
    std::vector<bool> named(q, false);
    for (std::size_t c = 0; c < q; ++c) named[c] = !(norm(c) > 0);
    for (std::size_t k = 0; k < q; ++k) {
      if (sv(k) > options.rank_tolerance * sv(0)) continue;
      for (std::size_t c = 0; c < q; ++c)
        if (std::fabs(v(c, k)) > null_share) named[c] = true;
    }
    for (std::size_t c = 0; c < q; ++c)
      if (named[c]) undetermined.push_back(specs[index[inner[c]]].name);
    if (undetermined.empty()) {
      // s²·(JᵀJ)⁻¹ = s²·D⁻¹·V·Σ⁻²·Vᵀ·D⁻¹, D the column norms.
      const Eigen::VectorXd inv = sv.cwiseInverse().cwiseAbs2();
      covariance = s2 * (v * inv.asDiagonal() * v.transpose());
      for (std::size_t a = 0; a < q; ++a)
        for (std::size_t b = 0; b < q; ++b) covariance(a, b) /= norm(a) * norm(b);
    }
  }
  if (!undetermined.empty()) {
    result->status = FitStatus::ill_posed;
    result->undetermined = undetermined;
    result->message = "the data cannot determine " + join(undetermined) +
                      (undetermined.size() == 1
                           ? ": the fit does not depend on it, or only together with another "
                             "parameter. Hold it at a value, or add measurements that move it"
                           : ": the fit depends on them only in a combination. Hold one at a "
                             "value, or add measurements that tell them apart");
    return {};
  }

  // Values, standard errors, correlations.
  std::vector<double> values(specs.size());
  unpack(specs, x.data(), values.data());
  const std::size_t n = specs.size();
  result->correlation.assign(n * n, NAN);
  std::vector<std::string> notes;
  for (std::size_t c = 0; c < q; ++c) {
    const std::size_t i = index[inner[c]];
    for (std::size_t d = 0; d < q; ++d) {
      const std::size_t k = index[inner[d]];
      result->correlation[i * n + k] =
          covariance(c, d) / std::sqrt(covariance(c, c) * covariance(d, d));
    }
  }
  for (std::size_t k = 0; k < p; ++k) {
    const std::size_t i = index[k];
    FitParameter &fp = result->parameters[i];
    fp.value = values[i];
    fp.at_bound = on_bound[k];
    if (on_bound[k]) {
      const ParameterSpec &s = specs[i];
      const bool low = std::fabs(x[k] - s.lower / s.scale) <= std::fabs(x[k] - s.upper / s.scale);
      notes.push_back(fp.name + " ended on its " + (low ? "lower" : "upper") + " bound " +
                      number(low ? s.lower : s.upper) + " (no standard error)");
    }
  }
  for (std::size_t c = 0; c < q; ++c) {
    const std::size_t i = index[inner[c]];
    FitParameter &fp = result->parameters[i];
    fp.standard_error = std::sqrt(covariance(c, c)) * specs[i].scale;
    if (!(fp.standard_error < std::fabs(fp.value)))
      notes.push_back(fp.name + " is poorly determined (its standard error " +
                      number(fp.standard_error) + " is not below its value's size)");
  }
  for (std::size_t i = 0; i < n; ++i) specs[i].value = values[i];
  result->status = FitStatus::converged;
  result->message = "converged in " + std::to_string(result->iterations) + " iterations";
  for (const std::string &note : notes) result->message += "; " + note;
  return values;
}

void summarise(FitQuantity *q) {
  const std::size_t rows = q->measured.size();
  q->residuals.assign(rows, NAN);
  double sum = 0, ss_res = 0;
  std::size_t m = 0;
  for (std::size_t k = 0; k < rows; ++k) {
    if (std::isnan(q->measured[k])) continue;
    q->residuals[k] = q->measured[k] - q->fitted[k];
    sum += q->measured[k];
    ss_res += q->residuals[k] * q->residuals[k];
    ++m;
  }
  q->observations = m;
  if (m == 0) return;
  const double mean = sum / double(m);
  double ss_tot = 0;
  for (std::size_t k = 0; k < rows; ++k)
    if (!std::isnan(q->measured[k])) ss_tot += (q->measured[k] - mean) * (q->measured[k] - mean);
  q->rmse = std::sqrt(ss_res / double(m));
  q->r_squared = ss_tot > 0 ? 1 - ss_res / ss_tot : NAN;
}

}  // namespace wheelsoil::fit_detail
