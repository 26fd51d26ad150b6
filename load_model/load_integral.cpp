#include "../api/strict_fp.h"

#include "load_integral.h"

namespace wheelsoil::detail::load_model {

namespace lm = load_model;

void fit_quadratic(double x1, double x2, double x3, double y1, double y2, double y3, double *c2,
                   double *c1, double *c0) {
  const lm::Quadratic f = lm::fit_quadratic(x1, x2, x3, y1, y2, y3);
  *c2 = f.c2;
  *c1 = f.c1;
  *c0 = f.c0;
}

void vertical_load(LoadModelCall *call) { call->load = lm::evaluate(load_model_state); }

}  // namespace wheelsoil::detail::load_model
