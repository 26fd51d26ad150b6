// Argument checks shared by the MEX gateways that take many input vectors.
// Include after mex.h.
#ifndef WHEELSOIL_OCTAVE_BATCH_GATEWAY_H
#define WHEELSOIL_OCTAVE_BATCH_GATEWAY_H

#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>

namespace wheelsoil::detail::mex {

// The type of a matrix dimension in this host's mxCreateDoubleMatrix: int
// for the compatible array API, a 64-bit integer for Octave's own.
template <class F>
struct DimensionOf;
template <class R, class Size, class Complexity>
struct DimensionOf<R (*)(Size, Size, Complexity)> {
  using type = Size;
};
using Dimension = typename DimensionOf<decltype(&mxCreateDoubleMatrix)>::type;

// The most columns a result matrix of this host can have.
constexpr std::size_t max_columns() {
  return std::size_t(std::numeric_limits<Dimension>::max()) <
                 std::numeric_limits<std::size_t>::max()
             ? std::size_t(std::numeric_limits<Dimension>::max())
             : std::numeric_limits<std::size_t>::max();
}

// count as a matrix dimension of this host; refuses a count it cannot hold
// rather than truncating it.
inline Dimension result_columns(std::size_t count, std::size_t limit = max_columns()) {
  if (count > limit) {
    char message[160];
    std::snprintf(message, sizeof message,
                  "Too many input vectors: a result matrix holds at most %zu columns.", limit);
    mexErrMsgTxt(message);
  }
  return static_cast<Dimension>(count);
}

// The two argument counts, checked as the single-call gateways check theirs.
inline void check_batch_counts(int nlhs, int nrhs) {
  if (nrhs < 1 || nrhs > 2) mexErrMsgTxt("One or two input arguments required.");
  if (nlhs > 1) mexErrMsgTxt("Too many output arguments.");
}

// The number of input vectors in P, a real full double matrix with `rows`
// rows (an N-d array counts all its trailing columns); refuses anything else
// with `message`.
inline std::size_t batch_columns(const mxArray *p, std::size_t rows, const char *message) {
  if (!mxIsDouble(p) || mxIsComplex(p) || mxIsSparse(p) || std::size_t(mxGetM(p)) != rows)
    mexErrMsgTxt(message);
  return std::size_t(mxGetNumberOfElements(p)) / rows;
}

// A thread count argument: a whole number from 0 (one per core) to 1024.
inline unsigned thread_count(const mxArray *t) {
  const double *v =
      mxIsDouble(t) && !mxIsComplex(t) && !mxIsSparse(t) && mxGetNumberOfElements(t) == 1
          ? mxGetPr(t)
          : nullptr;
  if (!v || !(*v >= 0 && *v <= 1024) || std::floor(*v) != *v)
    mexErrMsgTxt("Thread count must be a whole number from 0 (one per core) to 1024.");
  return unsigned(*v);
}

// The optional thread count, prhs[1].
inline unsigned batch_threads(int nrhs, const mxArray *prhs[]) {
  return nrhs < 2 ? 0 : thread_count(prhs[1]);
}

// The text of a char row of at most 15 characters, lower-cased; empty for
// anything else.
inline std::string option_word(const mxArray *a) {
  char text[16];
  if (!mxIsChar(a) || mxGetNumberOfElements(a) >= sizeof text ||
      mxGetString(a, text, sizeof text) != 0)
    return std::string();
  std::string word(text);
  for (char &c : word) c = char(std::tolower(static_cast<unsigned char>(c)));
  return word;
}

// The options of talvor_batch, each given as a name-value pair.
struct TalvorOptions {
  bool vector = false;           // 'Math', 'vector' (default 'standard')
  bool split = false;            // 'Rule', 'split' (default 'fixed')
  bool direction_aware = false;  // 'DirectionAware', true (default false)
};

// A true/false value: a real logical or double scalar that is 0 or 1.
inline bool option_flag(const mxArray *value, const char *message) {
  const bool scalar = (mxIsLogical(value) || mxIsDouble(value)) && !mxIsComplex(value) &&
                      !mxIsSparse(value) && mxGetNumberOfElements(value) == 1;
  const double v =
      scalar ? (mxIsLogical(value) ? (*mxGetLogicals(value) ? 1.0 : 0.0) : *mxGetPr(value)) : -1.0;
  if (v != 0 && v != 1) mexErrMsgTxt(message);
  return v == 1;
}

// The name-value pairs args[0..n-1] (n even), names and words in any case.
inline TalvorOptions talvor_options(const mxArray *const *args, int n) {
  TalvorOptions o;
  for (int k = 0; k + 1 < n; k += 2) {
    const std::string name = option_word(args[k]);
    const std::string value = option_word(args[k + 1]);
    if (name == "math") {
      if (value != "standard" && value != "vector")
        mexErrMsgTxt("Math must be 'standard' or 'vector'.");
      o.vector = value == "vector";
    } else if (name == "rule") {
      if (value != "fixed" && value != "split") mexErrMsgTxt("Rule must be 'fixed' or 'split'.");
      o.split = value == "split";
    } else if (name == "directionaware") {
      o.direction_aware = option_flag(args[k + 1], "DirectionAware must be true or false.");
    } else {
      mexErrMsgTxt(
          "Unknown option: the options are 'Math' ('standard' or 'vector'), 'Rule' ('fixed' or "
          "'split') and 'DirectionAware' (true or false).");
    }
  }
  if (o.vector && o.split)
    mexErrMsgTxt(
        "'Rule', 'split' takes the standard maths: it cannot be combined with 'Math', "
        "'vector'.");
  return o;
}

// The identifier of the host's own out-of-memory error.
#ifdef HAVE_OCTAVE
constexpr const char *out_of_memory_id = "Octave:bad-alloc";
#else
constexpr const char *out_of_memory_id = "MATLAB:nomem";
#endif

// Runs the gateway's body; memory refused anywhere in it (the host's
// matrices, our own records, any thread of a batch) becomes the host's
// out-of-memory error, raised once everything the body held is released, so
// the host carries on. The host's own errors pass through untouched. (The
// host names the function beside the message.)
template <class Body>
void guarded(Body &&body) {
  const char *message = nullptr;
  try {
    body();
    return;
  } catch (const std::bad_alloc &) {
    message = "Out of memory.";
  } catch (const std::length_error &) {
    message = "Out of memory: the result is larger than this machine can address.";
  }
  mexErrMsgIdAndTxt(out_of_memory_id, "%s", message);
}

}  // namespace wheelsoil::detail::mex

#endif
