// wheelsoil talvor [--math standard|vector] [--rule fixed|split]
// [--direction-aware] [FILE]: the full model, 29 inputs and 18 loads a vector.
#include <wheelsoil/wheelsoil.h>

#include "command.h"
#include "model_command.h"
#include "slot_tables.h"

namespace wheelsoil::detail::cli {
namespace {

// talvor with the vector maths, one vector and many (the checks were made).
void talvor_vector(double *out, const double *in) {
  wheelsoil_talvor_ex(in, 29, out, WHEELSOIL_MATH_VECTOR);
}
int talvor_vector_batch(const double *inputs, double *outputs, std::size_t count, unsigned threads,
                        wheelsoil_progress progress, void *context, std::size_t *done) {
  return wheelsoil_talvor_batch_ex(inputs, count, 29, 1, outputs, threads, WHEELSOIL_MATH_VECTOR,
                                   progress, context, done);
}

// talvor with the option bits of --rule and --direction-aware (and --math).
unsigned talvor_flags = WHEELSOIL_DEFAULTS;
void talvor_flagged(double *out, const double *in) {
  wheelsoil_talvor_ex(in, 29, out, talvor_flags);
}
int talvor_flagged_batch(const double *inputs, double *outputs, std::size_t count, unsigned threads,
                         wheelsoil_progress progress, void *context, std::size_t *done) {
  return wheelsoil_talvor_batch_ex(inputs, count, 29, 1, outputs, threads, talvor_flags, progress,
                                   context, done);
}

// Whether this library has the vector maths.
bool vector_math_built() {
  const double in[29] = {};
  double out[18];
  return wheelsoil_talvor_ex(in, 29, out, WHEELSOIL_MATH_VECTOR) != WHEELSOIL_ERROR_UNAVAILABLE;
}

class TalvorCommand : public Command {
 public:
  void define(CLI::App &app) override {
    add_value_option(app, "--math", "M", "standard or vector",
                     "talvor's elementary functions: standard (the default, the C library's, the "
                     "documented bits) or vector (SLEEF's deterministic vector functions: several "
                     "times faster, the same bits on every x86-64 machine, within 1e-11 of "
                     "standard relative to the largest load)",
                     [this](const std::string &v) {
                       if (v != "standard" && v != "vector") return false;
                       vector_math_ = v == "vector";
                       return true;
                     });
    add_value_option(app, "--rule", "R", "fixed or split",
                     "how talvor integrates the rim: fixed (the default, the documented 30 x 30 "
                     "rule) or split (each strip split at its maximum-stress angles: within "
                     "about 1e-7 of the exact integral and smooth in the slip; not with --math "
                     "vector)",
                     [this](const std::string &v) {
                       if (v != "fixed" && v != "split") return false;
                       split_rule_ = v == "split";
                       return true;
                     });
    app.add_flag("--direction-aware", direction_aware_,
                 "a wheel travelling in -x (vx < 0, or vx = 0 and wy < 0) is evaluated in the "
                 "mirrored frame: the mirrored loads of the same wheel travelling forward");
    add_file_argument(app, &file_);
    app.footer(slots_help(talvor_table));
  }

  int run(Context &context) override {
    ModelTable model = talvor_table;
    if (vector_math_) {
      if (!vector_math_built())
        return usage_error(context, "this wheelsoil was built without vector maths (SLEEF)");
      model.evaluate = talvor_vector;
      model.evaluate_batch = talvor_vector_batch;
    }
    if (split_rule_ || direction_aware_) {
      if (split_rule_ && vector_math_)
        return usage_error(context,
                           "--rule split takes --math standard (the C library's functions)");
      talvor_flags = (vector_math_ ? WHEELSOIL_MATH_VECTOR : 0u) |
                     (split_rule_ ? WHEELSOIL_SPLIT_RULE : 0u) |
                     (direction_aware_ ? WHEELSOIL_DIRECTION_AWARE : 0u);
      model.evaluate = talvor_flagged;
      model.evaluate_batch = talvor_flagged_batch;
    }
    return run_model(context, file_, model);
  }

 private:
  std::string file_;
  bool vector_math_ = false;
  bool split_rule_ = false;
  bool direction_aware_ = false;
};

const CommandRegistration registration{
    {"talvor",
     "the full model: 29 inputs, 18 loads (forces in N, moments in N m, exerted by "
     "the soil on the wheel; x forward, y along the axle, z up)",
     10, [] { return std::make_unique<TalvorCommand>(); }}};

}  // namespace
}  // namespace wheelsoil::detail::cli
