// Writing results as CSV: a header of the output names, then one row per input
// vector, every value printed with %.17g so that it reads back to the same
// bits; non-finite values as nan, inf and -inf.
#ifndef WHEELSOIL_TOOLS_CSV_WRITER_H
#define WHEELSOIL_TOOLS_CSV_WRITER_H

#include <cstddef>
#include <string>

#include "slot_tables.h"

namespace wheelsoil::detail::cli {

// Appends v to out: %.17g, or nan, inf, -inf (a NaN's sign is not written).
void append_number(std::string *out, double v);

// The header line of model's outputs, with its newline.
std::string header_line(const ModelTable &model);

// Appends the rows of count results (n_outputs values each) to out.
void append_rows(std::string *out, const ModelTable &model, const double *results,
                 std::size_t count);

}  // namespace wheelsoil::detail::cli

#endif
