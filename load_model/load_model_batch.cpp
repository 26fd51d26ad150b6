#include "../api/strict_fp.h"

#include "load_model_batch.h"

#include <cstring>

#include "load_integral.h"
#include "load_model.h"

namespace wheelsoil::detail::load_model {

// A pindrel evaluation takes about a microsecond: blocks of 64 keep the
// shared index and the hook out of the way.
constexpr std::size_t pindrel_block = 64;

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
