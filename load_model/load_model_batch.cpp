#include "../api/strict_fp.h"

#include "load_model_batch.h"

#include <cstring>

#include "load_integral.h"
#include "load_model.h"

namespace wheelsoil::detail::load_model {

BatchOutcome evaluate_batch(const double *inputs, double *outputs, std::size_t count,
                            unsigned threads, const BatchHook &hook) {
  return run_batch(
      count, threads, pindrel_block,
      [inputs, outputs](std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end; ++k) {
          LoadModelInput in;
          std::memcpy(&in, inputs + 20 * k, sizeof in);
          outputs[k] = evaluate(make_state(in));
        }
      },
      hook);
}

}  // namespace wheelsoil::detail::load_model
