// Checks of the measurements a fit is given, with messages that name the
// column and the row (1-based, as in the caller's table).
#ifndef WHEELSOIL_FIT_FIT_DATA_H
#define WHEELSOIL_FIT_FIT_DATA_H

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace wheelsoil::fit_detail {

// What a column's values must be.
enum class Range {
  finite,
  positive,
  non_negative,
  finite_or_missing,  // NaN marks a row without this measurement
};

// The columns must have one length, at least one row. False with *message.
bool check_columns(const std::vector<std::pair<const char *, const std::vector<double> *>> &columns,
                   std::string *message);

// Every value of the column within range. False with *message naming the row.
bool check_rows(const std::vector<double> &column, const char *name, Range range,
                std::string *message);

// The distinct values of a column, ascending.
std::vector<double> distinct(const std::vector<double> &column);

// v with %g.
std::string format_number(double v);

}  // namespace wheelsoil::fit_detail

#endif
