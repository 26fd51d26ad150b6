// The gateway behind talvor_contact.m through our own MEX host: its matrices
// are the core's values in MATLAB's column order, and what it cannot use is
// refused with its message.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "contact_diagnostics.h"
#include "mex_host.h"
#include "rover_wheel.h"

using namespace wheelsoil;
using namespace wheelsoil::detail::full_model;

namespace {

using mex_host::call;
using mex_host::make_double;

std::vector<double> slots(const WheelSoilInput &in) {
  const double *p = &in.vx;
  return std::vector<double>(p, p + 29);
}

TEST(TalvorContactGateway, GivesTheCoresValuesInColumnOrder) {
  WheelSoilInput in = rover_wheel();
  in.vx = -in.vx;
  in.wy = -in.wy;
  in.tilt_sine = 0.03;
  const std::vector<double> y = {-0.05, 0.0, 0.04}, theta = {-0.1, 0.0, 0.1, 0.3};
  mxArray *p = make_double(29, 1, slots(in));
  mxArray *ys = make_double(1, 3, y), *ts = make_double(4, 1, theta);
  mxArray *mirror = make_double(1, 1, {1});
  auto r = call(mexFunction, 7, {p, ys, ts, mirror});
  ASSERT_TRUE(r.ok) << r.message;
  ContactGeometry g;
  contact_geometry(in, true, &g);
  const std::vector<double> geometry = r.values(0), summary = r.values(1);
  ASSERT_EQ(geometry.size(), 8u * 30);
  for (int i = 0; i < 30; ++i) {
    EXPECT_EQ(geometry[8 * i + 0], g.y[i]);
    EXPECT_EQ(geometry[8 * i + 2], g.entry_angle[i]);
    EXPECT_EQ(geometry[8 * i + 7], g.band_exit_angle[i]);
  }
  EXPECT_EQ(summary,
            (std::vector<double>{g.slip_ratio, g.side_sinkage_plus, g.side_sinkage_minus}));
  std::vector<double> profile[5];
  for (auto &v : profile) v.resize(12);
  stress_profile(in, true, y.data(), 3, theta.data(), 4,
                 {profile[0].data(), profile[1].data(), profile[2].data(), profile[3].data(),
                  profile[4].data()});
  for (int k = 0; k < 5; ++k) {
    const std::vector<double> m = r.values(2 + k);
    ASSERT_EQ(m.size(), 12u);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 4; ++j) EXPECT_EQ(m[j * 3 + i], profile[k][i * 4 + j]) << k;
  }
  mex_host::release(r);
  // one output asked for (or none): the geometry alone; empty grids
  mxArray *none = make_double(0, 0, {});
  r = call(mexFunction, 0, {p, none, none, mirror});
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(r.values(0), geometry);
  mex_host::release(r);
  for (mxArray *a : {p, ys, ts, mirror, none}) mex_host::destroy(a);
}

TEST(TalvorContactGateway, RefusesWhatItCannotUse) {
  mxArray *p = make_double(1, 29, slots(rover_wheel()));
  mxArray *short_p = make_double(1, 28, std::vector<double>(28, 0.0));
  mxArray *zero = make_double(1, 1, {0}), *two = make_double(1, 2, {0, 1});
  mxArray *text = mex_host::make_char("y");
  EXPECT_EQ(call(mexFunction, 1, {p, zero, zero}).message, "Four input arguments required.");
  EXPECT_EQ(call(mexFunction, 8, {p, zero, zero, zero}).message, "Too many output arguments.");
  EXPECT_EQ(call(mexFunction, 1, {short_p, zero, zero, zero}).message,
            "Input must be a real double array of at least 29 elements.");
  EXPECT_EQ(call(mexFunction, 1, {p, text, zero, zero}).message,
            "Lateral positions and angles must be real double arrays.");
  EXPECT_EQ(call(mexFunction, 1, {p, zero, zero, two}).message,
            "The direction flag must be a real double scalar.");
  for (mxArray *a : {p, short_p, zero, two, text}) mex_host::destroy(a);
  EXPECT_EQ(mex_host::live_arrays(), 0u);
}

}  // namespace
