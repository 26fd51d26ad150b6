#include "wheel_soil_batch.h"

#include <cstring>

#include "../batch/parallel_chunks.h"
#include "vector_loads.h"
#include "wheel_soil_model.h"

namespace full_model {

void evaluate_batch(const double *inputs, double *outputs, std::size_t count,
                    unsigned threads) {
  evaluate_batch(inputs, outputs, count, threads, MathFunctions::standard);
}

void evaluate_batch(const double *inputs, double *outputs, std::size_t count, unsigned threads,
                    MathFunctions math) {
  void (*const evaluate)(const ModelState &, WheelSoilOutput *) =
      math == MathFunctions::vector ? vector_loads : fused_loads;
  batch::for_chunks(count, threads, [inputs, outputs, evaluate](std::size_t begin,
                                                                std::size_t end) {
    for (std::size_t k = begin; k < end; ++k) {
      WheelSoilInput in;
      std::memcpy(&in, inputs + 29 * k, sizeof in);
      WheelSoilOutput out{};
      evaluate(state_from_input(in), &out);
      std::memcpy(outputs + 18 * k, &out, sizeof out);
    }
  });
}

}  // namespace full_model
