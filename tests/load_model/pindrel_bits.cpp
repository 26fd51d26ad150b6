// pindrel_bits MODULE [--check]: loads a pindrel MEX module built for our host
// layer, calls it through mex_host::call on the reference cases and on edge
// cases (degenerate spans, non-finite slots, a sample without slip, refused
// inputs), and prints one line per call: the result's bits in hex and its
// value, or the error message. A NaN prints as "nan": its sign and payload
// are not fixed by the arithmetic. Built for 32-bit and 64-bit x86, the two
// programs' outputs are compared byte for byte.
//
// With --check it also verifies the results (reference cases within their
// tolerance, the messages, shape-independence, no leaked arrays) and exits
// non-zero on a failure. Plain C++: GoogleTest is not available for 32-bit.
#include <dlfcn.h>

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "../golden.h"
#include "mex_host.h"

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
// The reference vectors hold to 1e-12 on any libm, the interpolated fit to 1e-9.
constexpr double golden_tolerance = 1e-12;
constexpr double interpolated_tolerance = 1e-9;

const char *const one_input = "One input argument required.";
const char *const too_many = "Too many output arguments.";
const char *const bad_input = "Input must be a real double array of at least 20 elements.";

mex_host::MexEntry entry = nullptr;
bool checking = false;
int failures = 0;

void fail(const std::string &label, const std::string &what) {
  ++failures;
  std::fprintf(stderr, "FAIL %s: %s\n", label.c_str(), what.c_str());
}

std::string bits_text(double v) {
  if (std::isnan(v)) return "nan";
  std::uint64_t u;
  std::memcpy(&u, &v, sizeof u);
  char text[64];
  std::snprintf(text, sizeof text, "%016" PRIx64 " %.17g", u, v);
  return text;
}

// One call; prints its line and returns the result (NaN after an error).
struct Outcome {
  bool ok;
  double value;
  std::string message;
};

Outcome run(const std::string &label, int nlhs, const std::vector<const mxArray *> &args) {
  mex_host::CallResult r = mex_host::call(entry, nlhs, args);
  Outcome out{r.ok, nan, r.message};
  if (r.ok) {
    const std::vector<double> v = r.values();
    if (r.outputs.empty() || mxGetM(r.outputs[0]) != 1 || mxGetN(r.outputs[0]) != 1 ||
        v.size() != 1) {
      fail(label, "result is not 1x1");
    } else {
      out.value = v[0];
    }
    std::printf("%s %s\n", label.c_str(), bits_text(out.value).c_str());
  } else {
    std::printf("%s error %s\n", label.c_str(), r.message.c_str());
  }
  mex_host::release(r);
  return out;
}

// pindrel(p) with p a 1 x n row, n = values.size().
Outcome run_row(const std::string &label, const std::vector<double> &values, int nlhs = 1) {
  mxArray *p = mex_host::make_double(1, values.size(), values);
  const Outcome out = run(label, nlhs, {p});
  mex_host::destroy(p);
  return out;
}

void expect_message(const std::string &label, const Outcome &out, const char *message) {
  if (checking && (out.ok || out.message != message))
    fail(label, "expected \"" + std::string(message) + "\", got \"" + out.message + "\"");
}

void expect_same(const std::string &label, const Outcome &out, double expected) {
  if (checking && !(out.ok && golden::same_value(out.value, expected)))
    fail(label, "differs from " + bits_text(expected));
}

std::vector<double> with_slot(std::vector<double> p, int slot, double value) {
  p[std::size_t(slot)] = value;
  return p;
}

void reference_cases(const std::vector<golden::Case> &cases) {
  for (const golden::Case &c : cases) {
    const std::string label = "reference/" + c.name;
    const Outcome out = run_row(label, c.inputs);
    const double tolerance =
        c.name == "small_front_span" ? interpolated_tolerance : golden_tolerance;
    if (checking && !(out.ok && golden::relative_error({out.value}, c.outputs) <= tolerance))
      fail(label, "expected " + bits_text(c.outputs[0]) + ", got " + bits_text(out.value));
  }
}

// Indices into the 20 slots.
enum Slot {
  width = 1,
  band_ratio = 2,
  radius = 3,
  spare_4 = 4,
  cohesion = 5,
  sinkage_exponent = 7,
  shear_modulus = 10,
  rim_entry = 11,
  band_entry = 12,
  front = 13,
  peak = 14,
  rear = 15,
  slip = 16,
  slip_angle = 17,
  spare_18 = 18,
  spare_19 = 19
};

void degenerate_spans(const std::vector<double> &base) {
  const double m = base[peak];
  const double ulp_up = std::nextafter(m, inf), ulp_down = std::nextafter(m, -inf);
  const struct {
    const char *name;
    double front, rear;
  } spans[] = {
      {"front_zero", m, base[rear]},        {"front_ulp", ulp_up, base[rear]},
      {"front_1e-6", m + 1e-6, base[rear]}, {"front_0.01", m + 0.01, base[rear]},
      {"front_0.07", m + 0.07, base[rear]}, {"front_0.075", m + 0.075, base[rear]},
      {"rear_zero", base[front], m},        {"rear_ulp", base[front], ulp_down},
      {"rear_1e-6", base[front], m - 1e-6}, {"rear_0.01", base[front], m - 0.01},
      {"rear_0.07", base[front], m - 0.07}, {"both_zero", m, m},
      {"both_ulp", ulp_up, ulp_down},
  };
  for (const auto &s : spans) {
    std::vector<double> p = with_slot(with_slot(base, front, s.front), rear, s.rear);
    const Outcome out = run_row(std::string("span/") + s.name, p);
    if (checking && !std::isfinite(out.value))
      fail(std::string("span/") + s.name, "load is not finite");
  }
}

void model_edges(const std::vector<double> &base) {
  const struct {
    const char *name;
    std::vector<std::pair<int, double>> slots;
  } edges[] = {
      {"no_slip_at_exit", {{rear, 0.0}, {slip, 0.0}, {slip_angle, 0.0}}},
      {"no_slip_at_peak", {{peak, 0.0}, {slip, 0.0}, {slip_angle, 0.0}}},
      {"full_skid", {{slip, -1.0}}},
      {"skid", {{slip, -0.5}}},
      {"full_slip", {{slip, 1.0}}},
      {"slip_2", {{slip, 2.0}}},
      {"slip_angle_right", {{slip_angle, 1.5707963267948966}}},
      {"rigid_soil", {{shear_modulus, 0.0}}},
      {"exponent_0", {{sinkage_exponent, 0.0}}},
      {"exponent_1", {{sinkage_exponent, 1.0}}},
      {"exponent_2.5", {{sinkage_exponent, 2.5}}},
      {"band_only", {{band_ratio, 0.0}, {band_entry, 0.2}}},
      {"band_blend", {{band_ratio, 0.6}, {band_entry, 0.2}, {0, 0.45}}},
      {"front_beyond_entry", {{front, 0.3}}},
      {"exit_ahead_of_entry", {{rear, 0.35}}},
      {"no_radius", {{radius, 0.0}}},
      {"no_width", {{width, 0.0}}},
      {"no_cohesion", {{cohesion, 0.0}}},
  };
  for (const auto &e : edges) {
    std::vector<double> p = base;
    for (const auto &s : e.slots) p[std::size_t(s.first)] = s.second;
    run_row(std::string("edge/") + e.name, p);
  }
  const double expected = run_row("edge/base", base).value;
  for (int slot = 0; slot < 20; ++slot) {
    for (double v : {nan, inf, -inf}) {
      const std::string label = "slot/" + std::to_string(slot) + "=" +
                                (std::isnan(v) ? "nan"
                                 : v > 0       ? "inf"
                                               : "-inf");
      const Outcome out = run_row(label, with_slot(base, slot, v));
      if (slot == spare_4 || slot == spare_18 || slot == spare_19)
        expect_same(label, out, expected);
    }
  }
}

void shapes_and_messages(const std::vector<double> &base) {
  const double expected = run_row("shape/row", base).value;
  mxArray *column = mex_host::make_double(20, 1, base);
  std::vector<double> longer = base;
  longer.insert(longer.end(), {1.0, 2.0, 3.0, 4.0});
  mxArray *matrix = mex_host::make_double(4, 6, longer);
  expect_same("shape/column", run("shape/column", 1, {column}), expected);
  expect_same("shape/4x6", run("shape/4x6", 1, {matrix}), expected);
  expect_same("shape/nlhs_0", run("shape/nlhs_0", 0, {column}), expected);

  for (int nlhs : {0, 1, 2}) {
    const std::string n = std::to_string(nlhs);
    expect_message("args/none_" + n, run("args/none_" + n, nlhs, {}), one_input);
    expect_message("args/two_" + n, run("args/two_" + n, nlhs, {column, column}), one_input);
  }
  expect_message("args/two_outputs", run("args/two_outputs", 2, {column}), too_many);

  const struct {
    const char *name;
    mxArray *array;
  } refused[] = {
      {"short", mex_host::make_double(1, 19, base)},
      {"empty", mex_host::make_double(0, 0, {})},
      {"single", mex_host::make_array(mxSINGLE_CLASS, 1, 20)},
      {"int32", mex_host::make_array(mxINT32_CLASS, 1, 20)},
      {"logical", mex_host::make_array(mxLOGICAL_CLASS, 1, 20)},
      {"char", mex_host::make_array(mxCHAR_CLASS, 1, 20)},
      {"cell", mex_host::make_array(mxCELL_CLASS, 1, 20)},
      {"complex", mex_host::make_array(mxDOUBLE_CLASS, 1, 20, true)},
      {"sparse", mex_host::make_array(mxDOUBLE_CLASS, 1, 20, false, true)},
  };
  for (const auto &r : refused) {
    const std::string label = std::string("refused/") + r.name;
    expect_message(label, run(label, 1, {r.array}), bad_input);
    mex_host::destroy(r.array);
  }
  mex_host::destroy(column);
  mex_host::destroy(matrix);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "--check") != 0)) {
    std::fprintf(stderr, "usage: %s MODULE [--check]\n", argv[0]);
    return 2;
  }
  checking = argc == 3;
  void *module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!module) {
    std::fprintf(stderr, "%s\n", dlerror());
    return 2;
  }
  entry = reinterpret_cast<mex_host::MexEntry>(dlsym(module, "mexFunction"));
  if (!entry) {
    std::fprintf(stderr, "%s: no mexFunction\n", argv[1]);
    return 2;
  }

  const std::vector<golden::Case> cases = golden::load("pindrel.txt", 20, 1);
  std::vector<double> base;
  for (const golden::Case &c : cases)
    if (c.name == "base") base = c.inputs;
  if (base.empty()) {
    std::fprintf(stderr, "no reference case \"base\"\n");
    return 2;
  }

  reference_cases(cases);
  degenerate_spans(base);
  model_edges(base);
  shapes_and_messages(base);

  if (mex_host::live_arrays() != 0) fail("arrays", "arrays left alive after the calls");
  if (checking) std::fprintf(stderr, "pindrel_bits: %d failures\n", failures);
  return failures == 0 ? 0 : 1;
}
