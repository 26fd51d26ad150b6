// MEX gateway behind the helpers' progress reports (a private function of
// the helpers' folder): tf = wheelsoil_terminal() is true when the host's
// standard output is a terminal, where a person is likely to watch.
#ifdef _WIN32
#include <io.h>
#define WHEELSOIL_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define WHEELSOIL_ISATTY(fd) isatty(fd)
#endif

#include "mex.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *[]) {
  if (nrhs != 0) mexErrMsgTxt("No input arguments allowed.");
  if (nlhs > 1) mexErrMsgTxt("Too many output arguments.");
  plhs[0] = mxCreateDoubleMatrix(1, 1, mxREAL);
  *mxGetPr(plhs[0]) = WHEELSOIL_ISATTY(1) ? 1.0 : 0.0;
}
