// Many talvor evaluations at once, on several threads.
#ifndef WHEELSOIL_FULL_MODEL_WHEEL_SOIL_BATCH_H
#define WHEELSOIL_FULL_MODEL_WHEEL_SOIL_BATCH_H

#include <cstddef>

#include "../api/batch_runner.h"
#include "evaluation_modes.h"

namespace wheelsoil::detail::full_model {

// outputs[18k .. 18k+17] = talvor(inputs[29k .. 29k+28]) for k < count, bit for
// bit as count single calls of run_model (of run_model_vector with
// MathFunctions::vector), on up to `threads` threads (0: one per hardware
// thread), through the batch runner (hook: see run_batch). Each evaluation has
// its own state; model_state is neither read nor written.
BatchOutcome evaluate_batch(const double *inputs, double *outputs, std::size_t count,
                            unsigned threads, const BatchHook &hook = {},
                            MathFunctions math = MathFunctions::standard);

// evaluate_batch in any evaluation mode: each column as evaluate_input.
BatchOutcome evaluate_batch(const double *inputs, double *outputs, std::size_t count,
                            unsigned threads, const BatchHook &hook, const EvaluationMode &mode);

}  // namespace wheelsoil::detail::full_model

#endif
