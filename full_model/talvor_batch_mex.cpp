// MEX gateway of talvor_batch: L = talvor_batch(P) or talvor_batch(P, threads),
// P holding one 29-slot input vector per column, L one 18-slot result per column.
#include <cmath>
#include <cstddef>

#include "mex.h"
#include "wheel_soil_batch.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  if (nrhs < 1 || nrhs > 2) mexErrMsgTxt("One or two input arguments required.");
  if (nlhs > 1) mexErrMsgTxt("Too many output arguments.");
  const mxArray *p = prhs[0];
  if (!mxIsDouble(p) || mxIsComplex(p) || mxIsSparse(p) || mxGetM(p) != 29)
    mexErrMsgTxt("Input must be a real double matrix with 29 rows, one input vector per column.");
  unsigned threads = 0;
  if (nrhs == 2) {
    const mxArray *t = prhs[1];
    const double *v = mxIsDouble(t) && !mxIsComplex(t) && !mxIsSparse(t) &&
                              mxGetNumberOfElements(t) == 1
                          ? mxGetPr(t)
                          : nullptr;
    if (!v || !(*v >= 0 && *v <= 1024) || std::floor(*v) != *v)
      mexErrMsgTxt("Thread count must be a whole number from 0 (one per core) to 1024.");
    threads = unsigned(*v);
  }
  // mxGetN counts every column of an N-d array: its storage is 29 x N.
  const std::size_t count = mxGetNumberOfElements(p) / 29;
  plhs[0] = mxCreateDoubleMatrix(18, count, mxREAL);
  full_model::evaluate_batch(mxGetPr(p), mxGetPr(plhs[0]), count, threads);
}
