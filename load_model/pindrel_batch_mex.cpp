// MEX gateway of pindrel_batch: W = pindrel_batch(P) or pindrel_batch(P, threads),
// P holding one 20-slot input vector per column, W one load per column (1 x N).
#include "mex.h"
#include "../octave/batch_gateway.h"
#include "load_model_batch.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  namespace mex = wheelsoil::detail::mex;
  mex::check_batch_counts(nlhs, nrhs);
  const std::size_t count = mex::batch_columns(
      prhs[0], 20, "Input must be a real double matrix with 20 rows, one input vector per column.");
  const unsigned threads = mex::batch_threads(nrhs, prhs);
  plhs[0] = mxCreateDoubleMatrix(1, mex::result_columns(count), mxREAL);
  wheelsoil::detail::load_model::evaluate_batch(mxGetPr(prhs[0]), mxGetPr(plhs[0]), count, threads);
}
