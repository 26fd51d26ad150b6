// MEX gateway of talvor: loads = talvor(p), p holding at least 29 real doubles.
#include "mex.h"
#include "wheel_soil_model.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  if (nrhs != 1) mexErrMsgTxt("One input argument required.");
  if (nlhs > 1) mexErrMsgTxt("Too many output arguments.");
  const mxArray *p = prhs[0];
  // Read nothing that is not there: the 29 slots must be real, full doubles.
  if (!mxIsDouble(p) || mxIsComplex(p) || mxIsSparse(p) || mxGetNumberOfElements(p) < 29)
    mexErrMsgTxt("Input must be a real double array of at least 29 elements.");
  plhs[0] = mxCreateDoubleMatrix(1, 18, mxREAL);
  wheelsoil::detail::full_model::run_model(mxGetPr(plhs[0]), mxGetPr(p));
}
