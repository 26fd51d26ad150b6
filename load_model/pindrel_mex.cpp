// MEX gateway of pindrel: load = pindrel(p), p holding at least 20 real doubles.
#include "load_model.h"
#include "mex.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  if (nrhs != 1) mexErrMsgTxt("One input argument required.");
  if (nlhs > 1) mexErrMsgTxt("Too many output arguments.");
  const mxArray *p = prhs[0];
  // Read nothing that is not there: the 20 slots must be real, full doubles.
  if (!mxIsDouble(p) || mxIsComplex(p) || mxIsSparse(p) || mxGetNumberOfElements(p) < 20)
    mexErrMsgTxt("Input must be a real double array of at least 20 elements.");
  // Created for nlhs 0 as well: MATLAB puts it in ans.
  plhs[0] = mxCreateDoubleMatrix(1, 1, mxREAL);
  wheelsoil::detail::load_model::run_load_model(mxGetPr(plhs[0]), mxGetPr(p));
}
