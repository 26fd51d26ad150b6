// MEX gateway of pindrel_batch: W = pindrel_batch(P) or pindrel_batch(P, threads),
// P holding one 20-slot input vector per column, W one load per column (1 x N).
// pindrel_batch.m calls it on a few columns at a time, so that the host can
// interrupt a long batch between calls.
#include "mex.h"
#include "../octave/batch_gateway.h"
#include "load_model_batch.h"

namespace {

namespace mex = wheelsoil::detail::mex;

void pindrel_batch(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  mex::check_batch_counts(nlhs, nrhs);
  const std::size_t count = mex::batch_columns(
      prhs[0], 20, "Input must be a real double matrix with 20 rows, one input vector per column.");
  const unsigned threads = mex::batch_threads(nrhs, prhs);
  // The result first: a batch whose result cannot be held fails before any work.
  plhs[0] = mxCreateDoubleMatrix(1, mex::result_columns(count), mxREAL);
  wheelsoil::detail::load_model::evaluate_batch(mxGetPr(prhs[0]), mxGetPr(plhs[0]), count, threads);
}

}  // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  mex::guarded([&] { pindrel_batch(nlhs, plhs, nrhs, prhs); });
}
