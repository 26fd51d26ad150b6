// MEX gateway of talvor_batch: L = talvor_batch(P), talvor_batch(P, threads),
// and either with the trailing pair 'Math', 'vector' (or 'standard', the
// default). P holds one 29-slot input vector per column, L one 18-slot result
// per column. talvor_batch.m calls it on a few columns at a time, so that
// the host can interrupt a long batch between calls.
#include "mex.h"
#include "../octave/batch_gateway.h"
#include "vector_loads.h"
#include "wheel_soil_batch.h"

namespace {

namespace mex = wheelsoil::detail::mex;
namespace fm = wheelsoil::detail::full_model;

void talvor_batch(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  if (nrhs < 1 || nrhs > 4) mexErrMsgTxt("One to four input arguments required.");
  if (nlhs > 1) mexErrMsgTxt("Too many output arguments.");
  const std::size_t count = mex::batch_columns(
      prhs[0], 29, "Input must be a real double matrix with 29 rows, one input vector per column.");
  // P, then the thread count (2 or 4 arguments), then the pair (3 or 4)
  const unsigned threads = nrhs % 2 == 0 ? mex::thread_count(prhs[1]) : 0;
  fm::MathFunctions math = fm::MathFunctions::standard;
  if (nrhs >= 3 && mex::math_option_is_vector(prhs[nrhs - 2], prhs[nrhs - 1])) {
    if (!fm::vector_math_available())
      mexErrMsgTxt("This talvor_batch was built without vector maths (SLEEF).");
    math = fm::MathFunctions::vector;
  }
  // The result first: a batch whose result cannot be held fails before any work.
  plhs[0] = mxCreateDoubleMatrix(18, mex::result_columns(count), mxREAL);
  fm::evaluate_batch(mxGetPr(prhs[0]), mxGetPr(plhs[0]), count, threads, {}, math);
}

}  // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  mex::guarded([&] { talvor_batch(nlhs, plhs, nrhs, prhs); });
}
