#include "fit_data.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace wheelsoil::fit_detail {

bool check_columns(const std::vector<std::pair<const char *, const std::vector<double> *>> &columns,
                   std::string *message) {
  const std::size_t rows = columns.front().second->size();
  if (rows == 0) {
    *message = "no measurements";
    return false;
  }
  for (const auto &[name, column] : columns) {
    if (column->size() != rows) {
      *message = std::string("the columns differ in length: ") + columns.front().first + " has " +
                 std::to_string(rows) + " values, " + name + " " + std::to_string(column->size());
      return false;
    }
  }
  return true;
}

bool check_rows(const std::vector<double> &column, const char *name, Range range,
                std::string *message) {
  for (std::size_t k = 0; k < column.size(); ++k) {
    const double v = column[k];
    const char *want = nullptr;
    switch (range) {
      case Range::finite:
        if (!std::isfinite(v)) want = "a finite number";
        break;
      case Range::positive:
        if (!(v > 0 && std::isfinite(v))) want = "a positive number";
        break;
      case Range::non_negative:
        if (!(v >= 0 && std::isfinite(v))) want = "a number >= 0";
        break;
      case Range::finite_or_missing:
        if (std::isinf(v)) want = "a finite number, or nan for none";
        break;
    }
    if (want) {
      *message = "row " + std::to_string(k + 1) + ": " + name + " is " + format_number(v) +
                 ", not " + want;
      return false;
    }
  }
  return true;
}

std::vector<double> distinct(const std::vector<double> &column) {
  std::vector<double> v = column;
  std::sort(v.begin(), v.end());
  v.erase(std::unique(v.begin(), v.end()), v.end());
  return v;
}

std::string format_number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

}  // namespace wheelsoil::fit_detail
