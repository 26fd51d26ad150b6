// The four MEX gateways through our own host, on argument lists of any shape:
// the gateway, nlhs and nrhs, and per argument its class, rows, columns,
// complex and sparse flags and any bit patterns as its doubles. Holds when:
// nothing crashes, reads past an argument's end or trips a sanitizer; a call
// is refused with the documented message exactly when its arguments are not
// what the gateway takes, and otherwise returns the documented shape with the
// core's bits; the arguments are left as they were; no array outlives the
// call but the outputs handed back.
//
// Byte layout: gateway, nlhs, nrhs, then per argument: class, rows, columns,
// flags (1 complex, 2 sparse), the number of doubles that follow, the doubles.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "load_model.h"
#include "mex_host.h"
#include "wheel_soil_model.h"

// The gateways, each compiled with its mexFunction renamed.
extern "C" {
void talvor_entry(int, mxArray *[], int, const mxArray *[]);
void talvor_batch_entry(int, mxArray *[], int, const mxArray *[]);
void pindrel_entry(int, mxArray *[], int, const mxArray *[]);
void pindrel_batch_entry(int, mxArray *[], int, const mxArray *[]);
}

namespace {

struct Gateway {
  mex_host::MexEntry entry;
  bool batch;
  std::size_t in_slots, out_slots;
  const double *base;
  void (*single)(double *, const double *);
  const char *bad_input;
};

const Gateway gateways[4] = {
    {talvor_entry, false, 29, 18, fuzz::talvor_base, wheelsoil::detail::full_model::run_model,
     "Input must be a real double array of at least 29 elements."},
    {talvor_batch_entry, true, 29, 18, fuzz::talvor_base, wheelsoil::detail::full_model::run_model,
     "Input must be a real double matrix with 29 rows, one input vector per column."},
    {pindrel_entry, false, 20, 1, fuzz::pindrel_base, wheelsoil::detail::load_model::run_load_model,
     "Input must be a real double array of at least 20 elements."},
    {pindrel_batch_entry, true, 20, 1, fuzz::pindrel_base,
     wheelsoil::detail::load_model::run_load_model,
     "Input must be a real double matrix with 20 rows, one input vector per column."},
};

struct Arg {
  mxArray *array;
  std::vector<double> data;  // its doubles, to compare after the call
};

bool real_full_double(const mxArray *a) {
  return mxIsDouble(a) && !mxIsComplex(a) && !mxIsSparse(a);
}

// The message the gateway must give for these arguments; empty: none.
std::string expected_refusal(const Gateway &g, int nlhs, const std::vector<Arg> &args) {
  const std::size_t nrhs = args.size();
  if (!g.batch) {
    if (nrhs != 1) return "One input argument required.";
    if (nlhs > 1) return "Too many output arguments.";
    const mxArray *p = args[0].array;
    if (!real_full_double(p) || mxGetNumberOfElements(p) < g.in_slots) return g.bad_input;
    return "";
  }
  // talvor_batch also takes name-value pairs ('Math', 'Rule', 'DirectionAware')
  const bool options = g.entry == talvor_batch_entry;
  if (options ? nrhs < 1 || nrhs > 8 : nrhs < 1 || nrhs > 2)
    return options ? "One to eight input arguments required."
                   : "One or two input arguments required.";
  if (nlhs > 1) return "Too many output arguments.";
  const mxArray *p = args[0].array;
  if (!real_full_double(p) || mxGetM(p) != g.in_slots) return g.bad_input;
  if (nrhs == 2 || nrhs == 4) {
    const mxArray *t = args[1].array;
    const double v = real_full_double(t) && mxGetNumberOfElements(t) == 1 ? *mxGetPr(t) : -1;
    if (!(v >= 0 && v <= 1024 && v == double(std::size_t(v))))
      return "Thread count must be a whole number from 0 (one per core) to 1024.";
  }
  // the host's char arrays made here hold no text: never the name 'Math'
  if (nrhs >= 3)
    return "Unknown option: the options are 'Math' ('standard' or 'vector'), 'Rule' ('fixed' or "
           "'split') and 'DirectionAware' (true or false).";
  return "";
}

Arg read_arg(fuzz::Bytes &bytes, const Gateway &g) {
  const auto cls = mxClassID(bytes.byte() % (mxFUNCTION_CLASS + 1));
  const std::size_t rows = bytes.byte() % 40, cols = bytes.byte() % 40;
  const std::uint8_t flags = bytes.byte();
  Arg a{mex_host::make_array(cls, rows, cols, flags & 1, flags & 2), {}};
  if (double *pr = mxGetPr(a.array)) {
    // Realistic columns, then as many doubles of any bits as the input says.
    for (std::size_t k = 0; k < rows * cols; ++k) pr[k] = g.base[k % g.in_slots];
    const std::size_t given = bytes.byte() % 64;
    bytes.overlay(pr, std::min(given, rows * cols));
    a.data.assign(pr, pr + rows * cols);
  }
  return a;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  fuzz::Bytes bytes{data, size};
  const Gateway &g = gateways[bytes.byte() % 4];
  const int nlhs = bytes.byte() % 4;
  const std::size_t nrhs = bytes.byte() % 4;
  std::vector<Arg> args;
  std::vector<const mxArray *> prhs;
  for (std::size_t k = 0; k < nrhs; ++k) {
    args.push_back(read_arg(bytes, g));
    prhs.push_back(args.back().array);
  }
  const std::size_t live_before = mex_host::live_arrays();
  const std::string refusal = expected_refusal(g, nlhs, args);

  mex_host::CallResult r = mex_host::call(g.entry, nlhs, prhs);
  fuzz::require(r.ok == refusal.empty(), "refused exactly the arguments it cannot take");
  if (r.ok) {
    const mxArray *p = args[0].array;
    const std::size_t count = g.batch ? mxGetNumberOfElements(p) / g.in_slots : 1;
    const mxArray *out = r.outputs[0];
    fuzz::require(out && mex_host::class_of(out) == mxDOUBLE_CLASS && !mxIsComplex(out),
                  "the result is a real double matrix");
    fuzz::require(mxGetM(out) == (g.batch ? g.out_slots : 1) &&
                      mxGetN(out) == (g.batch ? count : g.out_slots),
                  "the result has the documented shape");
    const std::vector<double> values = r.values();
    for (std::size_t k = 0; k < count; ++k) {
      double expected[18];
      g.single(expected, &args[0].data[g.in_slots * k]);
      fuzz::require(fuzz::same_bits(&values[g.out_slots * k], expected, g.out_slots),
                    "each result has the core's bits");
    }
  } else {
    fuzz::require(r.message == refusal, "refused with the documented message");
  }
  for (const Arg &a : args)
    fuzz::require(a.data.empty() || fuzz::same_bits(mxGetPr(a.array), a.data.data(), a.data.size()),
                  "the arguments are left as they were");
  mex_host::release(r);
  fuzz::require(mex_host::live_arrays() == live_before, "no array outlives the call");
  for (const Arg &a : args) mex_host::destroy(a.array);
  return 0;
}
