// wheelsoil._core: the library's batches, operating point and tables for
// Python. A thin gateway: it checks what it is given, calls the C++ API with
// the GIL released and returns numpy arrays. Conversions, broadcasting and
// friendly messages live in the plain-Python package above it.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <wheelsoil/wheelsoil.hpp>
#if WHEELSOIL_PYTHON_HAS_FIT
#include <wheelsoil/fit.hpp>

#include <map>
#endif

namespace py = pybind11;

namespace wheelsoil_python {

// The slot count of each model's input.
constexpr py::ssize_t talvor_slots = 29;
constexpr py::ssize_t pindrel_slots = 20;

// A float64 array of results, made here.
using DoubleArray = py::array_t<double, 0>;

// Whether a double can be read at p.
bool aligned(const void *p) { return reinterpret_cast<std::uintptr_t>(p) % alignof(double) == 0; }

// The view of a 2-D float64 array of `slots` columns, in place; refuses
// anything else with a ValueError naming `what`.
wheelsoil::InputView view_of(const py::array &a, py::ssize_t slots, const char *what) {
  if (!py::isinstance<py::array_t<double>>(a) || a.dtype().kind() != 'f' || a.itemsize() != 8)
    throw py::type_error(std::string(what) + " must be a float64 array");
  if (a.ndim() != 2 || a.shape(1) != slots)
    throw py::value_error(std::string(what) + " must have shape (N, " + std::to_string(slots) +
                          ")");
  if (!aligned(a.data()) || a.strides(0) % 8 != 0 || a.strides(1) % 8 != 0)
    throw py::value_error(std::string(what) + " must be aligned to whole float64 elements");
  wheelsoil::InputView v;
  v.data = static_cast<const double *>(a.data());
  v.count = static_cast<std::size_t>(a.shape(0));
  v.vector_stride = a.strides(0) / 8;
  v.slot_stride = a.strides(1) / 8;
  return v;
}

// Stops a batch at the next block when Python has a signal to deliver
// (Ctrl-C), so that a long batch can be interrupted. Only the main thread
// receives signals, and it looks at most every check_interval: taking the
// GIL after every block would stall the batch behind busy Python threads.
struct SignalWatch {
  static constexpr std::chrono::milliseconds check_interval{50};
  bool interrupted = false;
  bool main_thread;
  std::chrono::steady_clock::time_point next_check;

  // Made with the GIL held.
  SignalWatch()
      : main_thread(PyThread_get_thread_ident() == py::module_::import("threading")
                                                       .attr("main_thread")()
                                                       .attr("ident")
                                                       .cast<unsigned long>()),
        next_check(std::chrono::steady_clock::now() + check_interval) {}

  wheelsoil::ProgressFunction function() {
    if (!main_thread) return {};
    return [this](std::size_t, std::size_t) {
      const auto now = std::chrono::steady_clock::now();
      if (now < next_check) return wheelsoil::Progress::proceed;
      next_check = now + check_interval;
      py::gil_scoped_acquire gil;
      if (PyErr_CheckSignals() != 0) {
        interrupted = true;
        return wheelsoil::Progress::stop;
      }
      return wheelsoil::Progress::proceed;
    };
  }

  // Raises the signal's exception (held by the interpreter) if it stopped
  // the batch; called with the GIL held.
  void raise_if_interrupted() const {
    if (interrupted) throw py::error_already_set();
  }
};

// The batch options of a call.
wheelsoil::BatchOptions batch_options(unsigned threads, SignalWatch &watch) {
  wheelsoil::BatchOptions b;
  b.threads = threads;
  b.progress = watch.function();
  return b;
}

// The model options of the C interface's flag bits, each bit mapped here: a
// bit the library learns later must be added before this compiles again.
static_assert(WHEELSOIL_KNOWN_FLAGS ==
                  (WHEELSOIL_MATH_VECTOR | WHEELSOIL_DIRECTION_AWARE | WHEELSOIL_SPLIT_RULE),
              "options_of maps every known option bit");
wheelsoil::Options options_of(unsigned flags) {
  if ((flags & ~WHEELSOIL_KNOWN_FLAGS) != 0) throw wheelsoil::Error(WHEELSOIL_ERROR_FLAGS);
  wheelsoil::Options o;
  if ((flags & WHEELSOIL_MATH_VECTOR) != 0) o.math = wheelsoil::Math::vector;
  if ((flags & WHEELSOIL_SPLIT_RULE) != 0) o.rule = wheelsoil::Rule::split;
  o.direction_aware = (flags & WHEELSOIL_DIRECTION_AWARE) != 0;
  return o;
}

// talvor over the rows of an (N, 29) array: an (N, 18) array.
DoubleArray talvor_batch(const py::array &p, unsigned threads, unsigned flags) {
  const wheelsoil::InputView in = view_of(p, talvor_slots, "p");
  const wheelsoil::Options options = options_of(flags);
  DoubleArray out({static_cast<py::ssize_t>(in.count), py::ssize_t{18}});
  double *result = out.mutable_data();
  SignalWatch watch;
  {
    py::gil_scoped_release nogil;
    wheelsoil::talvor_batch(in, result, batch_options(threads, watch), options);
  }
  watch.raise_if_interrupted();
  return out;
}

// pindrel over the rows of an (N, 20) array: an (N,) array.
DoubleArray pindrel_batch(const py::array &q, unsigned threads, unsigned flags) {
  const wheelsoil::InputView in = view_of(q, pindrel_slots, "q");
  const wheelsoil::Options options = options_of(flags);
  DoubleArray out(static_cast<py::ssize_t>(in.count));
  double *result = out.mutable_data();
  SignalWatch watch;
  {
    py::gil_scoped_release nogil;
    wheelsoil::pindrel_batch(in, result, batch_options(threads, watch), options);
  }
  watch.raise_if_interrupted();
  return out;
}

// The contact of one talvor input (29 values) as a dict of arrays; with y and
// theta not empty, the rim stresses at (y[i], theta[j]) as (len(y), len(theta))
// arrays too.
py::dict talvor_contact(const std::vector<double> &p, const std::vector<double> &y,
                        const std::vector<double> &theta, unsigned flags) {
  if (p.size() != talvor_slots) throw py::value_error("p must have 29 values");
  wheelsoil::WheelSoilInput in;
  std::memcpy(&in, p.data(), sizeof in);
  const wheelsoil::Options options = options_of(flags);
  wheelsoil::Contact c;
  {
    py::gil_scoped_release nogil;
    c = wheelsoil::talvor_contact(in, y, theta, options);
  }
  const auto vector = [](const std::vector<double> &v) {
    return DoubleArray(static_cast<py::ssize_t>(v.size()), v.data());
  };
  const auto grid = [&](const std::vector<double> &v) {
    return DoubleArray({static_cast<py::ssize_t>(y.size()), static_cast<py::ssize_t>(theta.size())},
                       v.data());
  };
  py::dict d;
  d["slip_ratio"] = c.slip_ratio;
  d["y"] = vector(c.y);
  d["sinkage"] = vector(c.sinkage);
  d["entry_angle"] = vector(c.entry_angle);
  d["max_stress_angle"] = vector(c.max_stress_angle);
  d["exit_angle"] = vector(c.exit_angle);
  d["band_entry_angle"] = vector(c.band_entry_angle);
  d["band_max_stress_angle"] = vector(c.band_max_stress_angle);
  d["band_exit_angle"] = vector(c.band_exit_angle);
  d["side_sinkage_plus"] = c.side_sinkage_plus;
  d["side_sinkage_minus"] = c.side_sinkage_minus;
  d["profile_y"] = vector(c.profile_y);
  d["theta"] = vector(c.theta);
  d["normal_stress"] = grid(c.normal_stress);
  d["shear_stress_x"] = grid(c.shear_stress_x);
  d["shear_stress_y"] = grid(c.shear_stress_y);
  d["shear_displacement_x"] = grid(c.shear_displacement_x);
  d["shear_displacement_y"] = grid(c.shear_displacement_y);
  return d;
}

// The operating points of the rows of an (N, 29) array at loads[k] (one
// load, or one per row), as a dict of arrays.
py::dict equilibrium_batch(const py::array &p, const py::array &loads, unsigned threads,
                           unsigned flags, double tolerance, int max_iterations,
                           bool check_monotone, double accepted_tolerance) {
  const wheelsoil::InputView in = view_of(p, talvor_slots, "p");
  if (!py::isinstance<py::array_t<double>>(loads) || loads.dtype().kind() != 'f' ||
      loads.itemsize() != 8)
    throw py::type_error("load must be a float64 array");
  if (loads.ndim() != 1 || (loads.shape(0) != 1 && loads.shape(0) != p.shape(0)))
    throw py::value_error("load must have shape (1,) or (N,)");
  if (!aligned(loads.data()) || loads.strides(0) % 8 != 0)
    throw py::value_error("load must be aligned to whole float64 elements");
  const double *load_data = static_cast<const double *>(loads.data());
  const std::ptrdiff_t load_stride = loads.shape(0) == 1 ? 0 : loads.strides(0) / 8;

  wheelsoil::EquilibriumOptions eq;
  eq.tolerance = tolerance;
  eq.max_iterations = max_iterations;
  eq.check_monotone = check_monotone;
  eq.accepted_tolerance = accepted_tolerance;
  const wheelsoil::Options options = options_of(flags);

  std::vector<wheelsoil::EquilibriumResult> results(in.count);
  SignalWatch watch;
  {
    py::gil_scoped_release nogil;
    wheelsoil::solve_equilibrium_batch(in, load_data, load_stride, results.data(),
                                       batch_options(threads, watch), eq, options);
  }
  watch.raise_if_interrupted();

  const auto n = static_cast<py::ssize_t>(in.count);
  DoubleArray centre_height(n), sinkage(n), max_sinkage(n), vertical_load(n), residual(n);
  py::array_t<std::int32_t> status(n), iterations(n);
  py::array_t<bool> converged(n), monotone(n);
  DoubleArray out_loads({n, py::ssize_t{18}});
  py::list messages;
  for (py::ssize_t k = 0; k < n; ++k) {
    const wheelsoil::EquilibriumResult &r = results[static_cast<std::size_t>(k)];
    centre_height.mutable_at(k) = r.centre_height;
    sinkage.mutable_at(k) = r.sinkage;
    max_sinkage.mutable_at(k) = r.max_sinkage;
    vertical_load.mutable_at(k) = r.vertical_load;
    residual.mutable_at(k) = r.residual;
    status.mutable_at(k) = static_cast<std::int32_t>(r.status);
    iterations.mutable_at(k) = r.iterations;
    converged.mutable_at(k) = r.converged;
    monotone.mutable_at(k) = r.monotone;
    const double *l = reinterpret_cast<const double *>(&r.loads);
    for (py::ssize_t j = 0; j < 18; ++j) out_loads.mutable_at(k, j) = l[j];
    messages.append(r.message);
  }
  py::dict d;
  d["centre_height"] = centre_height;
  d["sinkage"] = sinkage;
  d["max_sinkage"] = max_sinkage;
  d["vertical_load"] = vertical_load;
  d["residual"] = residual;
  d["status"] = status;
  d["iterations"] = iterations;
  d["converged"] = converged;
  d["monotone"] = monotone;
  d["loads"] = out_loads;
  d["message"] = messages;
  return d;
}

// The slots of a table as a list of dicts, in slot order.
py::list slot_list(const wheelsoil::SlotTable &table) {
  static const char *const kinds[] = {"required", "fixed", "copy", "result"};
  py::list slots;
  for (const wheelsoil::Slot &s : table) {
    py::dict d;
    d["name"] = s.name;
    d["symbol"] = s.symbol;
    d["unit"] = s.unit;
    d["kind"] = kinds[static_cast<int>(s.kind)];
    d["default"] = s.value;
    d["copy_of"] = s.copy_of;
    d["meaning"] = s.meaning;
    d["range"] = s.range;
    slots.append(d);
  }
  return slots;
}

// The soil library as a list of dicts, published and SI values.
py::list soil_list() {
  py::list soils;
  for (const wheelsoil::Soil &s : wheelsoil::soils) {
    py::dict d;
    d["name"] = s.name;
    d["description"] = s.description;
    d["sinkage_exponent"] = s.sinkage_exponent;
    d["k_c_kn"] = s.k_c_kn;
    d["k_phi_kn"] = s.k_phi_kn;
    d["cohesion_kpa"] = s.cohesion_kpa;
    d["friction_angle_deg"] = s.friction_angle_deg;
    d["k_c"] = s.k_c();
    d["k_phi"] = s.k_phi();
    d["cohesion"] = s.cohesion();
    d["friction_angle"] = s.friction_angle();
    d["shear_modulus"] = s.shear_modulus;
    d["shear_modulus_typical"] = s.shear_modulus_typical;
    d["density"] = s.density;
    d["density_typical"] = s.density_typical;
    d["source"] = s.source;
    d["notes"] = s.notes;
    soils.append(d);
  }
  return soils;
}

#if WHEELSOIL_PYTHON_HAS_FIT
// The options every fit takes, from the keyword values of the package.
void set_fit_options(wheelsoil::FitOptions &o, const py::dict &options) {
  for (const auto &item : options) {
    const std::string key = py::str(item.first);
    if (key == "fixed")
      o.fixed = item.second.cast<std::map<std::string, double>>();
    else if (key == "start")
      o.start = item.second.cast<std::map<std::string, double>>();
    else if (key == "lower")
      o.lower = item.second.cast<std::map<std::string, double>>();
    else if (key == "upper")
      o.upper = item.second.cast<std::map<std::string, double>>();
    else if (key == "max_iterations")
      o.max_iterations = item.second.cast<int>();
    else if (key == "rank_tolerance")
      o.rank_tolerance = item.second.cast<double>();
  }
}

// A fit's result as a dict of plain values and arrays.
py::dict fit_dict(const wheelsoil::FitResult &r) {
  py::list parameters;
  for (const wheelsoil::FitParameter &p : r.parameters) {
    py::dict d;
    d["name"] = p.name;
    d["unit"] = p.unit;
    d["value"] = p.value;
    d["standard_error"] = p.standard_error;
    d["fitted"] = p.fitted;
    d["at_bound"] = p.at_bound;
    d["lower"] = p.lower;
    d["upper"] = p.upper;
    parameters.append(d);
  }
  py::list quantities;
  for (const wheelsoil::FitQuantity &q : r.quantities) {
    py::dict d;
    d["name"] = q.name;
    d["unit"] = q.unit;
    d["measured"] = DoubleArray(static_cast<py::ssize_t>(q.measured.size()), q.measured.data());
    d["fitted"] = DoubleArray(static_cast<py::ssize_t>(q.fitted.size()), q.fitted.data());
    d["residuals"] = DoubleArray(static_cast<py::ssize_t>(q.residuals.size()), q.residuals.data());
    d["observations"] = q.observations;
    d["sigma"] = q.sigma;
    d["rmse"] = q.rmse;
    d["r_squared"] = q.r_squared;
    quantities.append(d);
  }
  py::dict d;
  d["status"] = wheelsoil::status_name(r.status);
  d["message"] = r.message;
  d["parameters"] = parameters;
  d["undetermined"] = r.undetermined;
  d["quantities"] = quantities;
  d["correlation"] =
      DoubleArray(static_cast<py::ssize_t>(r.correlation.size()), r.correlation.data());
  d["observations"] = r.observations;
  d["degrees_of_freedom"] = r.degrees_of_freedom;
  d["residual_standard_error"] = r.residual_standard_error;
  d["condition_number"] = r.condition_number;
  d["iterations"] = r.iterations;
  return d;
}

// Plate-sinkage fit of 1-D columns.
py::dict fit_plate(std::vector<double> size, std::vector<double> sinkage,
                   std::vector<double> pressure, const py::dict &options) {
  wheelsoil::PlateData data{std::move(size), std::move(sinkage), std::move(pressure)};
  wheelsoil::FitOptions o;
  set_fit_options(o, options);
  wheelsoil::FitResult r;
  {
    py::gil_scoped_release nogil;
    r = wheelsoil::fit_plate(data, o);
  }
  return fit_dict(r);
}

// Shear fit of 1-D columns.
py::dict fit_shear(std::vector<double> normal_stress, std::vector<double> displacement,
                   std::vector<double> shear_stress, bool hump, const py::dict &options) {
  wheelsoil::ShearData data{std::move(normal_stress), std::move(displacement),
                            std::move(shear_stress)};
  wheelsoil::ShearFitOptions o;
  set_fit_options(o, options);
  o.hump = hump;
  wheelsoil::FitResult r;
  {
    py::gil_scoped_release nogil;
    r = wheelsoil::fit_shear(data, o);
  }
  return fit_dict(r);
}

// Single-wheel fit: columns (empty for a quantity not measured), the given
// talvor input and the fitted slot names.
py::dict fit_wheel(std::vector<double> slip, std::vector<double> load,
                   std::vector<double> drawbar_pull, std::vector<double> torque,
                   std::vector<double> sinkage, const std::vector<double> &given,
                   std::vector<std::string> parameters, std::map<std::string, double> sigma,
                   unsigned threads, const py::dict &options) {
  if (given.size() != 29) throw py::value_error("p must have 29 values");
  wheelsoil::WheelData data{std::move(slip), std::move(load), std::move(drawbar_pull),
                            std::move(torque), std::move(sinkage)};
  wheelsoil::WheelSoilInput in;
  std::memcpy(&in, given.data(), sizeof in);
  wheelsoil::WheelFitOptions o;
  set_fit_options(o, options);
  o.parameters = std::move(parameters);
  o.sigma = std::move(sigma);
  o.threads = threads;
  wheelsoil::FitResult r;
  {
    py::gil_scoped_release nogil;
    r = wheelsoil::fit_wheel(data, in, o);
  }
  return fit_dict(r);
}
#endif

// The Python exception of a refused call: wrong arguments are ValueErrors,
// a feature left out of the build NotImplementedError, the rest errors of
// their own kind.
void translate(const wheelsoil::Error &e) {
  switch (e.code()) {
    case WHEELSOIL_ERROR_NULL_POINTER:
    case WHEELSOIL_ERROR_SHORT_INPUT:
    case WHEELSOIL_ERROR_FLAGS:
    case WHEELSOIL_ERROR_THREADS:
    case WHEELSOIL_ERROR_VIEW:
    case WHEELSOIL_ERROR_OPTIONS: PyErr_SetString(PyExc_ValueError, e.what()); return;
    case WHEELSOIL_ERROR_OUT_OF_MEMORY: PyErr_SetString(PyExc_MemoryError, e.what()); return;
    case WHEELSOIL_ERROR_UNAVAILABLE: PyErr_SetString(PyExc_NotImplementedError, e.what()); return;
    default: PyErr_SetString(PyExc_RuntimeError, e.what()); return;
  }
}

}  // namespace wheelsoil_python

PYBIND11_MODULE(_core, m) {
  namespace wp = wheelsoil_python;
  m.doc() =
      "The compiled core of wheelsoil: batches over 2-D float64 arrays, the operating point "
      "and the tables. Use the functions of the wheelsoil package, which check and convert "
      "their arguments.";
  py::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const wheelsoil::Error &e) {
      wp::translate(e);
    }
  });

  m.def("talvor_batch", &wp::talvor_batch, py::arg("p"), py::arg("threads"), py::arg("flags"),
        "talvor over the rows of an (N, 29) float64 array (any strides): an (N, 18) array.");
  m.def("pindrel_batch", &wp::pindrel_batch, py::arg("q"), py::arg("threads"), py::arg("flags"),
        "pindrel over the rows of an (N, 20) float64 array (any strides): an (N,) array.");
  m.def("talvor_contact", &wp::talvor_contact, py::arg("p"), py::arg("y"), py::arg("theta"),
        py::arg("flags"),
        "The contact of one talvor input of 29 values: a dict of the geometry at the rule's 30 "
        "lateral positions and the stresses at (y[i], theta[j]), arrays (len(y), len(theta)).");
  m.def("equilibrium_batch", &wp::equilibrium_batch, py::arg("p"), py::arg("loads"),
        py::arg("threads"), py::arg("flags"), py::arg("tolerance"), py::arg("max_iterations"),
        py::arg("check_monotone"), py::arg("accepted_tolerance"),
        "Operating points of the rows of an (N, 29) float64 array at loads of shape (1,) or "
        "(N,): a dict of arrays and the list of messages.");
  m.def(
      "slots",
      [](const std::string &layout) {
        if (layout == "talvor_input") return wp::slot_list(wheelsoil::talvor_input_slots);
        if (layout == "talvor_output") return wp::slot_list(wheelsoil::talvor_output_slots);
        if (layout == "pindrel_input") return wp::slot_list(wheelsoil::pindrel_input_slots);
        if (layout == "pindrel_output") return wp::slot_list(wheelsoil::pindrel_output_slots);
        throw py::value_error("unknown slot table '" + layout + "'");
      },
      py::arg("layout"), "The slots of a table as dicts, in slot order.");
  m.def("soils", &wp::soil_list, "The soil library as dicts, in the library's order.");
  m.def("version", &wheelsoil::version, "The library's version, MAJOR.MINOR.PATCH.");

#if WHEELSOIL_PYTHON_HAS_FIT
  m.def("fit_plate", &wp::fit_plate, py::arg("size"), py::arg("sinkage"), py::arg("pressure"),
        py::arg("options"), "Plate-sinkage fit: a dict of the result.");
  m.def("fit_shear", &wp::fit_shear, py::arg("normal_stress"), py::arg("displacement"),
        py::arg("shear_stress"), py::arg("hump"), py::arg("options"),
        "Shear fit: a dict of the result.");
  m.def("fit_wheel", &wp::fit_wheel, py::arg("slip"), py::arg("load"), py::arg("drawbar_pull"),
        py::arg("torque"), py::arg("sinkage"), py::arg("given"), py::arg("parameters"),
        py::arg("sigma"), py::arg("threads"), py::arg("options"),
        "Single-wheel fit: a dict of the result.");
#endif
  m.attr("HAS_FIT") = py::bool_(WHEELSOIL_PYTHON_HAS_FIT != 0);
  m.attr("MATH_VECTOR") = WHEELSOIL_MATH_VECTOR;
  m.attr("DIRECTION_AWARE") = WHEELSOIL_DIRECTION_AWARE;
  m.attr("SPLIT_RULE") = WHEELSOIL_SPLIT_RULE;
  m.attr("MAX_THREADS") = WHEELSOIL_MAX_THREADS;
  m.attr("HAS_EQUILIBRIUM") = py::bool_(WHEELSOIL_PYTHON_HAS_EQUILIBRIUM != 0);
  m.attr("STATUS_NAMES") = py::make_tuple("converged", "invalid_load", "invalid_wheel",
                                          "load_not_carried", "non_finite_loads", "not_converged");
}
