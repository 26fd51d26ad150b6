// MEX gateway behind soil_fit.m:
//   [S, P, C, Q, QS, T] = soil_fit_mex(kind, data, given, numbers, names, settings)
// kind      1 plate, 2 shear, 3 wheel
// data      rows x 3 (plate: size, sinkage, pressure; shear: normal stress,
//           displacement, shear stress) or rows x 5 (wheel: slip, load,
//           drawbar pull, torque, sinkage; NaN where not measured)
// given     the wheel's 29 talvor inputs (empty for plate and shear)
// numbers   [hump, max_iterations, threads, rank_tolerance] (rank_tolerance
//           0: the fit's default)
// names     K x L character codes, 0-padded: one name per setting
// settings  K x 2: [what, value], what 1 held, 2 start, 3 lower bound,
//           4 upper bound, 5 sigma of a wheel quantity, 6 a wheel parameter to
//           fit (in order; value unused)
// Results:
// S   [status, iterations, observations, degrees of freedom, residual
//     standard error, condition number, parameters, quantities, undetermined]
//     status 0 converged, 1 ill_posed, 2 invalid_data, 3 not_converged, 4 failed
// P   parameters x [value, standard error, fitted, at bound, lower, upper]
// C   the parameters' correlations
// Q   rows x 3·quantities: measured, fitted, residual of each quantity
// QS  quantities x [observations, sigma, rmse, r_squared]
// T   lines of character codes, 0-padded: the message, each parameter's name,
//     each parameter's unit, each undetermined name, each quantity's name and
//     unit
// Only double matrices cross the gateway.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "mex.h"
#include <wheelsoil/fit.hpp>

namespace {

bool real_double(const mxArray *a) { return mxIsDouble(a) && !mxIsComplex(a) && !mxIsSparse(a); }

// A new rows x columns matrix with the values in column order.
mxArray *matrix(std::size_t rows, std::size_t columns, const std::vector<double> &values) {
  mxArray *a = mxCreateDoubleMatrix(rows, columns, mxREAL);
  if (!values.empty()) std::memcpy(mxGetPr(a), values.data(), values.size() * sizeof(double));
  return a;
}

// The fit itself, away from the host's error function: it may throw
// std::bad_alloc, which the gateway turns into an error once the fit's
// objects are gone.
wheelsoil::FitResult run(int kind, const double *data, std::size_t rows, const double *given,
                         const double *numbers, const std::vector<std::string> &names,
                         const double *settings) {
  wheelsoil::WheelFitOptions o;
  if (numbers[3] > 0)
    o.rank_tolerance = numbers[3];
  else if (kind != 3)
    o.rank_tolerance = wheelsoil::FitOptions{}.rank_tolerance;
  o.max_iterations = static_cast<int>(numbers[1]);
  o.threads = static_cast<unsigned>(numbers[2]);
  bool parameters_named = false;
  for (std::size_t k = 0; k < names.size(); ++k) {
    const int what = static_cast<int>(settings[k]);
    const double value = settings[names.size() + k];
    switch (what) {
      case 1: o.fixed[names[k]] = value; break;
      case 2: o.start[names[k]] = value; break;
      case 3: o.lower[names[k]] = value; break;
      case 4: o.upper[names[k]] = value; break;
      case 5: o.sigma[names[k]] = value; break;
      case 6:
        if (!parameters_named) o.parameters.clear();
        parameters_named = true;
        o.parameters.push_back(names[k]);
        break;
    }
  }
  auto column = [&](std::size_t c) {
    return std::vector<double>(data + c * rows, data + (c + 1) * rows);
  };
  if (kind == 1) {
    wheelsoil::PlateData d{column(0), column(1), column(2)};
    return wheelsoil::fit_plate(d, o);
  }
  if (kind == 2) {
    wheelsoil::ShearData d{column(0), column(1), column(2)};
    wheelsoil::ShearFitOptions s;
    static_cast<wheelsoil::FitOptions &>(s) = o;
    s.hump = numbers[0] != 0;
    return wheelsoil::fit_shear(d, s);
  }
  wheelsoil::WheelData d{column(0), column(1), column(2), column(3), column(4)};
  wheelsoil::WheelSoilInput in;
  std::memcpy(&in, given, sizeof in);
  return wheelsoil::fit_wheel(d, in, o);
}

}  // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  if (nrhs != 6) mexErrMsgTxt("Six input arguments required.");
  if (nlhs > 6) mexErrMsgTxt("Too many output arguments.");
  for (int k = 0; k < 6; ++k)
    if (!real_double(prhs[k])) mexErrMsgTxt("Every argument must be a real double matrix.");
  if (mxGetNumberOfElements(prhs[0]) != 1) mexErrMsgTxt("The kind must be 1, 2 or 3.");
  const double kind_code = mxGetPr(prhs[0])[0];
  if (kind_code != 1 && kind_code != 2 && kind_code != 3)
    mexErrMsgTxt("The kind must be 1, 2 or 3.");
  const int kind = static_cast<int>(kind_code);
  const std::size_t rows = mxGetM(prhs[1]);
  if (mxGetN(prhs[1]) != std::size_t(kind == 3 ? 5 : 3))
    mexErrMsgTxt("The data must have 3 columns (plate, shear) or 5 (wheel).");
  if (kind == 3 && mxGetNumberOfElements(prhs[2]) < 29)
    mexErrMsgTxt("The wheel needs its 29 talvor inputs.");
  if (mxGetNumberOfElements(prhs[3]) != 4) mexErrMsgTxt("The numbers must be 4 values.");
  const double *numbers = mxGetPr(prhs[3]);
  if (!(numbers[1] >= 1 && numbers[1] <= 1e6) || !(numbers[2] >= 0 && numbers[2] <= 1024) ||
      !(numbers[3] >= 0 && numbers[3] < 1))
    mexErrMsgTxt(
        "Bad numbers: max_iterations 1 to 1e6, threads 0 to 1024, rank_tolerance in [0, 1).");
  const std::size_t count = mxGetM(prhs[4]);
  const std::size_t length = mxGetN(prhs[4]);
  if (mxGetM(prhs[5]) != count || mxGetN(prhs[5]) != (count ? 2u : mxGetN(prhs[5])))
    mexErrMsgTxt("The settings must have one row [what, value] per name.");
  const double *codes = mxGetPr(prhs[4]);
  for (std::size_t k = 0; k < count * length; ++k)
    if (!(codes[k] >= 0 && codes[k] < 128 && codes[k] == static_cast<int>(codes[k])))
      mexErrMsgTxt("Names must be ASCII character codes.");

  bool out_of_memory = false;
  std::vector<mxArray *> results;
  try {
    std::vector<std::string> names(count);
    for (std::size_t k = 0; k < count; ++k)
      for (std::size_t c = 0; c < length && codes[c * count + k] != 0; ++c)
        names[k] += static_cast<char>(codes[c * count + k]);
    const wheelsoil::FitResult r =
        run(kind, mxGetPr(prhs[1]), rows, mxGetPr(prhs[2]), numbers, names, mxGetPr(prhs[5]));
    const std::size_t n = r.parameters.size(), nq = r.quantities.size();
    std::vector<std::string> lines = {r.message};
    for (const auto &p : r.parameters) lines.push_back(p.name);
    for (const auto &p : r.parameters) lines.push_back(p.unit);
    for (const auto &u : r.undetermined) lines.push_back(u);
    for (const auto &q : r.quantities) lines.push_back(q.name), lines.push_back(q.unit);

    results.push_back(
        matrix(1, 9,
               {double(static_cast<int>(r.status)), double(r.iterations), double(r.observations),
                double(r.degrees_of_freedom), r.residual_standard_error, r.condition_number,
                double(n), double(nq), double(r.undetermined.size())}));
    std::vector<double> p(n * 6);
    for (std::size_t k = 0; k < n; ++k) {
      const auto &fp = r.parameters[k];
      const double row[6] = {
          fp.value, fp.standard_error, fp.fitted ? 1.0 : 0.0, fp.at_bound ? 1.0 : 0.0,
          fp.lower, fp.upper};
      for (int c = 0; c < 6; ++c) p[c * n + k] = row[c];
    }
    results.push_back(matrix(n, 6, p));
    std::vector<double> correlation(n * n, NAN);
    if (r.correlation.size() == n * n)
      for (std::size_t a = 0; a < n; ++a)
        for (std::size_t b = 0; b < n; ++b) correlation[b * n + a] = r.correlation[a * n + b];
    results.push_back(matrix(n, n, correlation));
    std::vector<double> q(rows * 3 * nq), qs(nq * 4);
    for (std::size_t j = 0; j < nq; ++j) {
      const auto &fq = r.quantities[j];
      for (std::size_t k = 0; k < rows && k < fq.measured.size(); ++k) {
        q[(3 * j) * rows + k] = fq.measured[k];
        q[(3 * j + 1) * rows + k] = fq.fitted.size() > k ? fq.fitted[k] : NAN;
        q[(3 * j + 2) * rows + k] = fq.residuals.size() > k ? fq.residuals[k] : NAN;
      }
      const double row[4] = {double(fq.observations), fq.sigma, fq.rmse, fq.r_squared};
      for (int c = 0; c < 4; ++c) qs[c * nq + j] = row[c];
    }
    results.push_back(matrix(rows, 3 * nq, q));
    results.push_back(matrix(nq, 4, qs));
    std::size_t longest = 0;
    for (const auto &l : lines) longest = std::max(longest, l.size());
    std::vector<double> t(lines.size() * longest, 0.0);
    for (std::size_t k = 0; k < lines.size(); ++k)
      for (std::size_t c = 0; c < lines[k].size(); ++c)
        t[c * lines.size() + k] = static_cast<unsigned char>(lines[k][c]);
    results.push_back(matrix(lines.size(), longest, t));
  } catch (const std::bad_alloc &) {
    out_of_memory = true;
  }
  if (out_of_memory) mexErrMsgTxt("Out of memory.");
  for (std::size_t k = 0; k < results.size(); ++k) {
    if (int(k) < std::max(nlhs, 1))
      plhs[k] = results[k];
    else
      mxDestroyArray(results[k]);
  }
}
