// The two models from C++: one evaluation, or a batch over many input vectors
// on several threads. A thin inline layer over the C interface (wheelsoil.h):
// every call is reentrant, gives the bits of talvor(p) and pindrel(p), and
// reports a refused argument as a wheelsoil::Error.
#ifndef WHEELSOIL_MODELS_HPP
#define WHEELSOIL_MODELS_HPP

#include <cstddef>
#include <exception>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <vector>

#include "records.hpp"
#include "wheelsoil.h"

namespace wheelsoil {

// A call the library refused (or could not finish): code() is the C
// interface's wheelsoil_status, what() its message.
class Error : public std::runtime_error {
 public:
  explicit Error(int code) : std::runtime_error(wheelsoil_error_message(code)), code_(code) {}
  int code() const noexcept { return code_; }

 private:
  int code_;
};

// The arithmetic of an evaluation.
enum class Math {
  standard,  // the documented grouping of every expression: the bits of talvor(p)
  vector,    // talvor only: SLEEF's deterministic vector functions, the same bits on every
             // x86-64 machine, within 1e-11 of standard (relative to the largest load);
             // Error(WHEELSOIL_ERROR_UNAVAILABLE) where not built in, WHEELSOIL_ERROR_FLAGS
             // for pindrel and the operating point
};

// How talvor integrates the rim's stresses.
enum class Rule {
  fixed,  // the documented 30 x 30 rule: the bits of talvor(p)
  split,  // talvor only: each strip split at its maximum-stress angles (see wheelsoil.h,
          // WHEELSOIL_SPLIT_RULE); within about 1e-7 of the exact integral, smooth in
          // the slip; not with Math::vector (Error(WHEELSOIL_ERROR_FLAGS))
};

// What to evaluate. Value-initialised it asks for the documented model.
struct Options {
  Math math = Math::standard;
  Rule rule = Rule::fixed;
  // talvor only: a wheel travelling in -x (vx < 0, or vx = +-0 and wy < 0)
  // gets the mirrored loads of the same wheel travelling forward (see
  // wheelsoil.h, WHEELSOIL_DIRECTION_AWARE)
  bool direction_aware = false;
};

// Input vectors in memory: vector k, slot j is
// data[k * vector_stride + j * slot_stride] (strides in doubles, either sign;
// a vector stride of 0 repeats one vector).
struct InputView {
  const double *data = nullptr;
  std::size_t count = 0;
  std::ptrdiff_t vector_stride = 0;
  std::ptrdiff_t slot_stride = 1;
};

// count vectors of `slots` values one after another: a row-major count x slots
// array (numpy's C order), or MATLAB's slots x count matrix.
inline InputView packed(const double *data, std::size_t count, std::size_t slots) {
  return {data, count, static_cast<std::ptrdiff_t>(slots), 1};
}

// Slot j of vector k at data[j * count + k]: a column-major count x slots
// array (numpy's Fortran order, MATLAB's count x slots matrix).
inline InputView slot_major(const double *data, std::size_t count) {
  return {data, count, 1, static_cast<std::ptrdiff_t>(count)};
}

// Records one after another.
inline InputView packed(const WheelSoilInput *records, std::size_t count) {
  return packed(reinterpret_cast<const double *>(records), count, 29);
}
inline InputView packed(const LoadModelInput *records, std::size_t count) {
  return packed(reinterpret_cast<const double *>(records), count, 20);
}

// What a progress function tells a batch.
enum class Progress { proceed, stop };

// Called between blocks of a batch, on the thread that called the batch, with
// the items finished so far and the total. It may throw: the batch stops and
// the exception reaches the caller.
using ProgressFunction = std::function<Progress(std::size_t done, std::size_t total)>;

// How a batch runs. The bits never depend on it.
struct BatchOptions {
  unsigned threads = 0;       // 0: one per hardware thread; at most WHEELSOIL_MAX_THREADS
  ProgressFunction progress;  // optional
};

// How far a batch got: all items, or (stopped) the items [0, done).
struct BatchResult {
  std::size_t done = 0;
  bool stopped = false;
};

namespace detail {

// The C interface's option bits for options.
inline unsigned flags_of(const Options &options) {
  unsigned flags = WHEELSOIL_DEFAULTS;
  switch (options.math) {
    case Math::standard: break;
    case Math::vector: flags |= WHEELSOIL_MATH_VECTOR; break;
  }
  if (options.rule == Rule::split) flags |= WHEELSOIL_SPLIT_RULE;
  if (options.direction_aware) flags |= WHEELSOIL_DIRECTION_AWARE;
  return flags;
}

// Throws Error(code) for any status but WHEELSOIL_OK.
inline void check(int code) {
  if (code != WHEELSOIL_OK) throw Error(code);
}

// Carries a ProgressFunction through the C interface's callback, and any
// exception it throws back out.
struct ProgressBridge {
  explicit ProgressBridge(const ProgressFunction &function) : fn(&function) {}
  const ProgressFunction *fn;
  std::exception_ptr error;

  // The C callback, or NULL without a progress function.
  wheelsoil_progress callback() const { return *fn ? &ProgressBridge::call : nullptr; }

  // The progress function's answer as the C interface wants it; an
  // exception is kept for finish() and stops the batch.
  static int call(void *context, std::size_t done, std::size_t total) noexcept {
    auto *bridge = static_cast<ProgressBridge *>(context);
    try {
      return (*bridge->fn)(done, total) == Progress::stop ? 1 : 0;
    } catch (...) {
      bridge->error = std::current_exception();
      return 1;
    }
  }

  // The batch's result from its status: the kept exception first.
  BatchResult finish(int code, std::size_t done) const {
    if (error) std::rethrow_exception(error);
    if (code == WHEELSOIL_STOPPED) return {done, true};
    check(code);
    return {done, false};
  }
};

}  // namespace detail

// The version of the library, "MAJOR.MINOR.PATCH".
inline const char *version() { return wheelsoil_version(); }

// talvor: the 18 loads of one input.
inline WheelSoilOutput talvor(const WheelSoilInput &input, const Options &options = {}) {
  WheelSoilOutput out;
  detail::check(wheelsoil_talvor_ex(reinterpret_cast<const double *>(&input), 29,
                                    reinterpret_cast<double *>(&out), detail::flags_of(options)));
  return out;
}

// The contact of one talvor input: the geometry at the 30 lateral positions
// of the rim rule and, at the lateral positions y and angles theta the caller
// chooses, the rim stresses along theta. Angles in rad from the downward
// vertical, positive forward.
struct Contact {
  static constexpr std::size_t strips = WHEELSOIL_CONTACT_STRIPS;
  double slip_ratio = 0;  // s, 2 where undefined
  // per lateral position of the rim rule, from +b/2 towards -b/2
  std::vector<double> y, sinkage;                                 // m
  std::vector<double> entry_angle, max_stress_angle, exit_angle;  // outer surface
  std::vector<double> band_entry_angle, band_max_stress_angle, band_exit_angle;
  double side_sinkage_plus = 0, side_sinkage_minus = 0;  // at y = +-b/2 (m)
  // the profile: value (i, j) at (profile_y[i], theta[j]), index i * theta.size() + j
  std::vector<double> profile_y, theta;
  std::vector<double> normal_stress, shear_stress_x, shear_stress_y;  // Pa
  std::vector<double> shear_displacement_x, shear_displacement_y;     // m
  std::size_t index(std::size_t i, std::size_t j) const { return i * theta.size() + j; }
};

// The contact of input; options: direction_aware mirrors a wheel travelling in
// -x (angles, tau_x and j_x negated back), rule is ignored, Math::vector is
// refused.
inline Contact talvor_contact(const WheelSoilInput &input,
                              const std::vector<double> &profile_y = {},
                              const std::vector<double> &theta = {}, const Options &options = {}) {
  Contact c;
  const std::size_t n = profile_y.size() * theta.size();
  c.profile_y = profile_y;
  c.theta = theta;
  for (std::vector<double> *v : {&c.normal_stress, &c.shear_stress_x, &c.shear_stress_y,
                                 &c.shear_displacement_x, &c.shear_displacement_y})
    v->resize(n);
  const wheelsoil_stress_profile profile{c.normal_stress.data(), c.shear_stress_x.data(),
                                         c.shear_stress_y.data(), c.shear_displacement_x.data(),
                                         c.shear_displacement_y.data()};
  wheelsoil_contact g;
  detail::check(wheelsoil_talvor_contact(reinterpret_cast<const double *>(&input), 29,
                                         detail::flags_of(options), &g, profile_y.data(),
                                         profile_y.size(), theta.data(), theta.size(), &profile));
  c.slip_ratio = g.slip_ratio;
  const auto take = [](const double(&a)[WHEELSOIL_CONTACT_STRIPS]) {
    return std::vector<double>(a, a + WHEELSOIL_CONTACT_STRIPS);
  };
  c.y = take(g.y);
  c.sinkage = take(g.sinkage);
  c.entry_angle = take(g.entry_angle);
  c.max_stress_angle = take(g.max_stress_angle);
  c.exit_angle = take(g.exit_angle);
  c.band_entry_angle = take(g.band_entry_angle);
  c.band_max_stress_angle = take(g.band_max_stress_angle);
  c.band_exit_angle = take(g.band_exit_angle);
  c.side_sinkage_plus = g.side_sinkage_plus;
  c.side_sinkage_minus = g.side_sinkage_minus;
  return c;
}

// pindrel: the vertical load of one input (N).
inline double pindrel(const LoadModelInput &input, const Options &options = {}) {
  double load = 0;
  detail::check(wheelsoil_pindrel_ex(reinterpret_cast<const double *>(&input), 20, &load,
                                     detail::flags_of(options)));
  return load;
}

// talvor over the vectors of `in`: output[18k .. 18k+17] for vector k.
inline BatchResult talvor_batch(const InputView &in, double *output, const BatchOptions &batch = {},
                                const Options &options = {}) {
  detail::ProgressBridge bridge(batch.progress);
  std::size_t done = 0;
  const int code = wheelsoil_talvor_batch_ex(in.data, in.count, in.vector_stride, in.slot_stride,
                                             output, batch.threads, detail::flags_of(options),
                                             bridge.callback(), &bridge, &done);
  return bridge.finish(code, done);
}

// pindrel over the vectors of `in`: output[k] for vector k.
inline BatchResult pindrel_batch(const InputView &in, double *output,
                                 const BatchOptions &batch = {}, const Options &options = {}) {
  detail::ProgressBridge bridge(batch.progress);
  std::size_t done = 0;
  const int code = wheelsoil_pindrel_batch_ex(in.data, in.count, in.vector_stride, in.slot_stride,
                                              output, batch.threads, detail::flags_of(options),
                                              bridge.callback(), &bridge, &done);
  return bridge.finish(code, done);
}

// talvor over records; a stopped batch returns the results it finished.
inline std::vector<WheelSoilOutput> talvor_batch(const std::vector<WheelSoilInput> &inputs,
                                                 const BatchOptions &batch = {},
                                                 const Options &options = {}) {
  std::vector<WheelSoilOutput> out(inputs.size());
  const BatchResult r = talvor_batch(packed(inputs.data(), inputs.size()),
                                     reinterpret_cast<double *>(out.data()), batch, options);
  out.resize(r.done);
  return out;
}

// pindrel over records; a stopped batch returns the results it finished.
inline std::vector<double> pindrel_batch(const std::vector<LoadModelInput> &inputs,
                                         const BatchOptions &batch = {},
                                         const Options &options = {}) {
  std::vector<double> out(inputs.size());
  const BatchResult r =
      pindrel_batch(packed(inputs.data(), inputs.size()), out.data(), batch, options);
  out.resize(r.done);
  return out;
}

}  // namespace wheelsoil

#endif
