// Reading the tool's input: one input vector a line, as plain numbers or as a
// CSV table whose header row names the slots.
//
// - A line holds numbers separated by commas or whitespace (or both); '#'
//   starts a comment that runs to the end of the line; blank lines are skipped.
// - Numbers are decimal (as %.17g writes them), or nan, inf, infinity, each
//   optionally signed and in any case. Hexadecimal and out-of-range values are
//   refused.
// - The first line that is not blank or a comment is a header when its first
//   field names an input slot, or when every field is a name (a letter or '_',
//   then letters, digits and '_'). Each field names an input slot, in any
//   order, each at most once, every required slot present; the slots it
//   leaves out take their documented defaults. Otherwise every line holds all
//   of the model's input slots in slot order, and a line 1 of values such as
//   1e400 or O.1 is refused as any other line would be.
// - A UTF-8 byte-order mark at the start is skipped; UTF-16 is refused.
// - Bytes that cannot be shown (NUL, control bytes, bytes that are not UTF-8)
//   are quoted in messages as \xHH.
// - The whole input is read before anything is computed, so a refused input
//   produces no results at all.
#ifndef WHEELSOIL_TOOLS_VECTOR_READER_H
#define WHEELSOIL_TOOLS_VECTOR_READER_H

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "slot_tables.h"

namespace wheelsoil::detail::cli {

// Why and where the input was refused.
struct InputError {
  std::size_t line = 0;  // 1-based line of the input
  std::string reason;
  bool read_failed = false;  // the stream failed: the reason is the system's, not the text's
};

// The input vectors of one model.
struct InputVectors {
  std::vector<double> values;  // count vectors of n_inputs slots, one after another
  std::size_t count = 0;
  bool had_header = false;
};

// *value = the number the whole of token spells; false if it is not one.
// A decimal literal beyond the range of a double is refused, on either side:
// 1e400, and 1e-400, which would read as 0. Subnormal values are numbers.
bool parse_number(std::string_view token, double *value);

// Whether token is a decimal literal that parse_number refuses for its
// magnitude alone.
bool is_out_of_range(std::string_view token);

// Reads every input vector of model from in. On a refusal returns false and
// fills *error; *vectors is then incomplete.
bool read_vectors(std::istream &in, const ModelTable &model, InputVectors *vectors,
                  InputError *error);

}  // namespace wheelsoil::detail::cli

#endif
