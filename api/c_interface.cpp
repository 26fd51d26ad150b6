// The C interface (wheelsoil.h): argument checks, then the models' reentrant
// paths (a state of its own per evaluation) through the one batch runner.
// Nothing thrown inside leaves a function: it becomes a status code.
#include "strict_fp.h"

#include <wheelsoil/version.h>
#include <wheelsoil/wheelsoil.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include "batch_runner.h"
#include "contact_diagnostics.h"
#include "evaluation_modes.h"
#include "load_integral.h"
#include "vector_loads.h"
#include "load_model.h"
#include "wheel_soil_model.h"
#if WHEELSOIL_HAS_EQUILIBRIUM
#include "wheel_equilibrium.h"
#endif

namespace wheelsoil::detail {
namespace {

static_assert(WHEELSOIL_TALVOR_INPUTS == 29 && WHEELSOIL_TALVOR_OUTPUTS == 18 &&
                  WHEELSOIL_PINDREL_INPUTS == 20,
              "slot counts");
static_assert(WHEELSOIL_MAX_THREADS == max_batch_threads, "one thread limit");

// Runs f, turning anything thrown into a status.
template <class F>
int guarded(F &&f) noexcept {
  try {
    return f();
  } catch (const std::bad_alloc &) {
    return WHEELSOIL_ERROR_OUT_OF_MEMORY;
  } catch (...) {
    return WHEELSOIL_ERROR_INTERNAL;
  }
}

// WHEELSOIL_ERROR_FLAGS if flags holds a bit this version does not know, or
// one the model does not take (every option bit is talvor's alone).
int check_flags(unsigned flags) { return flags ? WHEELSOIL_ERROR_FLAGS : WHEELSOIL_OK; }

// check_flags for talvor: the vector maths where it is built in, but not
// with the split rule.
int check_talvor_flags(unsigned flags) {
  if (flags & ~WHEELSOIL_KNOWN_FLAGS) return WHEELSOIL_ERROR_FLAGS;
  if ((flags & WHEELSOIL_MATH_VECTOR) && (flags & WHEELSOIL_SPLIT_RULE))
    return WHEELSOIL_ERROR_FLAGS;
  if ((flags & WHEELSOIL_MATH_VECTOR) && !full_model::vector_math_available())
    return WHEELSOIL_ERROR_UNAVAILABLE;
  return WHEELSOIL_OK;
}

// The evaluation mode flags ask for.
full_model::EvaluationMode mode_of(unsigned flags) {
  full_model::EvaluationMode mode;
  if (flags & WHEELSOIL_MATH_VECTOR) mode.math = full_model::MathFunctions::vector;
  mode.split_rule = (flags & WHEELSOIL_SPLIT_RULE) != 0;
  mode.direction_aware = (flags & WHEELSOIL_DIRECTION_AWARE) != 0;
  return mode;
}

// Input vectors at data[k * vector_stride + j * slot_stride], `slots` each.
struct View {
  const double *data;
  std::size_t count;
  std::ptrdiff_t vector_stride, slot_stride;

  // Copies vector k into the record r of `slots` doubles.
  template <class Record>
  void gather(std::size_t k, Record *r) const {
    constexpr std::size_t slots = sizeof(Record) / sizeof(double);
    const double *v = data + static_cast<std::ptrdiff_t>(k) * vector_stride;
    if (slot_stride == 1) {
      std::memcpy(r, v, sizeof *r);
    } else {
      double values[slots];
      for (std::size_t j = 0; j < slots; ++j)
        values[j] = v[static_cast<std::ptrdiff_t>(j) * slot_stride];
      std::memcpy(r, values, sizeof *r);
    }
  }
};

// |stride| * n, or SIZE_MAX when it does not fit in a ptrdiff_t.
std::size_t span(std::ptrdiff_t stride, std::size_t n) {
  if (stride == PTRDIFF_MIN) return SIZE_MAX;
  const std::size_t s = static_cast<std::size_t>(stride < 0 ? -stride : stride);
  if (n != 0 && s > static_cast<std::size_t>(PTRDIFF_MAX) / n) return SIZE_MAX;
  return s * n;
}

// The checks every batch makes of its view, output and thread count: the
// farthest element of the view must be addressable from its first.
int check_batch(const View &in, std::size_t slots, const void *output, unsigned threads) {
  if (in.count > 0 && (!in.data || !output)) return WHEELSOIL_ERROR_NULL_POINTER;
  if (threads > WHEELSOIL_MAX_THREADS) return WHEELSOIL_ERROR_THREADS;
  if (in.count == 0) return WHEELSOIL_OK;
  const std::size_t limit = static_cast<std::size_t>(PTRDIFF_MAX) / sizeof(double);
  const std::size_t across = span(in.vector_stride, in.count - 1);
  const std::size_t along = span(in.slot_stride, slots - 1);
  if (across > limit || along > limit - across) return WHEELSOIL_ERROR_VIEW;
  return WHEELSOIL_OK;
}

// The runner's hook for the C progress function (none when it is NULL).
BatchHook hook_of(wheelsoil_progress progress, void *context) {
  BatchHook hook;
  hook.function = progress;
  hook.context = context;
  return hook;
}

// *done and the status of a batch that ran.
int batch_status(const BatchOutcome &outcome, std::size_t *done) {
  if (done) *done = outcome.done;
  return outcome.stopped ? WHEELSOIL_STOPPED : WHEELSOIL_OK;
}

// One talvor evaluation on a state of its own, with the functions flags ask for.
void talvor_one(const WheelSoilInput &in, double *output, unsigned flags) {
  WheelSoilOutput out{};
  if (flags == WHEELSOIL_DEFAULTS) {
    full_model::evaluate(full_model::make_state(in), &out);
  } else if (flags == WHEELSOIL_MATH_VECTOR) {
    full_model::vector_loads(full_model::make_state(in), &out);
  } else {
    full_model::evaluate_input(in, mode_of(flags), &out);
  }
  std::memcpy(output, &out, sizeof out);
}

// One pindrel evaluation on a state of its own.
double pindrel_one(const LoadModelInput &in) {
  return load_model::evaluate(load_model::make_state(in));
}

#if WHEELSOIL_HAS_EQUILIBRIUM
// The solver's options from the C ones (NULL: the defaults), or
// WHEELSOIL_ERROR_OPTIONS.
int check_options(const wheelsoil_equilibrium_options *options,
                  equilibrium::EquilibriumOptions *out) {
  if (!options) return WHEELSOIL_OK;
  if (!(std::isfinite(options->tolerance) && options->tolerance >= 0) ||
      !(std::isfinite(options->accepted_tolerance) &&
        options->accepted_tolerance >= options->tolerance) ||
      options->max_iterations < 1)
    return WHEELSOIL_ERROR_OPTIONS;
  out->tolerance = options->tolerance;
  out->accepted_tolerance = options->accepted_tolerance;
  out->max_iterations = options->max_iterations;
  out->check_monotone = options->check_monotone != 0;
  return WHEELSOIL_OK;
}

// The C record of a solve; the message truncated to the record's room.
void to_c(const equilibrium::EquilibriumResult &r, wheelsoil_equilibrium_result *c) {
  c->status = static_cast<int>(r.status);
  c->converged = r.converged ? 1 : 0;
  c->monotone = r.monotone ? 1 : 0;
  c->iterations = r.iterations;
  c->centre_height = r.centre_height;
  c->sinkage = r.sinkage;
  c->max_sinkage = r.max_sinkage;
  c->vertical_load = r.vertical_load;
  c->residual = r.residual;
  std::memcpy(c->loads, &r.loads, sizeof c->loads);
  std::snprintf(c->message, sizeof c->message, "%s", r.message.c_str());
}
#endif

}  // namespace
}  // namespace wheelsoil::detail

using namespace wheelsoil;
using namespace wheelsoil::detail;

extern "C" {

const char *wheelsoil_version(void) { return WHEELSOIL_VERSION_STRING; }

const char *wheelsoil_error_message(int code) {
  switch (code) {
    case WHEELSOIL_OK: return "no error";
    case WHEELSOIL_ERROR_NULL_POINTER: return "a pointer the call needs is NULL";
    case WHEELSOIL_ERROR_SHORT_INPUT:
      return "the input holds fewer values than the model reads (29 for talvor, 20 for pindrel)";
    case WHEELSOIL_ERROR_FLAGS:
      return "flags holds an option bit this library does not know or this function does not "
             "take, or a combination it does not offer (the split rule with the vector maths)";
    case WHEELSOIL_ERROR_THREADS: return "the thread count is above 1024";
    case WHEELSOIL_ERROR_VIEW:
      return "the input view reaches beyond the address space (strides too large for its count)";
    case WHEELSOIL_ERROR_OPTIONS:
      return "an operating-point option is out of range (tolerance must be finite and at least "
             "0, accepted_tolerance finite and at least tolerance, max_iterations at least 1)";
    case WHEELSOIL_ERROR_OUT_OF_MEMORY: return "out of memory; the outputs are incomplete";
    case WHEELSOIL_ERROR_UNAVAILABLE:
      return "not built into this library: the operating point (built without Boost) or the "
             "vector maths (built without SLEEF, or not for x86-64)";
    case WHEELSOIL_ERROR_INTERNAL: return "internal error; the outputs are incomplete";
    case WHEELSOIL_STOPPED: return "the batch was stopped by its progress function";
    default: return "unknown wheelsoil status code";
  }
}

int wheelsoil_talvor(const double *input, size_t n_input, double *output) {
  return wheelsoil_talvor_ex(input, n_input, output, WHEELSOIL_DEFAULTS);
}

int wheelsoil_talvor_ex(const double *input, size_t n_input, double *output, unsigned flags) {
  if (!input || !output) return WHEELSOIL_ERROR_NULL_POINTER;
  if (n_input < WHEELSOIL_TALVOR_INPUTS) return WHEELSOIL_ERROR_SHORT_INPUT;
  if (const int e = check_talvor_flags(flags)) return e;
  return guarded([&] {
    WheelSoilInput in;
    std::memcpy(&in, input, sizeof in);
    talvor_one(in, output, flags);
    return WHEELSOIL_OK;
  });
}

int wheelsoil_talvor_contact(const double *input, size_t n_input, unsigned flags,
                             wheelsoil_contact *contact, const double *y, size_t n_y,
                             const double *theta, size_t n_theta,
                             const wheelsoil_stress_profile *profile) {
  if (!input) return WHEELSOIL_ERROR_NULL_POINTER;
  if (n_input < WHEELSOIL_TALVOR_INPUTS) return WHEELSOIL_ERROR_SHORT_INPUT;
  if (flags & ~(WHEELSOIL_DIRECTION_AWARE | WHEELSOIL_SPLIT_RULE)) return WHEELSOIL_ERROR_FLAGS;
  if (profile) {
    if ((n_y > 0 && !y) || (n_theta > 0 && !theta)) return WHEELSOIL_ERROR_NULL_POINTER;
    if (n_theta != 0 && n_y > SIZE_MAX / sizeof(double) / n_theta) return WHEELSOIL_ERROR_VIEW;
  }
  static_assert(sizeof(wheelsoil_contact) == sizeof(full_model::ContactGeometry), "one layout");
  const bool direction_aware = (flags & WHEELSOIL_DIRECTION_AWARE) != 0;
  return guarded([&] {
    WheelSoilInput in;
    std::memcpy(&in, input, sizeof in);
    if (contact) {
      full_model::ContactGeometry g;
      full_model::contact_geometry(in, direction_aware, &g);
      std::memcpy(contact, &g, sizeof g);
    }
    if (profile) {
      const full_model::StressProfileOut out{profile->normal_stress, profile->shear_stress_x,
                                             profile->shear_stress_y, profile->shear_displacement_x,
                                             profile->shear_displacement_y};
      full_model::stress_profile(in, direction_aware, y, n_y, theta, n_theta, out);
    }
    return WHEELSOIL_OK;
  });
}

int wheelsoil_pindrel(const double *input, size_t n_input, double *load) {
  return wheelsoil_pindrel_ex(input, n_input, load, WHEELSOIL_DEFAULTS);
}

int wheelsoil_pindrel_ex(const double *input, size_t n_input, double *load, unsigned flags) {
  if (!input || !load) return WHEELSOIL_ERROR_NULL_POINTER;
  if (n_input < WHEELSOIL_PINDREL_INPUTS) return WHEELSOIL_ERROR_SHORT_INPUT;
  if (const int e = check_flags(flags)) return e;
  return guarded([&] {
    LoadModelInput in;
    std::memcpy(&in, input, sizeof in);
    *load = pindrel_one(in);
    return WHEELSOIL_OK;
  });
}

int wheelsoil_talvor_batch(const double *input, size_t count, double *output, unsigned threads) {
  return wheelsoil_talvor_batch_ex(input, count, WHEELSOIL_TALVOR_INPUTS, 1, output, threads,
                                   WHEELSOIL_DEFAULTS, nullptr, nullptr, nullptr);
}

int wheelsoil_pindrel_batch(const double *input, size_t count, double *output, unsigned threads) {
  return wheelsoil_pindrel_batch_ex(input, count, WHEELSOIL_PINDREL_INPUTS, 1, output, threads,
                                    WHEELSOIL_DEFAULTS, nullptr, nullptr, nullptr);
}

int wheelsoil_talvor_batch_ex(const double *input, size_t count, ptrdiff_t vector_stride,
                              ptrdiff_t slot_stride, double *output, unsigned threads,
                              unsigned flags, wheelsoil_progress progress, void *context,
                              size_t *done) {
  if (done) *done = 0;
  const View in{input, count, vector_stride, slot_stride};
  if (const int e = check_batch(in, WHEELSOIL_TALVOR_INPUTS, output, threads)) return e;
  if (const int e = check_talvor_flags(flags)) return e;
  return guarded([&] {
    const BatchOutcome outcome = run_batch(
        count, threads, talvor_block,
        [&in, output, flags](std::size_t begin, std::size_t end) {
          for (std::size_t k = begin; k < end; ++k) {
            WheelSoilInput record;
            in.gather(k, &record);
            talvor_one(record, output + WHEELSOIL_TALVOR_OUTPUTS * k, flags);
          }
        },
        hook_of(progress, context));
    return batch_status(outcome, done);
  });
}

int wheelsoil_pindrel_batch_ex(const double *input, size_t count, ptrdiff_t vector_stride,
                               ptrdiff_t slot_stride, double *output, unsigned threads,
                               unsigned flags, wheelsoil_progress progress, void *context,
                               size_t *done) {
  if (done) *done = 0;
  const View in{input, count, vector_stride, slot_stride};
  if (const int e = check_batch(in, WHEELSOIL_PINDREL_INPUTS, output, threads)) return e;
  if (const int e = check_flags(flags)) return e;
  return guarded([&] {
    const BatchOutcome outcome = run_batch(
        count, threads, pindrel_block,
        [&in, output](std::size_t begin, std::size_t end) {
          for (std::size_t k = begin; k < end; ++k) {
            LoadModelInput record;
            in.gather(k, &record);
            output[k] = pindrel_one(record);
          }
        },
        hook_of(progress, context));
    return batch_status(outcome, done);
  });
}

wheelsoil_equilibrium_options wheelsoil_equilibrium_defaults(void) { return {1e-10, 100, 1, 1e-6}; }

int wheelsoil_equilibrium(const double *input, size_t n_input, double load,
                          wheelsoil_equilibrium_result *result) {
  return wheelsoil_equilibrium_ex(input, n_input, load, nullptr, WHEELSOIL_DEFAULTS, result);
}

int wheelsoil_equilibrium_ex(const double *input, size_t n_input, double load,
                             const wheelsoil_equilibrium_options *options, unsigned flags,
                             wheelsoil_equilibrium_result *result) {
  if (!input || !result) return WHEELSOIL_ERROR_NULL_POINTER;
  if (n_input < WHEELSOIL_TALVOR_INPUTS) return WHEELSOIL_ERROR_SHORT_INPUT;
  if (const int e = check_flags(flags)) return e;
#if WHEELSOIL_HAS_EQUILIBRIUM
  equilibrium::EquilibriumOptions o;
  if (const int e = check_options(options, &o)) return e;
  return guarded([&] {
    WheelSoilInput in;
    std::memcpy(&in, input, sizeof in);
    to_c(equilibrium::solve_equilibrium(in, load, o), result);
    return WHEELSOIL_OK;
  });
#else
  (void)load;
  (void)options;
  return WHEELSOIL_ERROR_UNAVAILABLE;
#endif
}

int wheelsoil_equilibrium_batch(const double *input, size_t count, ptrdiff_t vector_stride,
                                ptrdiff_t slot_stride, const double *loads, ptrdiff_t load_stride,
                                const wheelsoil_equilibrium_options *options, unsigned threads,
                                unsigned flags, wheelsoil_progress progress, void *context,
                                wheelsoil_equilibrium_result *results, size_t *done) {
  if (done) *done = 0;
  const View in{input, count, vector_stride, slot_stride};
  if (const int e = check_batch(in, WHEELSOIL_TALVOR_INPUTS, results, threads)) return e;
  if (count > 0 && !loads) return WHEELSOIL_ERROR_NULL_POINTER;
  if (count > 0 && span(load_stride, count - 1) > PTRDIFF_MAX / sizeof(double))
    return WHEELSOIL_ERROR_VIEW;
  if (const int e = check_flags(flags)) return e;
#if WHEELSOIL_HAS_EQUILIBRIUM
  equilibrium::EquilibriumOptions o;
  if (const int e = check_options(options, &o)) return e;
  return guarded([&] {
    const BatchOutcome outcome = run_batch(
        count, threads, equilibrium_block,
        [&](std::size_t begin, std::size_t end) {
          for (std::size_t k = begin; k < end; ++k) {
            WheelSoilInput record;
            in.gather(k, &record);
            const double w = loads[static_cast<std::ptrdiff_t>(k) * load_stride];
            to_c(equilibrium::solve_equilibrium(record, w, o), &results[k]);
          }
        },
        hook_of(progress, context));
    return batch_status(outcome, done);
  });
#else
  (void)progress;
  (void)context;
  (void)options;
  return WHEELSOIL_ERROR_UNAVAILABLE;
#endif
}

}  // extern "C"
