#include "../api/strict_fp.h"

#include "wheel_soil_batch.h"

#include <cstring>

#include "vector_loads.h"
#include "wheel_soil_model.h"

namespace wheelsoil::detail::full_model {

BatchOutcome evaluate_batch(const double *inputs, double *outputs, std::size_t count,
                            unsigned threads, const BatchHook &hook, MathFunctions math) {
  void (*const evaluate_one)(const ModelState &, WheelSoilOutput *) =
      math == MathFunctions::vector ? vector_loads : evaluate;
  return run_batch(
      count, threads, talvor_block,
      [inputs, outputs, evaluate_one](std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end; ++k) {
          WheelSoilInput in;
          std::memcpy(&in, inputs + 29 * k, sizeof in);
          WheelSoilOutput out{};
          evaluate_one(make_state(in), &out);
          std::memcpy(outputs + 18 * k, &out, sizeof out);
        }
      },
      hook);
}

BatchOutcome evaluate_batch(const double *inputs, double *outputs, std::size_t count,
                            unsigned threads, const BatchHook &hook, const EvaluationMode &mode) {
  return run_batch(
      count, threads, talvor_block,
      [inputs, outputs, &mode](std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end; ++k) {
          WheelSoilInput in;
          std::memcpy(&in, inputs + 29 * k, sizeof in);
          WheelSoilOutput out{};
          evaluate_input(in, mode, &out);
          std::memcpy(outputs + 18 * k, &out, sizeof out);
        }
      },
      hook);
}

}  // namespace wheelsoil::detail::full_model
