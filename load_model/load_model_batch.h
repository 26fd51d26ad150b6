// Many pindrel evaluations at once, on several threads.
#ifndef WHEELSOIL_LOAD_MODEL_LOAD_MODEL_BATCH_H
#define WHEELSOIL_LOAD_MODEL_LOAD_MODEL_BATCH_H

#include <cstddef>

namespace load_model {

// outputs[k] = pindrel(inputs[20k .. 20k+19]) for k < count, bit for bit as
// count single calls of run_load_model, on up to `threads` threads (0: one
// per hardware thread). Each evaluation has its own state; the module-level
// state is neither read nor written.
void evaluate_batch(const double *inputs, double *outputs, std::size_t count,
                    unsigned threads);

}  // namespace load_model

#endif
