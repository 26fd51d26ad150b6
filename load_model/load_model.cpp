#include "../api/strict_fp.h"

#include "load_model.h"

#include <cstring>

#include "load_integral.h"

namespace wheelsoil::detail::load_model {

LoadModelState load_model_state;

void setup_load_state(LoadModelCall *call) {
  load_model_state = make_state(call->input);
  call->load = 0.0;
}

void run_load_model(double *output, const double *input) {
  LoadModelCall call;
  std::memcpy(&call.input, input, sizeof call.input);
  setup_load_state(&call);
  vertical_load(&call);
  output[0] = call.load;
}

}  // namespace wheelsoil::detail::load_model
