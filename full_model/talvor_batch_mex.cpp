// MEX gateway of talvor_batch: L = talvor_batch(P), talvor_batch(P, threads),
// either followed by name-value pairs: 'Math', 'standard' | 'vector';
// 'Rule', 'fixed' | 'split'; 'DirectionAware', false | true. P holds one
// 29-slot input vector per column, L one 18-slot result per column.
// talvor_batch.m calls it on a few columns at a time, so that the host can
// interrupt a long batch between calls.
#include "mex.h"
#include "../octave/batch_gateway.h"
#include "evaluation_modes.h"
#include "vector_loads.h"
#include "wheel_soil_batch.h"

namespace {

namespace mex = wheelsoil::detail::mex;
namespace fm = wheelsoil::detail::full_model;

void talvor_batch(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  if (nrhs < 1 || nrhs > 8) mexErrMsgTxt("One to eight input arguments required.");
  if (nlhs > 1) mexErrMsgTxt("Too many output arguments.");
  const std::size_t count = mex::batch_columns(
      prhs[0], 29, "Input must be a real double matrix with 29 rows, one input vector per column.");
  // P, then the thread count (an even number of arguments), then the pairs
  const bool threads_given = nrhs % 2 == 0;
  const unsigned threads = threads_given ? mex::thread_count(prhs[1]) : 0;
  const int first = threads_given ? 2 : 1;
  const mex::TalvorOptions options = mex::talvor_options(prhs + first, nrhs - first);
  fm::EvaluationMode mode;
  if (options.vector) {
    if (!fm::vector_math_available())
      mexErrMsgTxt("This talvor_batch was built without vector maths (SLEEF).");
    mode.math = fm::MathFunctions::vector;
  }
  mode.split_rule = options.split;
  mode.direction_aware = options.direction_aware;
  // The result first: a batch whose result cannot be held fails before any work.
  plhs[0] = mxCreateDoubleMatrix(18, mex::result_columns(count), mxREAL);
  if (!mode.split_rule && !mode.direction_aware)
    fm::evaluate_batch(mxGetPr(prhs[0]), mxGetPr(plhs[0]), count, threads, {}, mode.math);
  else
    fm::evaluate_batch(mxGetPr(prhs[0]), mxGetPr(plhs[0]), count, threads, {}, mode);
}

}  // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  mex::guarded([&] { talvor_batch(nlhs, plhs, nrhs, prhs); });
}
