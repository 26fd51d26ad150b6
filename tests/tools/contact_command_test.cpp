// wheelsoil contact through its entry function: the library's contact
// diagnostics as CSV, the option lists, and the refusals.
#include <gtest/gtest.h>
#include <wheelsoil/wheelsoil.h>

#include <sstream>
#include <string>
#include <vector>

#include "contact_command.h"
#include "csv_writer.h"

namespace {

using namespace wheelsoil::detail::cli;

// The README's rover wheel forward and reversing, as a header table.
const char wheels[] =
    "radius,width,soil_density,cohesion,friction_angle,sinkage_exponent,k_c,k_phi,kx,ky,"
    "centre_height,c1,c2,c3,c4,vx,wy,gravity\n"
    "0.13,0.16,1600,1040,0.4886921905584123,1.1,990,1528430,0.025,0.025,0.12,0.4,0.15,0.1,0,"
    "0.08,0.7692307692307693,9.81\n"
    "0.13,0.16,1600,1040,0.4886921905584123,1.1,990,1528430,0.025,0.025,0.12,0.4,0.15,0.1,0,"
    "-0.08,-0.7692307692307693,9.81\n";

// The rover wheel's 29 inputs (vx, wy of the first row).
std::vector<double> forward_wheel() {
  std::vector<double> in(29, 0.0);
  in[WHEELSOIL_TALVOR_IN_vx] = 0.08;
  in[WHEELSOIL_TALVOR_IN_wy] = 0.7692307692307693;
  in[WHEELSOIL_TALVOR_IN_radius] = 0.13;
  in[WHEELSOIL_TALVOR_IN_width] = 0.16;
  in[WHEELSOIL_TALVOR_IN_band_ratio] = 1;
  in[WHEELSOIL_TALVOR_IN_soil_density] = 1600;
  in[WHEELSOIL_TALVOR_IN_cohesion] = 1040;
  in[WHEELSOIL_TALVOR_IN_friction_angle] = 0.4886921905584123;
  in[WHEELSOIL_TALVOR_IN_sinkage_exponent] = 1.1;
  in[WHEELSOIL_TALVOR_IN_k_c] = 990;
  in[WHEELSOIL_TALVOR_IN_k_phi] = 1528430;
  in[WHEELSOIL_TALVOR_IN_kx] = 0.025;
  in[WHEELSOIL_TALVOR_IN_ky] = 0.025;
  in[WHEELSOIL_TALVOR_IN_kr] = 1;
  in[WHEELSOIL_TALVOR_IN_centre_height] = 0.12;
  in[WHEELSOIL_TALVOR_IN_c1] = 0.4;
  in[WHEELSOIL_TALVOR_IN_c2] = 0.15;
  in[WHEELSOIL_TALVOR_IN_c3] = 0.1;
  in[WHEELSOIL_TALVOR_IN_gravity] = 9.81;
  return in;
}

struct ContactRun {
  int status;
  std::vector<std::string> lines;
  std::string err;
};

ContactRun run(const ContactOptions &options, const std::string &input) {
  std::istringstream in(input);
  std::ostringstream out, err;
  ContactRun r;
  r.status = contact_command(options, in, out, err);
  std::istringstream text(out.str());
  for (std::string line; std::getline(text, line);) r.lines.push_back(line);
  r.err = err.str();
  return r;
}

std::string row(std::initializer_list<double> values) {
  std::string s;
  for (double v : values) {
    if (!s.empty()) s += ',';
    append_number(&s, v);
  }
  return s;
}

TEST(ContactCommand, WritesTheGeometryOfEveryVector) {
  const ContactRun r = run({}, wheels);
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_EQ(r.lines.size(), 1u + 2 * WHEELSOIL_CONTACT_STRIPS);
  EXPECT_EQ(r.lines[0].rfind("vector,slip_ratio,y,sinkage,entry_angle,", 0), 0u);
  wheelsoil_contact c;
  ASSERT_EQ(
      wheelsoil_talvor_contact(forward_wheel().data(), 29, 0, &c, nullptr, 0, nullptr, 0, nullptr),
      0);
  EXPECT_EQ(r.lines[1],
            row({1, c.slip_ratio, c.y[0], c.sinkage[0], c.entry_angle[0], c.max_stress_angle[0],
                 c.exit_angle[0], c.band_entry_angle[0], c.band_max_stress_angle[0],
                 c.band_exit_angle[0], c.side_sinkage_plus, c.side_sinkage_minus}));
}

TEST(ContactCommand, WritesTheProfilesAtTheChosenPointsMirroredOnRequest) {
  ContactOptions options;
  std::string why;
  ASSERT_TRUE(parse_value_list("0,0.05", false, &options.y, &why));
  ASSERT_TRUE(parse_value_list("-0.05:0.4:10", true, &options.theta, &why));
  ASSERT_EQ(options.theta.size(), 10u);
  EXPECT_EQ(options.theta.front(), -0.05);
  EXPECT_EQ(options.theta.back(), 0.4);
  options.direction_aware = true;
  const ContactRun r = run(options, wheels);
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_EQ(r.lines.size(), 1u + 2 * 2 * 10);
  EXPECT_EQ(r.lines[0],
            "vector,y,theta,normal_stress,shear_stress_x,shear_stress_y,"
            "shear_displacement_x,shear_displacement_y");
  const std::vector<double> in = forward_wheel();
  const double y = 0.05, theta = options.theta[3], mirrored = -theta;
  double s[5], m[5];
  const wheelsoil_stress_profile ps{&s[0], &s[1], &s[2], &s[3], &s[4]};
  const wheelsoil_stress_profile pm{&m[0], &m[1], &m[2], &m[3], &m[4]};
  ASSERT_EQ(wheelsoil_talvor_contact(in.data(), 29, 0, nullptr, &y, 1, &theta, 1, &ps), 0);
  // the reversing wheel mirrored: the forward wheel's stresses at -theta
  ASSERT_EQ(wheelsoil_talvor_contact(in.data(), 29, 0, nullptr, &y, 1, &mirrored, 1, &pm), 0);
  EXPECT_EQ(r.lines[1 + 10 + 3], row({1, y, theta, s[0], s[1], s[2], s[3], s[4]}));
  EXPECT_EQ(r.lines[1 + 20 + 10 + 3], row({2, y, theta, m[0], -m[1], m[2], -m[3], m[4]}));
}

TEST(ContactCommand, RefusesBadListsAndBadInput) {
  std::vector<double> v;
  std::string why;
  for (const char *bad : {"", "1,,2", "a", "0:1:1", "0:1:2.5", "0:inf:3", "1:2", "0:1:2000000"})
    EXPECT_FALSE(parse_value_list(bad, true, &v, &why)) << bad;
  EXPECT_FALSE(parse_value_list("0:1:3", false, &v, &why));  // no grid for --y
  EXPECT_TRUE(parse_value_list("nan,-inf,1e-3", false, &v, &why));
  const ContactRun r = run({}, "radius,width\n0.13,0.16\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.lines.empty());
  EXPECT_NE(r.err.find("wheelsoil: line 1:"), std::string::npos);
  ContactOptions missing;
  missing.file = "/nonexistent/wheel.csv";
  EXPECT_EQ(run(missing, "").status, 1);
}

}  // namespace
