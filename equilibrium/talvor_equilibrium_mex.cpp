// MEX gateway behind talvor_equilibrium.m:
//   [P_eq, L, S, M] = talvor_equilibrium_mex(P, W)
// P: 29 x N input vectors, one per column; W: 1 or N loads (N), or K loads for
// a single column. One solve per column of the result (count = max(N, K)):
//   P_eq 29 x count  the input with slot 20, centre_height, solved;
//   L    18 x count  the loads at that height;
//   S     7 x count  status code, converged, model evaluations, residual (N),
//                    sinkage at the mid-plane (m), at the lowest edge (m),
//                    monotone;
//   M count x len    each solve's message as character codes, 0-padded.
// A solve that does not converge leaves NaN in its columns of P_eq slot 20, L
// and S rows 4 to 6; its status and message say why. Only double matrices
// cross the gateway, so it runs on our own MEX host too.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <vector>

#include "mex.h"
#include "../octave/batch_gateway.h"
#include "wheel_equilibrium.h"

namespace {

namespace eq = wheelsoil::detail::equilibrium;
namespace mex = wheelsoil::detail::mex;
using wheelsoil::WheelSoilInput;

constexpr int stats_rows = 7;

bool real_double(const mxArray *a) { return mxIsDouble(a) && !mxIsComplex(a) && !mxIsSparse(a); }

void talvor_equilibrium(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  if (nrhs != 2) mexErrMsgTxt("Two input arguments required.");
  if (nlhs > 4) mexErrMsgTxt("Too many output arguments.");
  const mxArray *p = prhs[0], *w = prhs[1];
  if (!real_double(p) || mxGetM(p) != 29)
    mexErrMsgTxt("Input must be a real double matrix with 29 rows, one input vector per column.");
  if (!real_double(w)) mexErrMsgTxt("Loads must be a real double array.");
  // mxGetNumberOfElements counts every column of an N-d array: its storage is 29 x N.
  const std::size_t columns = mxGetNumberOfElements(p) / 29;
  const std::size_t loads = mxGetNumberOfElements(w);
  if (columns != 1 && loads != 1 && loads != columns)
    mexErrMsgTxt("Give one load, or one load per input column.");
  const std::size_t count = columns == 1 ? loads : (loads == 0 ? 0 : columns);
  const mex::Dimension result_count = mex::result_columns(count);

  // The numeric results first (as many as were asked for: plhs has room for
  // max(nlhs, 1)), then the records of the solves: a batch whose results
  // cannot be held fails before any work. The messages' width is known only
  // once solved.
  const int numeric = std::min(std::max(nlhs, 1), 3);
  const mex::Dimension rows[3] = {29, 18, stats_rows};
  double *data[3] = {nullptr, nullptr, nullptr};
  for (int k = 0; k < numeric; ++k) {
    plhs[k] = mxCreateDoubleMatrix(rows[k], result_count, mxREAL);
    data[k] = mxGetPr(plhs[k]);
  }
  std::vector<WheelSoilInput> inputs(columns);
  if (columns) std::memcpy(inputs.data(), mxGetPr(p), columns * sizeof(WheelSoilInput));
  std::vector<eq::EquilibriumResult> results(count);
  eq::solve_equilibrium_batch(inputs.data(), columns == 1 ? 0 : 1, mxGetPr(w), loads == 1 ? 0 : 1,
                              count, results.data(), 0);

  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::size_t longest = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const eq::EquilibriumResult &r = results[k];
    longest = std::max(longest, r.message.size());
    const bool ok = r.converged;
    if (double *p_eq = data[0] ? data[0] + 29 * k : nullptr) {
      std::memcpy(p_eq, &inputs[columns == 1 ? 0 : k], sizeof(WheelSoilInput));
      p_eq[20] = ok ? r.centre_height : nan;
    }
    if (double *l = data[1] ? data[1] + 18 * k : nullptr) {
      const double *slot = &r.loads.rim_fx;
      for (int j = 0; j < 18; ++j) l[j] = ok ? slot[j] : nan;
    }
    if (double *sk = data[2] ? data[2] + stats_rows * k : nullptr) {
      sk[0] = double(static_cast<int>(r.status));
      sk[1] = ok ? 1.0 : 0.0;
      sk[2] = double(r.iterations);
      sk[3] = ok ? r.residual : nan;
      sk[4] = ok ? r.sinkage : nan;
      sk[5] = ok ? r.max_sinkage : nan;
      sk[6] = r.monotone ? 1.0 : 0.0;
    }
  }
  if (nlhs >= 4) {
    plhs[3] = mxCreateDoubleMatrix(result_count, mex::result_columns(longest), mxREAL);
    double *m = mxGetPr(plhs[3]);
    for (std::size_t k = 0; k < count; ++k)
      for (std::size_t c = 0; c < results[k].message.size(); ++c)
        m[k + count * c] = double(static_cast<unsigned char>(results[k].message[c]));
  }
}

}  // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  mex::guarded([&] { talvor_equilibrium(nlhs, plhs, nrhs, prhs); });
}
