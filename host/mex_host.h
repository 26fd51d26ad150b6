// Driving a MEX gateway through our own host: build argument arrays of any
// class and shape, call mexFunction as MATLAB would, and read back the outputs
// or the error message that abandoned the call.
#ifndef WHEELSOIL_HOST_MEX_HOST_H
#define WHEELSOIL_HOST_MEX_HOST_H

#include <cstddef>
#include <string>
#include <vector>

#include "mex.h"

namespace mex_host {

using MexEntry = void (*)(int, mxArray *[], int, const mxArray *[]);

// An argument array owned by the caller; destroy() releases it.
mxArray *make_array(mxClassID cls, std::size_t rows, std::size_t cols, bool complex = false,
                    bool sparse = false);
// A real full double matrix holding values in column order.
mxArray *make_double(std::size_t rows, std::size_t cols, const std::vector<double> &values);
// A 1 x n char row holding text (0 x 0 for empty text).
mxArray *make_char(const std::string &text);
// A 1 x 1 logical array.
mxArray *make_logical(bool value);
void destroy(mxArray *array);

// Dimensions and class of an array, for checking a gateway's outputs.
mxClassID class_of(const mxArray *array);

struct CallResult {
  bool ok = false;                 // the call returned normally
  std::string message;             // the error message when it did not
  std::string id;                  // its identifier, if any
  std::vector<mxArray *> outputs;  // plhs[0 .. max(nlhs, 1) - 1], owned by the caller
  std::vector<double> values(std::size_t k = 0) const;  // data of output k
};

// Calls entry(nlhs, plhs, nrhs, prhs) and catches an abandoned call. Arrays the
// gateway created during an abandoned call are released, as MATLAB does.
CallResult call(MexEntry entry, int nlhs, const std::vector<const mxArray *> &args);
void release(CallResult &result);

// Arrays created and not yet destroyed: zero after every test that cleans up.
std::size_t live_arrays();

}  // namespace mex_host

#endif
