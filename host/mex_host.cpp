// The MEX host subset: arrays held in exactly sized heap blocks (so a read past
// an input's end is caught by the sanitizers and valgrind), and mexErrMsgTxt
// abandoning the call by unwinding back to mex_host::call.
#include "mex_host.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <string>

struct mxArray_tag {
  mxClassID cls = mxDOUBLE_CLASS;
  std::size_t rows = 0;
  std::size_t cols = 0;
  bool complex = false;
  bool sparse = false;
  std::unique_ptr<double[]> real;        // rows * cols doubles, double class only
  std::unique_ptr<double[]> imag;        // the same for complex arrays
  std::string text;                      // rows * cols characters, char class only
  std::unique_ptr<mxLogical[]> logical;  // rows * cols values, logical class only
};

namespace {

struct AbandonedCall {
  std::string message;
  std::string id;
};

std::set<mxArray *> &live() {
  static std::set<mxArray *> arrays;
  return arrays;
}

// Arrays created by the gateway during the call in progress.
std::vector<mxArray *> *created_in_call = nullptr;

mxArray *new_array(mxClassID cls, std::size_t rows, std::size_t cols, bool complex, bool sparse) {
  auto *a = new mxArray_tag;
  a->cls = cls;
  a->rows = rows;
  a->cols = cols;
  a->complex = complex;
  a->sparse = sparse;
  if (cls == mxDOUBLE_CLASS) {
    const std::size_t count = rows * cols;
    // new double[0] is a valid, unreadable block: a zero-element read is caught.
    a->real.reset(new double[count]());
    if (complex) a->imag.reset(new double[count]());
  }
  if (cls == mxLOGICAL_CLASS) a->logical.reset(new mxLogical[rows * cols]());
  live().insert(a);
  return a;
}

}  // namespace

extern "C" {

mxArray *mxCreateDoubleMatrix_700(int rows, int cols, mxComplexity flag) {
  mxArray *a = new_array(mxDOUBLE_CLASS, rows < 0 ? 0 : std::size_t(rows),
                         cols < 0 ? 0 : std::size_t(cols), flag == mxCOMPLEX, false);
  if (created_in_call) created_in_call->push_back(a);
  return a;
}

double *mxGetPr(const mxArray *array) {
  return array && array->cls == mxDOUBLE_CLASS ? array->real.get() : nullptr;
}

void mexErrMsgTxt(const char *msg) { throw AbandonedCall{msg ? msg : "", ""}; }

void mexErrMsgIdAndTxt(const char *id, const char *format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  throw AbandonedCall{text, id ? id : ""};
}

int mxIsDouble(const mxArray *array) { return array && array->cls == mxDOUBLE_CLASS; }
int mxIsComplex(const mxArray *array) { return array && array->complex; }
int mxIsSparse(const mxArray *array) { return array && array->sparse; }
size_t mxGetNumberOfElements(const mxArray *array) { return array ? array->rows * array->cols : 0; }
size_t mxGetM(const mxArray *array) { return array ? array->rows : 0; }
size_t mxGetN(const mxArray *array) { return array ? array->cols : 0; }
int mxIsChar(const mxArray *array) { return array && array->cls == mxCHAR_CLASS; }
int mxIsLogical(const mxArray *array) { return array && array->cls == mxLOGICAL_CLASS; }
mxLogical *mxGetLogicals(const mxArray *array) {
  return mxIsLogical(array) ? array->logical.get() : nullptr;
}

int mxGetString(const mxArray *array, char *str, mwSize buflen) {
  if (!str || buflen == 0) return 1;
  str[0] = '\0';
  if (!mxIsChar(array)) return 1;
  const std::size_t n = std::min(array->text.size(), std::size_t(buflen - 1));
  std::memcpy(str, array->text.data(), n);
  str[n] = '\0';
  return n == array->text.size() ? 0 : 1;
}

}  // extern "C"

namespace mex_host {

mxArray *make_array(mxClassID cls, std::size_t rows, std::size_t cols, bool complex, bool sparse) {
  return new_array(cls, rows, cols, complex, sparse);
}

mxArray *make_logical(bool value) {
  mxArray *a = new_array(mxLOGICAL_CLASS, 1, 1, false, false);
  a->logical[0] = value;
  return a;
}

mxArray *make_char(const std::string &text) {
  mxArray *a = new_array(mxCHAR_CLASS, text.empty() ? 0 : 1, text.size(), false, false);
  a->text = text;
  return a;
}

mxArray *make_double(std::size_t rows, std::size_t cols, const std::vector<double> &values) {
  mxArray *a = new_array(mxDOUBLE_CLASS, rows, cols, false, false);
  std::copy_n(values.begin(), std::min(values.size(), rows * cols), a->real.get());
  return a;
}

void destroy(mxArray *array) {
  if (live().erase(array)) delete array;
}

mxClassID class_of(const mxArray *array) { return array->cls; }

std::vector<double> CallResult::values(std::size_t k) const {
  if (k >= outputs.size() || !outputs[k] || !outputs[k]->real) return {};
  const mxArray *a = outputs[k];
  return std::vector<double>(a->real.get(), a->real.get() + a->rows * a->cols);
}

CallResult call(MexEntry entry, int nlhs, const std::vector<const mxArray *> &args) {
  CallResult result;
  // MATLAB always offers at least one output slot, for ans.
  std::vector<mxArray *> plhs(std::size_t(std::max(nlhs, 1)), nullptr);
  std::vector<const mxArray *> prhs(args);
  std::vector<mxArray *> created;
  created_in_call = &created;
  try {
    entry(nlhs, plhs.data(), int(prhs.size()), prhs.data());
    result.ok = true;
    result.outputs = plhs;
  } catch (const AbandonedCall &e) {
    result.message = e.message;
    result.id = e.id;
    for (mxArray *a : created) destroy(a);
  }
  created_in_call = nullptr;
  return result;
}

void release(CallResult &result) {
  for (mxArray *a : result.outputs) destroy(a);
  result.outputs.clear();
}

std::size_t live_arrays() { return live().size(); }

}  // namespace mex_host
