// MEX gateway of talvor_batch: L = talvor_batch(P) or talvor_batch(P, threads),
// P holding one 29-slot input vector per column, L one 18-slot result per column.
#include "mex.h"
#include "../batch/batch_gateway.h"
#include "wheel_soil_batch.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  batch::check_batch_counts(nlhs, nrhs);
  const std::size_t count = batch::batch_columns(
      prhs[0], 29, "Input must be a real double matrix with 29 rows, one input vector per column.");
  const unsigned threads = batch::batch_threads(nrhs, prhs);
  plhs[0] = mxCreateDoubleMatrix(18, count, mxREAL);
  full_model::evaluate_batch(mxGetPr(prhs[0]), mxGetPr(plhs[0]), count, threads);
}
