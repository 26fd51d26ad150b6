#include "slot_tables.h"

#include <wheelsoil/tables.hpp>
#include <wheelsoil/wheelsoil.h>

#include <array>
#include <cstddef>
#include <cstring>

namespace wheelsoil::detail::cli {
namespace {

using wheelsoil::SlotTable;

constexpr bool same_name(const char *a, const char *b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

// The tool's view of input slot k of table t.
constexpr Slot input_slot(const SlotTable &t, std::size_t k) {
  const wheelsoil::Slot &s = t[k];
  Slot slot{s.name, k, DefaultKind::required, 0, 0, s.unit, s.meaning};
  switch (s.kind) {
    case wheelsoil::DefaultKind::fixed:
      slot.kind = DefaultKind::constant;
      slot.value = s.value;
      break;
    case wheelsoil::DefaultKind::copy:
      slot.kind = DefaultKind::copy;
      while (slot.source < t.size() && !same_name(t[slot.source].name, s.copy_of)) ++slot.source;
      break;
    default: break;
  }
  return slot;
}

template <std::size_t N>
constexpr std::array<Slot, N> inputs_of(const SlotTable &t) {
  std::array<Slot, N> a{};
  for (std::size_t k = 0; k < N; ++k) a[k] = input_slot(t, k);
  return a;
}

template <std::size_t N>
constexpr std::array<OutputSlot, N> outputs_of(const SlotTable &t) {
  std::array<OutputSlot, N> a{};
  for (std::size_t k = 0; k < N; ++k) a[k] = {t[k].name, k, t[k].unit, t[k].meaning};
  return a;
}

constexpr auto talvor_inputs = inputs_of<29>(wheelsoil::talvor_input_slots);
constexpr auto talvor_outputs = outputs_of<18>(wheelsoil::talvor_output_slots);
constexpr auto pindrel_inputs = inputs_of<20>(wheelsoil::pindrel_input_slots);
constexpr auto pindrel_outputs = outputs_of<1>(wheelsoil::pindrel_output_slots);
static_assert(wheelsoil::talvor_input_slots.size() == 29 &&
                  wheelsoil::talvor_output_slots.size() == 18 &&
                  wheelsoil::pindrel_input_slots.size() == 20,
              "slot counts");

// Every copy default names a slot of its table.
template <std::size_t N>
constexpr bool copies_resolved(const std::array<Slot, N> &slots) {
  for (const Slot &s : slots)
    if (s.kind == DefaultKind::copy && s.source >= N) return false;
  return true;
}
static_assert(copies_resolved(talvor_inputs) && copies_resolved(pindrel_inputs),
              "a copy default names no slot");

// The library refuses no argument of these calls: the inputs are complete.
void talvor_one(double *out, const double *in) { wheelsoil_talvor(in, 29, out); }
void pindrel_one(double *out, const double *in) { wheelsoil_pindrel(in, 20, out); }
int talvor_many(const double *in, double *out, std::size_t count, unsigned threads,
                wheelsoil_progress progress, void *context, std::size_t *done) {
  return wheelsoil_talvor_batch_ex(in, count, 29, 1, out, threads, WHEELSOIL_DEFAULTS, progress,
                                   context, done);
}
int pindrel_many(const double *in, double *out, std::size_t count, unsigned threads,
                 wheelsoil_progress progress, void *context, std::size_t *done) {
  return wheelsoil_pindrel_batch_ex(in, count, 20, 1, out, threads, WHEELSOIL_DEFAULTS, progress,
                                    context, done);
}

}  // namespace

const ModelTable talvor_table = {
    "talvor",
    "the full wheel-soil model: 29 inputs, 18 loads",
    talvor_inputs.data(),
    talvor_inputs.size(),
    talvor_outputs.data(),
    talvor_outputs.size(),
    talvor_one,
    talvor_many,
};

const ModelTable pindrel_table = {
    "pindrel",
    "the simplified model: 20 inputs, the vertical load",
    pindrel_inputs.data(),
    pindrel_inputs.size(),
    pindrel_outputs.data(),
    pindrel_outputs.size(),
    pindrel_one,
    pindrel_many,
};

const ModelTable *find_model(const char *name) {
  if (std::strcmp(name, talvor_table.name) == 0) return &talvor_table;
  if (std::strcmp(name, pindrel_table.name) == 0) return &pindrel_table;
  return nullptr;
}

std::size_t find_input(const ModelTable &model, const char *name, std::size_t length) {
  for (std::size_t k = 0; k < model.n_inputs; ++k) {
    const char *slot = model.inputs[k].name;
    if (std::strlen(slot) == length && std::strncmp(slot, name, length) == 0) return k;
  }
  return model.n_inputs;
}

}  // namespace wheelsoil::detail::cli
