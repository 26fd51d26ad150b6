// MEX gateway behind talvor_contact.m:
//   [G, S, N, TX, TY, JX, JY] = talvor_contact_mex(p, y, theta, direction_aware)
// p: at least 29 doubles, one input vector; y, theta: the profile's lateral
// positions (m) and angles (rad), any shape; direction_aware: a real scalar,
// nonzero to evaluate a wheel travelling in -x mirrored.
//   G  8 x 30  per lateral position of the rim rule: y, sinkage, entry,
//              maximum-stress and exit angles, the band's three angles;
//   S  1 x 3   slip ratio, sinkage at y = +b/2 and at y = -b/2;
//   N, TX, TY, JX, JY  numel(y) x numel(theta): normal stress, the two shear
//              stresses, the two shear displacements.
// Only double matrices cross the gateway, so it runs on our own MEX host too.
#include <algorithm>
#include <cstddef>
#include <vector>

#include "mex.h"
#include "../octave/batch_gateway.h"
#include "contact_diagnostics.h"

namespace {

namespace fm = wheelsoil::detail::full_model;
namespace mex = wheelsoil::detail::mex;

bool real_double(const mxArray *a) { return mxIsDouble(a) && !mxIsComplex(a) && !mxIsSparse(a); }

}  // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  if (nrhs != 4) mexErrMsgTxt("Four input arguments required.");
  if (nlhs > 7) mexErrMsgTxt("Too many output arguments.");
  const mxArray *p = prhs[0], *y = prhs[1], *theta = prhs[2], *mirror = prhs[3];
  if (!real_double(p) || mxGetNumberOfElements(p) < 29)
    mexErrMsgTxt("Input must be a real double array of at least 29 elements.");
  if (!real_double(y) || !real_double(theta))
    mexErrMsgTxt("Lateral positions and angles must be real double arrays.");
  if (!real_double(mirror) || mxGetNumberOfElements(mirror) != 1)
    mexErrMsgTxt("The direction flag must be a real double scalar.");
  wheelsoil::WheelSoilInput in;
  const double *pr = mxGetPr(p);
  double *slot = &in.vx;
  for (int k = 0; k < 29; ++k) slot[k] = pr[k];
  const bool direction_aware = *mxGetPr(mirror) != 0;

  fm::ContactGeometry g;
  fm::contact_geometry(in, direction_aware, &g);
  const std::size_t n_y = mxGetNumberOfElements(y), n_theta = mxGetNumberOfElements(theta);
  const mex::Dimension rows = mex::result_columns(n_y), columns = mex::result_columns(n_theta);
  // the profile as the core writes it, row i at i * n_theta
  std::vector<double> profile[5];
  for (std::vector<double> &v : profile) v.resize(n_y * n_theta);
  fm::stress_profile(in, direction_aware, mxGetPr(y), n_y, mxGetPr(theta), n_theta,
                     {profile[0].data(), profile[1].data(), profile[2].data(), profile[3].data(),
                      profile[4].data()});

  for (int k = 0; k < std::max(nlhs, 1); ++k) {
    if (k == 0) {
      const double *field[8] = {
          g.y,          g.sinkage,          g.entry_angle,           g.max_stress_angle,
          g.exit_angle, g.band_entry_angle, g.band_max_stress_angle, g.band_exit_angle};
      plhs[0] = mxCreateDoubleMatrix(8, fm::contact_strips, mxREAL);
      double *out = mxGetPr(plhs[0]);
      for (int i = 0; i < fm::contact_strips; ++i)
        for (int r = 0; r < 8; ++r) out[8 * i + r] = field[r][i];
    } else if (k == 1) {
      plhs[1] = mxCreateDoubleMatrix(1, 3, mxREAL);
      double *out = mxGetPr(plhs[1]);
      out[0] = g.slip_ratio;
      out[1] = g.side_sinkage_plus;
      out[2] = g.side_sinkage_minus;
    } else {
      // column-major: element (i, j) at j * n_y + i
      plhs[k] = mxCreateDoubleMatrix(rows, columns, mxREAL);
      double *out = mxGetPr(plhs[k]);
      const std::vector<double> &v = profile[k - 2];
      for (std::size_t i = 0; i < n_y; ++i)
        for (std::size_t j = 0; j < n_theta; ++j) out[j * n_y + i] = v[i * n_theta + j];
    }
  }
}
