/* A small MEX host of our own: the subset of the MEX interface that the
   talvor and pindrel gateways use, so that they build and run where no
   MATLAB or Octave is present (unit tests, fuzzing, 32-bit hosts).

   Like MATLAB's compatible array API, matrices are created through
   mxCreateDoubleMatrix_700 (32-bit dimensions); mxCreateDoubleMatrix names it.
   mexErrMsgTxt reports the message to the host and abandons the call: it never
   returns to the gateway. */
#ifndef WHEELSOIL_HOST_MEX_H
#define WHEELSOIL_HOST_MEX_H

#include <stddef.h>

typedef size_t mwSize;
typedef size_t mwIndex;
typedef struct mxArray_tag mxArray;
#ifdef __cplusplus
typedef bool mxLogical;
#else
typedef unsigned char mxLogical;
#endif

typedef enum { mxREAL = 0, mxCOMPLEX = 1 } mxComplexity;

typedef enum {
  mxUNKNOWN_CLASS = 0,
  mxCELL_CLASS,
  mxSTRUCT_CLASS,
  mxLOGICAL_CLASS,
  mxCHAR_CLASS,
  mxVOID_CLASS,
  mxDOUBLE_CLASS,
  mxSINGLE_CLASS,
  mxINT8_CLASS,
  mxUINT8_CLASS,
  mxINT16_CLASS,
  mxUINT16_CLASS,
  mxINT32_CLASS,
  mxUINT32_CLASS,
  mxINT64_CLASS,
  mxUINT64_CLASS,
  mxFUNCTION_CLASS
} mxClassID;

#define mxCreateDoubleMatrix mxCreateDoubleMatrix_700

#ifdef __cplusplus
extern "C" {
#endif

/* A rows x cols real (or complex) double matrix, zero-filled, owned by the host. */
mxArray *mxCreateDoubleMatrix_700(int rows, int cols, mxComplexity flag);
/* Address of a double matrix's real data, in column order; NULL for other classes. */
double *mxGetPr(const mxArray *array);
/* Report msg as the call's error and abandon the call. */
#ifdef __cplusplus
[[noreturn]]
#endif
void mexErrMsgTxt(const char *msg);
/* The same with an identifier; the message is a printf format. */
#ifdef __cplusplus
[[noreturn]]
#endif
void mexErrMsgIdAndTxt(const char *id, const char *format, ...);

/* Queries the gateways use to check their arguments. */
int mxIsDouble(const mxArray *array);
int mxIsComplex(const mxArray *array);
int mxIsSparse(const mxArray *array);
size_t mxGetNumberOfElements(const mxArray *array);
size_t mxGetM(const mxArray *array);
size_t mxGetN(const mxArray *array);
int mxIsChar(const mxArray *array);
int mxIsLogical(const mxArray *array);
/* Address of a logical array's data; NULL for other classes. */
mxLogical *mxGetLogicals(const mxArray *array);
/* A char array's text into str (at most buflen - 1 characters and a NUL):
   0, or 1 when the array is not char or the text does not fit. */
int mxGetString(const mxArray *array, char *str, mwSize buflen);

/* The entry every MEX module exports. */
void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);

#ifdef __cplusplus
}
#endif

#endif
