// Soil and wheel parameters from test data, by nonlinear least squares
// within physical bounds:
//   fit_plate  plate-sinkage tests:  p = (k_c/b + k_phi)·z^n        -> k_c, k_phi, n
//   fit_shear  shear tests:          tau = (c + sigma·tan phi)·F(j)  -> c, phi, K (and kr)
//   fit_wheel  single-wheel runs: drawbar pull, torque, sinkage against slip at
//              given loads, each row at its operating point          -> c1..c4, or others
//
//   #include <wheelsoil/fit.hpp>          // link wheelsoil::fit
//   wheelsoil::PlateData d;  d.size = {...};  d.sinkage = {...};  d.pressure = {...};
//   wheelsoil::FitResult r = wheelsoil::fit_plate(d);
//   if (r.ok()) use(r.value("k_c"), r.parameter("k_c")->standard_error);
//   else        report(r.message);        // never values: NaN unless ok()
//
// SI units and radians throughout. A fit reports a status and a message rather
// than throwing: bad data, an ill-posed problem (the data cannot determine a
// parameter) or a solver that did not converge give no values. Standard
// errors are s·sqrt(diag((JᵀJ)⁻¹)) at the optimum, with J the Jacobian of the
// weighted residuals and s² = RSS/(m − p). Every fit is reentrant.
#ifndef WHEELSOIL_FIT_HPP
#define WHEELSOIL_FIT_HPP

#include <cmath>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "equilibrium.hpp"
#include "records.hpp"

namespace wheelsoil {

// How a fit ended. Only `converged` carries values.
enum class FitStatus : int {
  converged,      // fitted: values, standard errors, residuals
  ill_posed,      // the data cannot determine a parameter; not fitted
  invalid_data,   // a measurement or an option is unusable; not fitted
  not_converged,  // the solver stopped before convergence
  failed,         // the model could not be evaluated along the way
};

// The status's name, e.g. "ill_posed".
const char *status_name(FitStatus status);

// One parameter of a fit.
struct FitParameter {
  std::string name;  // e.g. "k_c"; the talvor slot name where there is one
  std::string unit;
  double value = NAN;           // fitted, or held; NaN when the fit gave no result
  double standard_error = NAN;  // NaN when held, at a bound or not fitted
  bool fitted = true;           // false: held at a given value
  bool at_bound = false;        // fitted, but ended on a bound: no standard error
  double lower = -INFINITY;     // the bounds it was fitted within
  double upper = INFINITY;
};

// One measured quantity of a fit (pressure; shear stress; drawbar pull,
// torque, sinkage), per data row: NaN where a row has no measurement.
struct FitQuantity {
  std::string name;
  std::string unit;
  std::vector<double> measured;
  std::vector<double> fitted;     // the model at the fitted values (every row)
  std::vector<double> residuals;  // measured − fitted
  std::size_t observations = 0;   // rows with a measurement
  double sigma = 1;               // its residuals are divided by sigma in the fit
  double rmse = NAN;              // root mean square of the residuals
  double r_squared = NAN;         // 1 − SS_res/SS_tot about the measurements' mean
};

// What a fit found.
struct FitResult {
  FitStatus status = FitStatus::invalid_data;
  std::string message;                    // what happened, in words
  std::vector<FitParameter> parameters;   // fitted and held, in the fit's order
  std::vector<std::string> undetermined;  // ill_posed: the parameters the data leaves open
  std::vector<FitQuantity> quantities;
  std::vector<double> correlation;  // fitted parameters' correlations, row-major, over parameters
  std::size_t observations = 0;     // m: measurements fitted
  std::size_t degrees_of_freedom = 0;    // m − p
  double residual_standard_error = NAN;  // s = sqrt(RSS/(m − p)), of the weighted residuals
  double condition_number = NAN;         // of the Jacobian with its columns scaled to unit length
  int iterations = 0;                    // solver iterations

  bool ok() const { return status == FitStatus::converged; }
  // The parameter called name, or nullptr.
  const FitParameter *parameter(const std::string &name) const {
    for (const FitParameter &p : parameters)
      if (p.name == name) return &p;
    return nullptr;
  }
  // The value of the parameter called name; NaN if there is none.
  double value(const std::string &name) const {
    const FitParameter *p = parameter(name);
    return p ? p->value : NAN;
  }
};

// What every fit takes.
struct FitOptions {
  std::map<std::string, double> fixed;  // held at these values, not fitted
  std::map<std::string, double> start;  // starting values; else estimated from the data
  std::map<std::string, double> lower;  // bounds that replace the physical ones
  std::map<std::string, double> upper;
  int max_iterations = 200;
  // The fit is ill-posed where the smallest singular value of the Jacobian,
  // its columns scaled to unit length, is below this fraction of the largest.
  double rank_tolerance = 1e-8;
};

// Plate-sinkage tests: one row per reading.
struct PlateData {
  std::vector<double>
      size;  // b (m): a rectangular plate's width (smaller side), a circular plate's radius
  std::vector<double> sinkage;   // z (m)
  std::vector<double> pressure;  // p (Pa)
};

// Fits sinkage_exponent (n), k_c (N/m^(n+1)) and k_phi (N/m^(n+2)) of
// p = (k_c/b + k_phi)·z^n, least squares in p. Two plate sizes at least,
// unless k_c or k_phi is held.
FitResult fit_plate(const PlateData &data, const FitOptions &options = {});

// Shear tests: one row per reading.
struct ShearData {
  std::vector<double> normal_stress;  // sigma (Pa), compression positive
  std::vector<double> displacement;   // j (m), from the start of shearing
  std::vector<double> shear_stress;   // tau (Pa)
};

struct ShearFitOptions : FitOptions {
  bool hump = false;  // the hump law with its residual factor kr, fitted unless held
};

// Fits cohesion (Pa), friction_angle (rad) and shear_modulus K (m) of
// tau = (c + sigma·tan phi)·F(j/K), F the plain exponential 1 − e^(−j/K) (or
// the hump law with kr), least squares in tau. Two normal stresses at least,
// unless cohesion or friction_angle is held.
FitResult fit_shear(const ShearData &data, const ShearFitOptions &options = {});

// Single-wheel runs: one row per steady run, each measured quantity optional
// (NaN, or an empty vector for none at all).
struct WheelData {
  std::vector<double> slip;          // s (-), in [-1, 1]
  std::vector<double> load;          // W (N), the vertical load carried
  std::vector<double> drawbar_pull;  // rim_fx + side_fx (N)
  std::vector<double> torque;        // driving torque −(rim_my + side_my) (N m)
  std::vector<double> sinkage;       // at the wheel's mid-plane (m)
};

struct WheelFitOptions : FitOptions {
  // Its derivatives are differences over operating-point solves, exact to
  // about 1e-7: a singular problem shows a condition number of about 1e7.
  WheelFitOptions() { rank_tolerance = 1e-5; }
  // talvor input slots to fit; "shear_modulus" fits kx = ky together.
  std::vector<std::string> parameters = {"c1", "c2", "c3", "c4"};
  // Standard deviation of each quantity's measurements ("drawbar_pull",
  // "torque", "sinkage"); where not given, the RMS of its measured values.
  std::map<std::string, double> sigma;
  EquilibriumOptions equilibrium{1e-12, 100, false, 1e-6};  // each row's operating point
  Options model;                                            // what talvor evaluates
  unsigned threads = 0;  // rows solved on this many threads (0: one per hardware thread)
};

// Fits the named talvor inputs to single-wheel runs. `given` holds every
// other input (geometry, soil, the starting values of the fitted ones) and
// the carriage speed vx (> 0); per row the spin wy follows from the slip and
// the centre height from the load (the operating point).
FitResult fit_wheel(const WheelData &data, const WheelSoilInput &given,
                    const WheelFitOptions &options = {});

// The laws fitted, for drawing the fitted curves.
// p = (k_c/b + k_phi)·z^n (Pa).
double plate_pressure(double k_c, double k_phi, double sinkage_exponent, double size,
                      double sinkage);
// tau = (sigma·tan phi + c)·F(j, K): kr exactly 1 the plain exponential, else the hump law (Pa).
double shear_stress_law(double cohesion, double friction_angle, double shear_modulus, double kr,
                        double normal_stress, double displacement);

// A wheel at its operating point: what fit_wheel compares with a row.
struct WheelPoint {
  bool converged = false;
  double drawbar_pull = NAN;  // N
  double torque = NAN;        // N m
  double sinkage = NAN;       // m
  std::string message;        // the operating point's, when not converged
};

// The wheel of `input` (vx > 0) at slip s under the load W.
WheelPoint wheel_point(const WheelSoilInput &input, double slip, double load,
                       const EquilibriumOptions &equilibrium = {}, const Options &model = {});

// The talvor input of a row: wy from the slip s and vx, s = (wy·r − vx)/(wy·r)
// driving (s > 0), (wy·r − vx)/vx braking (s <= 0); s = 1 spins in place (vx
// becomes 0, the rim turning at the given vx).
WheelSoilInput with_slip(const WheelSoilInput &input, double slip);

}  // namespace wheelsoil

#endif
