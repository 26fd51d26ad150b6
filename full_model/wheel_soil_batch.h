// Many talvor evaluations at once, on several threads.
#ifndef WHEELSOIL_FULL_MODEL_WHEEL_SOIL_BATCH_H
#define WHEELSOIL_FULL_MODEL_WHEEL_SOIL_BATCH_H

#include <cstddef>

namespace full_model {

// outputs[18k .. 18k+17] = talvor(inputs[29k .. 29k+28]) for k < count, bit for
// bit as count single calls of run_model, on up to `threads` threads (0: one
// per hardware thread). Each evaluation has its own state; model_state is
// neither read nor written.
void evaluate_batch(const double *inputs, double *outputs, std::size_t count,
                    unsigned threads);

// The elementary functions an evaluation takes: the C library's (the default,
// run_model's bits) or SLEEF's deterministic vector functions (run_model_vector).
enum class MathFunctions { standard, vector };

// evaluate_batch with the given functions; with MathFunctions::vector, bit for
// bit as count calls of run_model_vector.
void evaluate_batch(const double *inputs, double *outputs, std::size_t count, unsigned threads,
                    MathFunctions math);

}  // namespace full_model

#endif
