// The vector-maths evaluation of talvor, opt-in: the same integrals as the
// default path with every elementary function (sin, cos, exp, pow, acos, tan)
// taken from SLEEF's deterministic family (Sleef_cinz_*, u10: within 1 ulp,
// the same bits at every vector width). The unit is chosen at run time, the
// widest the CPU has; every unit gives the same bits, so the results are those
// of any x86-64 machine. They differ from the default path's, which follows the
// C library, in the last bits of the functions (see docs/performance.md).
#ifndef WHEELSOIL_FULL_MODEL_VECTOR_LOADS_H
#define WHEELSOIL_FULL_MODEL_VECTOR_LOADS_H

#include "vector_unit.h"
#include "wheel_soil_model.h"

namespace wheelsoil::detail::full_model {

// Whether this build has the vector path at all (SLEEF found, x86-64).
bool vector_math_available();

// Whether the unit was built in and this CPU (and its OS) can run it.
bool vector_unit_runs(VectorUnit unit);

// The widest unit that runs here; the one vector_loads uses.
VectorUnit widest_vector_unit();

// The 18 outputs of state m on the widest unit. Reads only m, allocates
// nothing. Without the vector path (vector_math_available() false) it writes
// NaN to all 18 slots.
void vector_loads(const ModelState &m, WheelSoilOutput *out);

// The same on the given unit, for tests and benchmarks; false (and nothing
// written) when the unit does not run here.
bool vector_loads_on(VectorUnit unit, const ModelState &m, WheelSoilOutput *out);

// run_model by the vector path: output[0..17] from input[0..28].
void run_model_vector(double *output, const double *input);

}  // namespace wheelsoil::detail::full_model

#endif
