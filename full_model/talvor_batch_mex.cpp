// MEX gateway of talvor_batch: L = talvor_batch(P) or talvor_batch(P, threads),
// P holding one 29-slot input vector per column, L one 18-slot result per column.
#include "mex.h"
#include "../octave/batch_gateway.h"
#include "wheel_soil_batch.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  namespace mex = wheelsoil::detail::mex;
  mex::check_batch_counts(nlhs, nrhs);
  const std::size_t count = mex::batch_columns(
      prhs[0], 29, "Input must be a real double matrix with 29 rows, one input vector per column.");
  const unsigned threads = mex::batch_threads(nrhs, prhs);
  plhs[0] = mxCreateDoubleMatrix(18, mex::result_columns(count), mxREAL);
  wheelsoil::detail::full_model::evaluate_batch(mxGetPr(prhs[0]), mxGetPr(plhs[0]), count, threads);
}
