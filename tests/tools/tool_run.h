// Running the wheelsoil program from a test: under bash, with its output
// captured, on files of the test's own (CTest runs tests side by side).
#ifndef WHEELSOIL_TESTS_TOOLS_TOOL_RUN_H
#define WHEELSOIL_TESTS_TOOLS_TOOL_RUN_H

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace tool_run {

struct ToolRun {
  int status = -1;
  std::string out, err;
};

inline std::string stem() {
  static int runs = 0;  // one counter for the test program
  return testing::TempDir() + "wheelsoil_io_" + std::to_string(getpid()) + "_" +
         std::to_string(++runs);
}

inline std::string slurp(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs `shell` (which names the tool as $T) under bash; standard output and
// error are captured unless shell redirects them.
inline ToolRun run_shell(const std::string &shell) {
  const std::string base = stem(), out = base + "_out.txt", err = base + "_err.txt";
  const std::string command = "T='" + std::string(WHEELSOIL_TOOL) + "' bash -c '" + shell +
                              "' > '" + out + "' 2> '" + err + "'";
  const int raw = std::system(command.c_str());
  ToolRun r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = slurp(out);
  r.err = slurp(err);
  std::remove(out.c_str());
  std::remove(err.c_str());
  return r;
}

// A file of `rows` identical lines.
inline std::string write_rows(const std::string &line, std::size_t rows) {
  const std::string path = stem() + "_rows.txt";
  std::ofstream f(path, std::ios::binary);
  std::string block;
  for (int k = 0; k < 1000; ++k) block += line;
  for (std::size_t k = 0; k < rows / 1000; ++k) f << block;
  for (std::size_t k = 0; k < rows % 1000; ++k) f << line;
  return path;
}

inline std::string repeat(const char *value, int n) {
  std::string s;
  for (int k = 0; k < n; ++k) s += std::string(k ? " " : "") + value;
  return s + "\n";
}

// A rover wheel in dry sand: an operating point exists at 50 N.
inline const std::string wheel_header =
    "radius,width,centre_height,soil_density,cohesion,friction_angle,sinkage_exponent,k_c,k_phi,"
    "kx,ky,c1,c2,c3,c4,gravity,vx,wy\n";
inline const std::string wheel_row =
    "0.13,0.16,0.12,1600,1040,0.48869219055841229,1.1,990,1528430,0.025,0.025,0.4,0.15,0.1,0,"
    "9.81,0.08,0.76923076923076927\n";

}  // namespace tool_run

#endif
