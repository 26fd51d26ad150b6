#include "load_model_batch.h"

#include <cstring>

#include "../batch/parallel_chunks.h"
#include "load_integral.h"
#include "load_model.h"

namespace load_model {

void evaluate_batch(const double *inputs, double *outputs, std::size_t count,
                    unsigned threads) {
  batch::for_chunks(count, threads, [inputs, outputs](std::size_t begin, std::size_t end) {
    for (std::size_t k = begin; k < end; ++k) {
      LoadModelInput in;
      std::memcpy(&in, inputs + 20 * k, sizeof in);
      outputs[k] = evaluate(make_state(in));
    }
  });
}

}  // namespace load_model
