// The slot layouts of the two models as the command-line tool reads and
// writes them: names, defaults, units and meanings, taken from the library's
// slot tables (wheelsoil/tables.hpp), the one source that the records, the
// Octave helpers and the docs also come from. The models run through the
// library's C interface.
#ifndef WHEELSOIL_TOOLS_SLOT_TABLES_H
#define WHEELSOIL_TOOLS_SLOT_TABLES_H

#include <wheelsoil/wheelsoil.h>

#include <cstddef>

namespace wheelsoil::detail::cli {

// How an input slot that a header row leaves out is filled.
enum class DefaultKind {
  required,  // it may not be left out
  constant,  // Slot::value
  copy,      // the value of input slot Slot::source
};

// One input slot.
struct Slot {
  const char *name;
  std::size_t index;  // position in the input vector
  DefaultKind kind;
  double value;        // the default when kind is constant
  std::size_t source;  // the slot copied when kind is copy
  const char *unit;
  const char *meaning;
};

// One output slot.
struct OutputSlot {
  const char *name;
  std::size_t index;
  const char *unit;
  const char *meaning;
};

// out[0..n_outputs) from in[0..n_inputs), one evaluation.
using EvaluateOne = void (*)(double *out, const double *in);
// count evaluations, vector after vector, on up to `threads` threads, with
// the bits of count single evaluations; progress (may be null) is asked
// between blocks and may stop the batch. Returns the C interface's status and
// sets *done to the vectors finished, a prefix.
using EvaluateBatch = int (*)(const double *inputs, double *outputs, std::size_t count,
                              unsigned threads, wheelsoil_progress progress, void *context,
                              std::size_t *done);

// A model as the tool drives it.
struct ModelTable {
  const char *name;  // the subcommand: "talvor" or "pindrel"
  const char *summary;
  const Slot *inputs;
  std::size_t n_inputs;
  const OutputSlot *outputs;
  std::size_t n_outputs;
  EvaluateOne evaluate;
  EvaluateBatch evaluate_batch;
};

extern const ModelTable talvor_table;
extern const ModelTable pindrel_table;

// The table of the named model, or nullptr.
const ModelTable *find_model(const char *name);

// The index of the input slot called name in model, or model.n_inputs.
std::size_t find_input(const ModelTable &model, const char *name, std::size_t length);

}  // namespace wheelsoil::detail::cli

#endif
