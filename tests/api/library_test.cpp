// The public library through its C++ API and its C interface: the bits of the
// MEX path for single calls and for batches over any memory layout and thread
// count, a progress function that stops a batch, every refusal with its code,
// the operating point, and the slot and soil tables.
#include <gtest/gtest.h>
#include <wheelsoil/version.h>
#include <wheelsoil/wheelsoil.h>
#include <wheelsoil/wheelsoil.hpp>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "../full_model/generated_inputs.h"
#include "../golden.h"
#include "contact_diagnostics.h"
#include "evaluation_modes.h"
#include "load_model.h"
#include "vector_loads.h"
#include "wheel_equilibrium.h"
#include "wheel_soil_model.h"

namespace {

namespace full_model = wheelsoil::detail::full_model;
namespace load_model = wheelsoil::detail::load_model;

// The inputs of a reference file, one vector after another.
std::vector<double> packed_inputs(const char *file, std::size_t slots, std::size_t outputs) {
  std::vector<double> v;
  for (const auto &c : golden::load(file, slots, outputs))
    v.insert(v.end(), c.inputs.begin(), c.inputs.end());
  return v;
}

// talvor by the MEX path, vector after vector.
std::vector<double> talvor_mex(const std::vector<double> &packed) {
  std::vector<double> out(packed.size() / 29 * 18);
  for (std::size_t k = 0; k < packed.size() / 29; ++k)
    full_model::run_model(&out[18 * k], &packed[29 * k]);
  return out;
}

std::vector<double> pindrel_mex(const std::vector<double> &packed) {
  std::vector<double> out(packed.size() / 20);
  for (std::size_t k = 0; k < out.size(); ++k) load_model::run_load_model(&out[k], &packed[20 * k]);
  return out;
}

bool same_bits(const std::vector<double> &a, const std::vector<double> &b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// The same vectors stored slot-major (column-major count x slots).
std::vector<double> slot_major(const std::vector<double> &packed, std::size_t slots) {
  const std::size_t count = packed.size() / slots;
  std::vector<double> t(packed.size());
  for (std::size_t k = 0; k < count; ++k)
    for (std::size_t j = 0; j < slots; ++j) t[j * count + k] = packed[slots * k + j];
  return t;
}

TEST(LibrarySingleCalls, GiveTheMexPathsBits) {
  const auto generated = generated::inputs(300, 11);
  std::vector<double> talvor_inputs = packed_inputs("talvor.txt", 29, 18);
  for (const auto &p : generated) talvor_inputs.insert(talvor_inputs.end(), p.begin(), p.end());
  const std::vector<double> expected = talvor_mex(talvor_inputs);
  std::vector<double> cpp(expected.size()), c(expected.size());
  for (std::size_t k = 0; k < talvor_inputs.size() / 29; ++k) {
    wheelsoil::WheelSoilInput in;
    std::memcpy(&in, &talvor_inputs[29 * k], sizeof in);
    const wheelsoil::WheelSoilOutput out = wheelsoil::talvor(in);
    std::memcpy(&cpp[18 * k], &out, sizeof out);
    ASSERT_EQ(wheelsoil_talvor(&talvor_inputs[29 * k], 29, &c[18 * k]), WHEELSOIL_OK);
  }
  EXPECT_TRUE(same_bits(cpp, expected));
  EXPECT_TRUE(same_bits(c, expected));

  const std::vector<double> pindrel_inputs = packed_inputs("pindrel.txt", 20, 1);
  const std::vector<double> loads = pindrel_mex(pindrel_inputs);
  for (std::size_t k = 0; k < loads.size(); ++k) {
    wheelsoil::LoadModelInput in;
    std::memcpy(&in, &pindrel_inputs[20 * k], sizeof in);
    EXPECT_TRUE(golden::same_value(wheelsoil::pindrel(in), loads[k])) << k;
    double load = -1;
    // A longer input is read only as far as the model reads.
    std::vector<double> longer(pindrel_inputs.begin() + 20 * k,
                               pindrel_inputs.begin() + 20 * k + 20);
    longer.push_back(NAN);
    ASSERT_EQ(wheelsoil_pindrel(longer.data(), longer.size(), &load), WHEELSOIL_OK);
    EXPECT_TRUE(golden::same_value(load, loads[k])) << k;
  }
}

// A memory layout of the same vectors.
struct Layout {
  const char *name;
  std::vector<double> data;
  wheelsoil::InputView view;
};

// The vectors of `packed` (slots each) in every layout the batches read.
std::vector<Layout> layouts(const std::vector<double> &packed, std::size_t slots) {
  const std::size_t count = packed.size() / slots;
  std::vector<Layout> all;
  all.reserve(3);  // the views point into the layouts' own data
  all.push_back({"vector-major", packed, {}});
  all.back().view = wheelsoil::packed(all.back().data.data(), count, slots);
  all.push_back({"slot-major", slot_major(packed, slots), {}});
  all.back().view = wheelsoil::slot_major(all.back().data.data(), count);
  // Every other double, vectors in reverse order and slots backwards.
  std::vector<double> spread(2 * packed.size());
  for (std::size_t k = 0; k < count; ++k)
    for (std::size_t j = 0; j < slots; ++j)
      spread[2 * ((count - 1 - k) * slots + (slots - 1 - j))] = packed[slots * k + j];
  all.push_back({"reversed and strided", spread, {}});
  Layout &r = all.back();
  r.view = {r.data.data() + 2 * (count * slots - 1), count, -2 * std::ptrdiff_t(slots), -2};
  return all;
}

TEST(LibraryBatches, ReadAnyLayoutOnAnyThreadCountWithTheSingleCallsBits) {
  std::vector<double> talvor_inputs = packed_inputs("talvor.txt", 29, 18);
  for (const auto &p : generated::inputs(60, 5))
    talvor_inputs.insert(talvor_inputs.end(), p.begin(), p.end());
  const std::vector<double> talvor_expected = talvor_mex(talvor_inputs);
  // The reference cases six times over: enough vectors for a few blocks.
  const std::vector<double> pindrel_cases = packed_inputs("pindrel.txt", 20, 1);
  std::vector<double> pindrel_inputs;
  for (int copies = 0; copies < 6; ++copies)
    pindrel_inputs.insert(pindrel_inputs.end(), pindrel_cases.begin(), pindrel_cases.end());
  const std::vector<double> pindrel_expected = pindrel_mex(pindrel_inputs);

  for (unsigned threads : {1u, 2u, 3u, 0u}) {
    const wheelsoil::BatchOptions batch{threads, {}};
    for (const Layout &l : layouts(talvor_inputs, 29)) {
      std::vector<double> out(talvor_expected.size(), -1);
      const wheelsoil::BatchResult r = wheelsoil::talvor_batch(l.view, out.data(), batch);
      EXPECT_EQ(r.done, l.view.count);
      EXPECT_FALSE(r.stopped);
      EXPECT_TRUE(same_bits(out, talvor_expected)) << l.name << ", " << threads << " threads";
    }
    for (const Layout &l : layouts(pindrel_inputs, 20)) {
      std::vector<double> out(pindrel_expected.size(), -1);
      wheelsoil::pindrel_batch(l.view, out.data(), batch);
      EXPECT_TRUE(same_bits(out, pindrel_expected)) << l.name << ", " << threads << " threads";
    }
  }
  // The plain C forms: vectors one after another.
  std::vector<double> out(talvor_expected.size());
  ASSERT_EQ(wheelsoil_talvor_batch(talvor_inputs.data(), talvor_inputs.size() / 29, out.data(), 2),
            WHEELSOIL_OK);
  EXPECT_TRUE(same_bits(out, talvor_expected));
  std::vector<double> loads(pindrel_expected.size());
  ASSERT_EQ(wheelsoil_pindrel_batch(pindrel_inputs.data(), loads.size(), loads.data(), 0),
            WHEELSOIL_OK);
  EXPECT_TRUE(same_bits(loads, pindrel_expected));
  // A vector stride of 0 repeats one vector; nothing to do is no error.
  std::vector<double> repeated(5);
  wheelsoil::pindrel_batch({pindrel_inputs.data(), 5, 0, 1}, repeated.data());
  for (double v : repeated) EXPECT_TRUE(golden::same_value(v, pindrel_expected[0]));
  EXPECT_EQ(wheelsoil_talvor_batch(nullptr, 0, nullptr, 4), WHEELSOIL_OK);
}

TEST(LibraryBatches, AProgressFunctionSeesTheCountsAndMayStop) {
  std::vector<double> inputs;
  for (const auto &p : generated::inputs(64, 3)) inputs.insert(inputs.end(), p.begin(), p.end());
  const std::size_t count = inputs.size() / 29;
  const std::vector<double> expected = talvor_mex(inputs);

  wheelsoil::BatchResult r;
  for (unsigned threads : {1u, 2u}) {
    std::size_t last = 0, calls = 0;
    wheelsoil::BatchOptions watch{threads, [&](std::size_t done, std::size_t total) {
                                    EXPECT_EQ(total, count);
                                    EXPECT_GE(done, last);
                                    last = done;
                                    ++calls;
                                    return wheelsoil::Progress::proceed;
                                  }};
    std::vector<double> out(expected.size());
    r = wheelsoil::talvor_batch(wheelsoil::packed(inputs.data(), count, 29), out.data(), watch);
    EXPECT_EQ(r.done, count) << threads;
    EXPECT_FALSE(r.stopped) << threads;
    // Alone, the calling thread reports after each of its blocks. With a
    // helper, the helper may take every block before the calling thread takes
    // one (a descheduled caller) and end before it would wait: no report.
    if (threads == 1) {
      EXPECT_GT(calls, 0u);
    }
    EXPECT_TRUE(same_bits(out, expected)) << threads;
  }

  // Stopped after the first report: a prefix is done, the rest untouched.
  for (unsigned threads : {1u, 2u}) {
    std::vector<double> part(expected.size(), -7.0);
    const wheelsoil::BatchOptions stop{
        threads, [](std::size_t, std::size_t) { return wheelsoil::Progress::stop; }};
    r = wheelsoil::talvor_batch(wheelsoil::packed(inputs.data(), count, 29), part.data(), stop);
    // Alone, the calling thread stops after its first block. With a helper,
    // the helper may have finished every other block by then (fast items, a
    // descheduled caller): the prefix property holds either way.
    if (threads == 1) {
      EXPECT_LT(r.done, count);
    }
    EXPECT_EQ(r.stopped, r.done < count);
    EXPECT_GT(r.done, 0u);
    EXPECT_EQ(std::memcmp(part.data(), expected.data(), 18 * r.done * sizeof(double)), 0);
    for (std::size_t k = 18 * r.done; k < part.size(); ++k) ASSERT_EQ(part[k], -7.0) << k;
    // The C interface says the same with its status.
    std::size_t done = 0;
    auto stop_at_once = [](void *, std::size_t, std::size_t) { return 1; };
    const int status = wheelsoil_talvor_batch_ex(inputs.data(), count, 29, 1, part.data(), threads,
                                                 0, stop_at_once, nullptr, &done);
    if (threads == 1) {
      EXPECT_EQ(status, WHEELSOIL_STOPPED);
    }
    EXPECT_EQ(status, done < count ? WHEELSOIL_STOPPED : WHEELSOIL_OK);
  }

  // An exception from the progress function reaches the caller: always when
  // the calling thread is alone, else whenever it was asked at all (see above).
  std::vector<double> out(expected.size());
  for (unsigned threads : {1u, 2u}) {
    bool asked = false;
    const wheelsoil::BatchOptions throwing{
        threads, [&asked](std::size_t, std::size_t) -> wheelsoil::Progress {
          asked = true;
          throw std::runtime_error("cancelled");
        }};
    bool thrown = false;
    try {
      wheelsoil::talvor_batch(wheelsoil::packed(inputs.data(), count, 29), out.data(), throwing);
    } catch (const std::runtime_error &) {
      thrown = true;
    }
    EXPECT_EQ(thrown, asked) << threads;
    if (threads == 1) {
      EXPECT_TRUE(thrown);
    }
  }
}

TEST(LibraryVectorMath, GivesTheVectorPathsBitsThroughBothInterfaces) {
  const std::vector<double> in = packed_inputs("talvor.txt", 29, 18);
  const std::size_t count = in.size() / 29;
  double probe[18];
  if (!wheelsoil::detail::full_model::vector_math_available()) {
    EXPECT_EQ(wheelsoil_talvor_ex(in.data(), 29, probe, WHEELSOIL_MATH_VECTOR),
              WHEELSOIL_ERROR_UNAVAILABLE);
    return;
  }
  std::vector<double> own(18 * count), single(18 * count), batch(18 * count), cpp(18 * count);
  for (std::size_t k = 0; k < count; ++k) {
    wheelsoil::detail::full_model::run_model_vector(&own[18 * k], &in[29 * k]);
    ASSERT_EQ(wheelsoil_talvor_ex(&in[29 * k], 29, &single[18 * k], WHEELSOIL_MATH_VECTOR), 0);
  }
  EXPECT_EQ(std::memcmp(own.data(), single.data(), own.size() * sizeof(double)), 0);
  // a column-major layout, on two threads
  std::vector<double> columns(in.size());
  for (std::size_t k = 0; k < count; ++k)
    for (std::size_t j = 0; j < 29; ++j) columns[j * count + k] = in[29 * k + j];
  ASSERT_EQ(wheelsoil_talvor_batch_ex(columns.data(), count, 1, std::ptrdiff_t(count), batch.data(),
                                      2, WHEELSOIL_MATH_VECTOR, nullptr, nullptr, nullptr),
            0);
  EXPECT_EQ(std::memcmp(own.data(), batch.data(), own.size() * sizeof(double)), 0);
  wheelsoil::Options vector;
  vector.math = wheelsoil::Math::vector;
  wheelsoil::BatchOptions two;
  two.threads = 2;
  wheelsoil::talvor_batch(wheelsoil::packed(in.data(), count, 29), cpp.data(), two, vector);
  EXPECT_EQ(std::memcmp(own.data(), cpp.data(), own.size() * sizeof(double)), 0);
  // and pindrel refuses it
  try {
    wheelsoil::pindrel(wheelsoil::LoadModelInput{}, vector);
    ADD_FAILURE() << "no exception";
  } catch (const wheelsoil::Error &e) {
    EXPECT_EQ(e.code(), WHEELSOIL_ERROR_FLAGS);
  }
}

TEST(LibraryModes, TheOptionsReachTheEvaluationModesThroughBothInterfaces) {
  const std::vector<double> in = packed_inputs("talvor.txt", 29, 18);
  const std::size_t count = in.size() / 29;
  for (const unsigned flags : {WHEELSOIL_DIRECTION_AWARE, WHEELSOIL_SPLIT_RULE,
                               WHEELSOIL_DIRECTION_AWARE | WHEELSOIL_SPLIT_RULE}) {
    full_model::EvaluationMode mode;
    mode.direction_aware = (flags & WHEELSOIL_DIRECTION_AWARE) != 0;
    mode.split_rule = (flags & WHEELSOIL_SPLIT_RULE) != 0;
    std::vector<double> own(18 * count), single(18 * count), batch(18 * count), cpp(18 * count);
    for (std::size_t k = 0; k < count; ++k) {
      wheelsoil::WheelSoilInput record;
      std::memcpy(&record, &in[29 * k], sizeof record);
      full_model::evaluate_input(record, mode,
                                 reinterpret_cast<wheelsoil::WheelSoilOutput *>(&own[18 * k]));
      ASSERT_EQ(wheelsoil_talvor_ex(&in[29 * k], 29, &single[18 * k], flags), 0);
    }
    EXPECT_TRUE(same_bits(own, single)) << flags;
    ASSERT_EQ(wheelsoil_talvor_batch_ex(in.data(), count, 29, 1, batch.data(), 2, flags, nullptr,
                                        nullptr, nullptr),
              0);
    EXPECT_TRUE(same_bits(own, batch)) << flags;
    wheelsoil::Options options;
    options.direction_aware = mode.direction_aware;
    options.rule = mode.split_rule ? wheelsoil::Rule::split : wheelsoil::Rule::fixed;
    wheelsoil::talvor_batch(wheelsoil::packed(in.data(), count, 29), cpp.data(), {}, options);
    EXPECT_TRUE(same_bits(own, cpp)) << flags;
  }
}

TEST(LibraryContact, GivesTheGeometryAndTheProfileOfTheCore) {
  const std::vector<double> in = packed_inputs("talvor.txt", 29, 18);
  wheelsoil::WheelSoilInput record;
  std::memcpy(&record, in.data(), sizeof record);
  const std::vector<double> y = {0.0, 0.01};
  const std::vector<double> theta = {-0.1, 0.0, 0.1, 0.2};
  const wheelsoil::Contact c = wheelsoil::talvor_contact(record, y, theta);
  full_model::ContactGeometry g;
  full_model::contact_geometry(record, false, &g);
  EXPECT_EQ(c.slip_ratio, g.slip_ratio);
  ASSERT_EQ(c.entry_angle.size(), wheelsoil::Contact::strips);
  for (std::size_t i = 0; i < wheelsoil::Contact::strips; ++i) {
    EXPECT_EQ(c.y[i], g.y[i]);
    EXPECT_EQ(c.sinkage[i], g.sinkage[i]);
    EXPECT_EQ(c.entry_angle[i], g.entry_angle[i]);
    EXPECT_EQ(c.band_exit_angle[i], g.band_exit_angle[i]);
  }
  EXPECT_EQ(c.side_sinkage_minus, g.side_sinkage_minus);
  std::vector<double> sigma(8), tau_x(8), tau_y(8), j_x(8), j_y(8);
  full_model::stress_profile(record, false, y.data(), 2, theta.data(), 4,
                             {sigma.data(), tau_x.data(), tau_y.data(), j_x.data(), j_y.data()});
  EXPECT_TRUE(same_bits(c.normal_stress, sigma));
  EXPECT_TRUE(same_bits(c.shear_stress_x, tau_x));
  EXPECT_TRUE(same_bits(c.shear_stress_y, tau_y));
  EXPECT_TRUE(same_bits(c.shear_displacement_x, j_x));
  EXPECT_TRUE(same_bits(c.shear_displacement_y, j_y));
  EXPECT_EQ(c.normal_stress[c.index(1, 2)], sigma[6]);
  // the geometry alone: no profile, nothing read of y and theta
  EXPECT_TRUE(wheelsoil::talvor_contact(record).normal_stress.empty());
}

TEST(LibraryRefusals, EachBadArgumentHasItsCodeAndMessage) {
  const std::vector<double> in = packed_inputs("talvor.txt", 29, 18);
  double out[18];
  double load;
  EXPECT_EQ(wheelsoil_talvor(nullptr, 29, out), WHEELSOIL_ERROR_NULL_POINTER);
  EXPECT_EQ(wheelsoil_talvor(in.data(), 29, nullptr), WHEELSOIL_ERROR_NULL_POINTER);
  EXPECT_EQ(wheelsoil_talvor(in.data(), 28, out), WHEELSOIL_ERROR_SHORT_INPUT);
  EXPECT_EQ(wheelsoil_pindrel(in.data(), 19, &load), WHEELSOIL_ERROR_SHORT_INPUT);
  EXPECT_EQ(wheelsoil_talvor_ex(in.data(), 29, out, 8u), WHEELSOIL_ERROR_FLAGS);
  // the split rule takes the C library's functions; the options are talvor's
  EXPECT_EQ(wheelsoil_talvor_ex(in.data(), 29, out, WHEELSOIL_SPLIT_RULE | WHEELSOIL_MATH_VECTOR),
            WHEELSOIL_ERROR_FLAGS);
  EXPECT_EQ(wheelsoil_pindrel_ex(in.data(), 20, &load, WHEELSOIL_DIRECTION_AWARE),
            WHEELSOIL_ERROR_FLAGS);
  EXPECT_EQ(wheelsoil_pindrel_ex(in.data(), 20, &load, WHEELSOIL_SPLIT_RULE),
            WHEELSOIL_ERROR_FLAGS);
  wheelsoil_contact contact;
  const double angle = 0;
  const wheelsoil_stress_profile profile{out, nullptr, nullptr, nullptr, nullptr};
  EXPECT_EQ(wheelsoil_talvor_contact(nullptr, 29, 0, &contact, nullptr, 0, nullptr, 0, nullptr),
            WHEELSOIL_ERROR_NULL_POINTER);
  EXPECT_EQ(wheelsoil_talvor_contact(in.data(), 28, 0, &contact, nullptr, 0, nullptr, 0, nullptr),
            WHEELSOIL_ERROR_SHORT_INPUT);
  EXPECT_EQ(wheelsoil_talvor_contact(in.data(), 29, WHEELSOIL_MATH_VECTOR, &contact, nullptr, 0,
                                     nullptr, 0, nullptr),
            WHEELSOIL_ERROR_FLAGS);
  EXPECT_EQ(wheelsoil_talvor_contact(in.data(), 29, 0, nullptr, nullptr, 1, &angle, 1, &profile),
            WHEELSOIL_ERROR_NULL_POINTER);
  EXPECT_EQ(wheelsoil_talvor_contact(in.data(), 29, 0, nullptr, &angle, SIZE_MAX / 4, &angle, 4,
                                     &profile),
            WHEELSOIL_ERROR_VIEW);
  // the vector maths is talvor's alone
  EXPECT_EQ(wheelsoil_pindrel_ex(in.data(), 20, &load, WHEELSOIL_MATH_VECTOR),
            WHEELSOIL_ERROR_FLAGS);
  EXPECT_EQ(wheelsoil_pindrel_ex(in.data(), 20, &load, 0x80000000u), WHEELSOIL_ERROR_FLAGS);
  EXPECT_EQ(wheelsoil_talvor_batch(in.data(), 1, out, 1025), WHEELSOIL_ERROR_THREADS);
  EXPECT_EQ(wheelsoil_talvor_batch(in.data(), 1, nullptr, 1), WHEELSOIL_ERROR_NULL_POINTER);
  EXPECT_EQ(wheelsoil_talvor_batch_ex(in.data(), 3, PTRDIFF_MAX / 2, 1, out, 1, 0, nullptr, nullptr,
                                      nullptr),
            WHEELSOIL_ERROR_VIEW);
  EXPECT_EQ(wheelsoil_pindrel_batch_ex(in.data(), 2, 20, PTRDIFF_MIN, out, 1, 0, nullptr, nullptr,
                                       nullptr),
            WHEELSOIL_ERROR_VIEW);
  wheelsoil_equilibrium_result result;
  wheelsoil_equilibrium_options options = wheelsoil_equilibrium_defaults();
  options.tolerance = NAN;
  EXPECT_EQ(wheelsoil_equilibrium_ex(in.data(), 29, 50, &options, 0, &result),
            WHEELSOIL_ERROR_OPTIONS);
  options = wheelsoil_equilibrium_defaults();
  options.max_iterations = 0;
  EXPECT_EQ(wheelsoil_equilibrium_ex(in.data(), 29, 50, &options, 0, &result),
            WHEELSOIL_ERROR_OPTIONS);

  // Every status has a message of its own.
  std::set<std::string> messages;
  for (int code = WHEELSOIL_OK; code <= WHEELSOIL_STOPPED; ++code)
    messages.insert(wheelsoil_error_message(code));
  EXPECT_EQ(messages.size(), std::size_t(WHEELSOIL_STOPPED + 1));
  EXPECT_STREQ(wheelsoil_error_message(-1), "unknown wheelsoil status code");

  // The C++ API throws the same code.
  wheelsoil::BatchOptions too_many;
  too_many.threads = 5000;
  try {
    wheelsoil::talvor_batch(wheelsoil::packed(in.data(), 1, 29), out, too_many);
    ADD_FAILURE() << "no exception";
  } catch (const wheelsoil::Error &e) {
    EXPECT_EQ(e.code(), WHEELSOIL_ERROR_THREADS);
    EXPECT_STREQ(e.what(), wheelsoil_error_message(WHEELSOIL_ERROR_THREADS));
  }
}

TEST(LibraryEquilibrium, GivesTheSolversBitsAloneAndInBatches) {
  namespace eq = wheelsoil::detail::equilibrium;
  const auto cases = golden::load("talvor.txt", 29, 18);
  std::vector<double> packed;
  std::vector<double> loads;
  for (std::size_t k = 0; k < cases.size(); ++k) {
    packed.insert(packed.end(), cases[k].inputs.begin(), cases[k].inputs.end());
    loads.push_back(k % 3 == 2 ? -1.0 : 20.0 + 5.0 * double(k));  // some refused loads
  }
  const std::size_t count = cases.size();
  std::vector<wheelsoil::EquilibriumResult> batch(count);
  const std::vector<double> columns = slot_major(packed, 29);
  const wheelsoil::BatchResult r = wheelsoil::solve_equilibrium_batch(
      wheelsoil::slot_major(columns.data(), count), loads.data(), 1, batch.data(), {2, {}});
  EXPECT_EQ(r.done, count);
  for (std::size_t k = 0; k < count; ++k) {
    wheelsoil::WheelSoilInput in;
    std::memcpy(&in, cases[k].inputs.data(), sizeof in);
    const eq::EquilibriumResult own = eq::solve_equilibrium(in, loads[k]);
    const wheelsoil::EquilibriumResult api = wheelsoil::solve_equilibrium(in, loads[k]);
    const wheelsoil::EquilibriumResult *both[] = {&api, &batch[k]};
    for (const wheelsoil::EquilibriumResult *e : both) {
      EXPECT_EQ(int(e->status), int(own.status)) << cases[k].name;
      EXPECT_EQ(e->converged, own.converged);
      EXPECT_EQ(e->monotone, own.monotone);
      EXPECT_EQ(e->iterations, own.iterations);
      EXPECT_TRUE(golden::same_value(e->centre_height, own.centre_height)) << cases[k].name;
      EXPECT_TRUE(golden::same_value(e->residual, own.residual));
      EXPECT_EQ(std::memcmp(&e->loads, &own.loads, sizeof own.loads), 0);
      EXPECT_EQ(e->message, own.message);
    }
    EXPECT_STREQ(wheelsoil::status_name(api.status), eq::status_name(own.status));
  }
}

TEST(LibraryTables, TheCAndCppTablesAreOneTable) {
  const struct {
    int layout;
    const wheelsoil::SlotTable &table;
  } layouts[] = {{WHEELSOIL_LAYOUT_TALVOR_INPUT, wheelsoil::talvor_input_slots},
                 {WHEELSOIL_LAYOUT_TALVOR_OUTPUT, wheelsoil::talvor_output_slots},
                 {WHEELSOIL_LAYOUT_PINDREL_INPUT, wheelsoil::pindrel_input_slots},
                 {WHEELSOIL_LAYOUT_PINDREL_OUTPUT, wheelsoil::pindrel_output_slots}};
  for (const auto &l : layouts) {
    ASSERT_EQ(wheelsoil_slot_count(l.layout), l.table.size());
    std::set<std::string> names;
    for (std::size_t k = 0; k < l.table.size(); ++k) {
      const wheelsoil_slot_info *c = wheelsoil_slot(l.layout, k);
      const wheelsoil::Slot &s = l.table[k];
      ASSERT_NE(c, nullptr);
      EXPECT_STREQ(c->name, s.name);
      EXPECT_STREQ(c->unit, s.unit);
      EXPECT_STREQ(c->meaning, s.meaning);
      EXPECT_EQ(c->kind, int(s.kind));
      EXPECT_EQ(c->default_value, s.value);
      EXPECT_TRUE(names.insert(s.name).second) << s.name;
      EXPECT_NE(std::string(s.meaning), "");
      if (s.kind == wheelsoil::DefaultKind::copy) {
        EXPECT_LT(l.table.find(s.copy_of), l.table.size()) << s.name;
      }
    }
    EXPECT_EQ(wheelsoil_slot(l.layout, l.table.size()), nullptr);
  }
  EXPECT_EQ(wheelsoil_slot_count(7), 0u);
  EXPECT_EQ(wheelsoil_slot(-1, 0), nullptr);
  // The C slot enums and the records follow the same table.
  EXPECT_EQ(offsetof(wheelsoil::WheelSoilInput, gravity) / sizeof(double),
            std::size_t(WHEELSOIL_TALVOR_IN_gravity));
  EXPECT_EQ(offsetof(wheelsoil::LoadModelInput, rear_angle) / sizeof(double),
            std::size_t(WHEELSOIL_PINDREL_IN_rear_angle));
  EXPECT_EQ(wheelsoil::talvor_input_slots.find("centre_height"),
            std::size_t(WHEELSOIL_TALVOR_IN_centre_height));
}

TEST(LibraryTables, SoilsConvertToSiAndApplyToBothModels) {
  ASSERT_EQ(wheelsoil_soil_count(), sizeof wheelsoil::soils / sizeof wheelsoil::soils[0]);
  for (std::size_t k = 0; k < wheelsoil_soil_count(); ++k) {
    const wheelsoil_soil_info *c = wheelsoil_soil(k);
    const wheelsoil::Soil &s = wheelsoil::soils[k];
    EXPECT_EQ(wheelsoil_find_soil(s.name), c);
    EXPECT_EQ(c->k_c, s.k_c());
    EXPECT_EQ(c->friction_angle, s.friction_angle());
    EXPECT_EQ(c->shear_modulus, s.shear_modulus);
    EXPECT_GT(std::string(c->source).size(), 0u);
  }
  EXPECT_EQ(wheelsoil_soil(wheelsoil_soil_count()), nullptr);
  EXPECT_EQ(wheelsoil_find_soil("sand"), nullptr);
  EXPECT_EQ(wheelsoil_find_soil(nullptr), nullptr);

  // Dry sand as the Octave helper gives it: kN x 1000, degrees x pi / 180.
  const wheelsoil::Soil *sand = wheelsoil::find_soil("dry_sand");
  ASSERT_NE(sand, nullptr);
  wheelsoil::WheelSoilInput in{};
  wheelsoil::apply_soil(*sand, in);
  EXPECT_EQ(in.k_c, 990);
  EXPECT_EQ(in.k_phi, 1528430);
  EXPECT_EQ(in.cohesion, 1040);
  EXPECT_EQ(in.friction_angle, 0.48869219055841229);
  EXPECT_EQ(in.kx, 0.025);
  EXPECT_EQ(in.ky, 0.025);
  EXPECT_EQ(in.soil_density, 1600);
  // Sandy loam: the typical firm-sand K of the published table.
  wheelsoil::LoadModelInput q{};
  wheelsoil::apply_soil(*wheelsoil::find_soil("sandy_loam"), q);
  EXPECT_EQ(q.shear_modulus, 0.010);
  EXPECT_EQ(q.k_c, 5270);
}

TEST(LibraryVersion, IsTheProjectsVersion) {
  EXPECT_STREQ(wheelsoil_version(), WHEELSOIL_VERSION_STRING);
  EXPECT_STREQ(wheelsoil::version(), "0.2.0");
  EXPECT_EQ(
      WHEELSOIL_VERSION_MAJOR * 10000 + WHEELSOIL_VERSION_MINOR * 100 + WHEELSOIL_VERSION_PATCH,
      200);
}

}  // namespace
