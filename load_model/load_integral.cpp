#include "load_integral.h"

namespace lm = load_model;

int invert_3x3(const double *m, double *inv) { return lm::invert_3x3(m, inv); }

void fit_quadratic(double x1, double x2, double x3, double y1, double y2, double y3, double *c2,
                   double *c1, double *c0) {
  const lm::Quadratic f = lm::fit_quadratic(x1, x2, x3, y1, y2, y3);
  *c2 = f.c2;
  *c1 = f.c1;
  *c0 = f.c0;
}

double integral_x2_sin(double lo, double hi) { return lm::integral_x2_sin(lo, hi); }

double integral_x2_cos(double lo, double hi) { return lm::integral_x2_cos(lo, hi); }

void vertical_load(LoadModelCall *call) { call->load = lm::evaluate(load_model_state); }
