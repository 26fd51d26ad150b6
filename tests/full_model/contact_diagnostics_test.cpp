// Contact diagnostics: the documented functions' values, bit for bit, and
// their mirror for a backward-travelling wheel.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "contact_diagnostics.h"
#include "contact_geometry.h"
#include "evaluation_modes.h"
#include "readme_wheel.h"
#include "rim_stress.h"
#include "rover_wheel.h"

using namespace wheelsoil;
using namespace wheelsoil::detail::full_model;

namespace {

// A tilted wheel with a band in contact over part of the width and lateral
// slip: every field differs from strip to strip.
WheelSoilInput banded_wheel() {
  WheelSoilInput in = rover_wheel();
  in.vy = 0.01;
  in.wz = 0.05;
  in.tilt_sine = 0.05;
  in.band_ratio = 0.7;
  in.band_height = 0.02;
  return in;
}

struct Profile {
  std::vector<double> sigma, tau_x, tau_y, j_x, j_y;
  explicit Profile(std::size_t n) : sigma(n), tau_x(n), tau_y(n), j_x(n), j_y(n) {}
  StressProfileOut out() {
    return {sigma.data(), tau_x.data(), tau_y.data(), j_x.data(), j_y.data()};
  }
};

TEST(ContactGeometry, IsTheDocumentedFunctionsAtTheRulesLateralPositions) {
  for (const WheelSoilInput &in : {readme_wheel(), banded_wheel()}) {
    ContactGeometry g;
    contact_geometry(in, false, &g);
    use_state(in);
    EXPECT_EQ(g.slip_ratio, slip_ratio());
    for (int i = 0; i < contact_strips; ++i) {
      const double y = g.y[i];
      EXPECT_EQ(g.sinkage[i], sinkage_at(y));
      EXPECT_EQ(g.entry_angle[i], entry_angle(y));
      EXPECT_EQ(g.max_stress_angle[i], max_stress_angle(y));
      EXPECT_EQ(g.exit_angle[i], exit_angle(y));
      EXPECT_EQ(g.band_entry_angle[i], band_entry_angle(y));
      EXPECT_EQ(g.band_max_stress_angle[i], band_max_stress_angle(y));
      EXPECT_EQ(g.band_exit_angle[i], band_exit_angle(y));
    }
    // the rule's nodes, from +b/2 towards -b/2, symmetric about the mid-plane
    EXPECT_GT(g.y[0], g.y[1]);
    EXPECT_EQ(g.y[0], -g.y[contact_strips - 1]);
    EXPECT_LT(g.y[0], in.width / 2);
    EXPECT_EQ(g.side_sinkage_plus, sinkage_at(in.width * 0.5));
    EXPECT_EQ(g.side_sinkage_minus, sinkage_at(in.width * (-0.5)));
  }
  // the band of the tilted wheel touches on one part of the width only
  ContactGeometry g;
  contact_geometry(banded_wheel(), false, &g);
  EXPECT_EQ(g.band_entry_angle[0], 0.0);
  EXPECT_GT(g.band_entry_angle[contact_strips - 1], 0.0);
}

TEST(StressProfile, IsTheDocumentedStressesAtAnyPoint) {
  const WheelSoilInput in = banded_wheel();
  const std::vector<double> y = {-0.08, -0.03, 0.0, 0.07};
  std::vector<double> theta;
  for (int j = -20; j <= 40; ++j) theta.push_back(j * 0.01);  // beyond both ends too
  Profile p(y.size() * theta.size());
  stress_profile(in, false, y.data(), y.size(), theta.data(), theta.size(), p.out());
  use_state(in);
  for (std::size_t i = 0; i < y.size(); ++i) {
    for (std::size_t j = 0; j < theta.size(); ++j) {
      const std::size_t k = i * theta.size() + j;
      EXPECT_EQ(p.sigma[k], normal_stress(y[i], theta[j])) << i << " " << j;
      EXPECT_EQ(p.tau_x[k], shear_stress_x(y[i], theta[j]));
      EXPECT_EQ(p.tau_y[k], shear_stress_y(y[i], theta[j]));
      EXPECT_EQ(p.j_x[k], shear_displacement_x(y[i], theta[j]));
      EXPECT_EQ(p.j_y[k], shear_displacement_y(y[i], theta[j]));
    }
  }
  // outputs not wanted are not written; no points, nothing read
  stress_profile(in, false, y.data(), y.size(), theta.data(), theta.size(),
                 {nullptr, nullptr, nullptr, nullptr, nullptr});
  stress_profile(in, false, nullptr, 0, nullptr, 0, p.out());
}

TEST(ContactDiagnostics, ABackwardWheelIsTheMirrorOfItsForwardImage) {
  const WheelSoilInput forward = readme_wheel();
  const WheelSoilInput backward = mirrored_input(forward);
  ContactGeometry f, b, plain;
  contact_geometry(forward, true, &f);
  contact_geometry(backward, true, &b);
  contact_geometry(backward, false, &plain);
  EXPECT_EQ(b.slip_ratio, f.slip_ratio);
  for (int i = 0; i < contact_strips; ++i) {
    EXPECT_EQ(b.sinkage[i], f.sinkage[i]);
    EXPECT_EQ(b.entry_angle[i], -f.entry_angle[i]);  // entry behind: at -x
    EXPECT_EQ(b.max_stress_angle[i], -f.max_stress_angle[i]);
    EXPECT_EQ(b.exit_angle[i], -f.exit_angle[i]);
    EXPECT_GT(plain.entry_angle[i], 0);  // without the option, in front
  }
  const std::vector<double> y = {0.0, 0.05};
  std::vector<double> theta, mirrored_theta;
  for (int j = -15; j <= 15; ++j) {
    theta.push_back(j * 0.02);
    mirrored_theta.push_back(-j * 0.02);
  }
  const std::size_t n = y.size() * theta.size();
  Profile pf(n), pb(n);
  stress_profile(forward, true, y.data(), y.size(), theta.data(), theta.size(), pf.out());
  stress_profile(backward, true, y.data(), y.size(), mirrored_theta.data(), theta.size(), pb.out());
  for (std::size_t k = 0; k < n; ++k) {
    EXPECT_EQ(pb.sigma[k], pf.sigma[k]);
    EXPECT_EQ(pb.tau_x[k], -pf.tau_x[k]);
    EXPECT_EQ(pb.tau_y[k], pf.tau_y[k]);
    EXPECT_EQ(pb.j_x[k], -pf.j_x[k]);
    EXPECT_EQ(pb.j_y[k], pf.j_y[k]);
  }
}

}  // namespace
