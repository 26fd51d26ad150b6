// Argument checks shared by the batch MEX gateways. Include after mex.h.
#ifndef WHEELSOIL_BATCH_BATCH_GATEWAY_H
#define WHEELSOIL_BATCH_BATCH_GATEWAY_H

#include <cmath>
#include <cstddef>

namespace batch {

// The two argument counts, checked as the single-call gateways check theirs.
inline void check_batch_counts(int nlhs, int nrhs) {
  if (nrhs < 1 || nrhs > 2) mexErrMsgTxt("One or two input arguments required.");
  if (nlhs > 1) mexErrMsgTxt("Too many output arguments.");
}

// The number of input vectors in P, a real full double matrix with `rows`
// rows (an N-d array counts all its trailing columns); refuses anything else
// with `message`.
inline std::size_t batch_columns(const mxArray *p, std::size_t rows, const char *message) {
  if (!mxIsDouble(p) || mxIsComplex(p) || mxIsSparse(p) || mxGetM(p) != rows)
    mexErrMsgTxt(message);
  return mxGetNumberOfElements(p) / rows;
}

// The optional thread count, prhs[1]: a whole number from 0 (one per core) to 1024.
inline unsigned batch_threads(int nrhs, const mxArray *prhs[]) {
  if (nrhs < 2) return 0;
  const mxArray *t = prhs[1];
  const double *v = mxIsDouble(t) && !mxIsComplex(t) && !mxIsSparse(t) &&
                            mxGetNumberOfElements(t) == 1
                        ? mxGetPr(t)
                        : nullptr;
  if (!v || !(*v >= 0 && *v <= 1024) || std::floor(*v) != *v)
    mexErrMsgTxt("Thread count must be a whole number from 0 (one per core) to 1024.");
  return unsigned(*v);
}

}  // namespace batch

#endif
