// Many pindrel evaluations at once, on several threads.
#ifndef WHEELSOIL_LOAD_MODEL_LOAD_MODEL_BATCH_H
#define WHEELSOIL_LOAD_MODEL_LOAD_MODEL_BATCH_H

#include <cstddef>

#include "../api/batch_runner.h"

namespace wheelsoil::detail::load_model {

// outputs[k] = pindrel(inputs[20k .. 20k+19]) for k < count, bit for bit as
// count single calls of run_load_model, on up to `threads` threads (0: one
// per hardware thread), through the batch runner (hook: see run_batch). Each
// evaluation has its own state; the module-level state is neither read nor
// written.
BatchOutcome evaluate_batch(const double *inputs, double *outputs, std::size_t count,
                            unsigned threads, const BatchHook &hook = {});

}  // namespace wheelsoil::detail::load_model

#endif
