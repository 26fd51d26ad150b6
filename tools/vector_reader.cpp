#include "vector_reader.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace wheelsoil::detail::cli {
namespace {

// Whether the mantissa of a decimal literal has a digit other than 0.
bool has_nonzero_digit(std::string_view t) {
  for (char c : t) {
    if (c == 'e' || c == 'E') return false;
    if (c >= '1' && c <= '9') return true;
  }
  return false;
}

// Whether t (unsigned) is a decimal literal: digits, an optional point and
// digits (at least one digit in all), an optional exponent with digits.
bool is_decimal(std::string_view t) {
  std::size_t i = 0, digits = 0;
  while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t exponent_digits = 0;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++exponent_digits;
    if (exponent_digits == 0) return false;
  }
  return i == t.size();
}

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_space(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_space(s.back())) s.remove_suffix(1);
  return s;
}

// Appends the whitespace-separated words of s to fields.
void split_words(std::string_view s, std::vector<std::string_view> *fields) {
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && is_space(s[i])) ++i;
    const std::size_t begin = i;
    while (i < s.size() && !is_space(s[i])) ++i;
    if (i > begin) fields->push_back(s.substr(begin, i - begin));
  }
}

// The fields of one line, its comment removed: commas separate fields and so
// does whitespace. An empty field between commas is refused.
bool split_fields(std::string_view line, std::vector<std::string_view> *fields,
                  std::string *reason) {
  fields->clear();
  line = line.substr(0, line.find('#'));
  if (line.find(',') == std::string_view::npos) {
    split_words(line, fields);
    return true;
  }
  if (trim(line).empty()) return true;
  std::size_t begin = 0;
  for (;;) {
    const std::size_t comma = line.find(',', begin);
    const std::string_view piece = trim(line.substr(
        begin, comma == std::string_view::npos ? std::string_view::npos : comma - begin));
    if (piece.empty()) {
      *reason = "field " + std::to_string(fields->size() + 1) +
                " is empty (two commas in a row, or a comma at the start or end)";
      return false;
    }
    split_words(piece, fields);
    if (comma == std::string_view::npos) return true;
    begin = comma + 1;
  }
}

bool equals_lower(std::string_view s, const char *word) {
  std::size_t k = 0;
  for (; word[k]; ++k)
    if (k >= s.size() || std::tolower(static_cast<unsigned char>(s[k])) != word[k]) return false;
  return k == s.size();
}

// The length of the UTF-8 sequence that starts s, or 0 if it is not one.
std::size_t utf8_length(std::string_view s) {
  const unsigned char c = static_cast<unsigned char>(s[0]);
  const std::size_t n = c >= 0xf0 && c <= 0xf4 ? 4 : c >= 0xe0 ? 3 : c >= 0xc2 && c < 0xe0 ? 2 : 0;
  if (n == 0 || n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[k]) & 0xc0) != 0x80) return 0;
  return n;
}

// s between quotes as a message shows it: control bytes, NUL among them, and
// bytes that are not UTF-8 written as \xHH, so that every byte can be seen.
std::string quoted(std::string_view s) {
  constexpr std::size_t longest = 40;
  const bool cut = s.size() > longest;
  if (cut) s = s.substr(0, longest);
  std::string q = "'";
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const std::size_t n = c >= 0x80 ? utf8_length(s.substr(i)) : c >= 0x20 && c != 0x7f ? 1 : 0;
    if (n == 0) {
      const char hex[] = "0123456789abcdef";
      q += "\\x";
      q += hex[c >> 4];
      q += hex[c & 15];
      ++i;
    } else {
      q.append(s.substr(i, n));
      i += n;
    }
  }
  return q + (cut ? "...'" : "'");
}

// Whether token spells a name: a letter or '_', then letters, digits and '_'
// (nan and inf, which spell numbers, are not names).
bool is_name(std::string_view token) {
  double v;
  if (token.empty() || parse_number(token, &v)) return false;
  const auto letter = [](char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
  };
  if (!letter(token[0])) return false;
  for (char c : token)
    if (!letter(c) && !std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

// Whether the fields of the first line are a header: its first field names a
// slot of the model, or every field is a name. A line of number-like values
// that are not numbers (1e400, 0x1p-3, O.1, 1;2;3) is data, and refused as such.
bool is_header(const std::vector<std::string_view> &fields, const ModelTable &model) {
  if (find_input(model, fields[0].data(), fields[0].size()) < model.n_inputs) return true;
  for (const std::string_view f : fields)
    if (!is_name(f)) return false;
  return true;
}

// Why token, which parse_number refused, is not a number.
std::string not_a_number(std::size_t k, std::string_view token) {
  std::string reason = "value " + std::to_string(k) + " " + quoted(token) + " is not a number";
  if (is_out_of_range(token)) {
    reason += " (beyond the range of a double: nonzero magnitudes from 4.9e-324 to 1.8e308)";
  } else if (token.find(';') != std::string_view::npos) {
    reason += " (values are separated by commas or whitespace, not semicolons)";
  }
  return reason;
}

// The vector of one data line of a header table.
struct HeaderLayout {
  std::vector<std::size_t> column_slot;  // input slot of each column
  std::vector<bool> named;               // whether a column gives the slot
  std::vector<double> defaults;          // every slot, the columns' slots to be overwritten
};

bool read_header(const std::vector<std::string_view> &fields, const ModelTable &model,
                 HeaderLayout *layout, std::string *reason) {
  std::vector<bool> &named = layout->named;
  named.assign(model.n_inputs, false);
  for (const std::string_view field : fields) {
    const std::size_t slot = find_input(model, field.data(), field.size());
    if (slot == model.n_inputs) {
      *reason = "unknown slot name " + quoted(field) + " for " + model.name + " (wheelsoil slots " +
                model.name + " lists them)";
      return false;
    }
    if (named[slot]) {
      *reason = "slot " + quoted(field) + " is named twice in the header";
      return false;
    }
    named[slot] = true;
    layout->column_slot.push_back(slot);
  }
  std::string missing;
  layout->defaults.assign(model.n_inputs, 0.0);
  for (std::size_t k = 0; k < model.n_inputs; ++k) {
    const Slot &s = model.inputs[k];
    if (s.kind == DefaultKind::constant) layout->defaults[k] = s.value;
    if (s.kind == DefaultKind::required && !named[k])
      missing += (missing.empty() ? "" : ", ") + std::string(s.name);
  }
  if (!missing.empty()) {
    *reason = "the header lacks required slot(s): " + missing;
    return false;
  }
  return true;
}

}  // namespace

bool parse_number(std::string_view token, double *value) {
  std::string_view t = token;
  bool negative = false;
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
    negative = t[0] == '-';
    t.remove_prefix(1);
  }
  if (equals_lower(t, "nan")) {
    *value = std::copysign(std::numeric_limits<double>::quiet_NaN(), negative ? -1.0 : 1.0);
    return true;
  }
  if (equals_lower(t, "inf") || equals_lower(t, "infinity")) {
    *value = negative ? -HUGE_VAL : HUGE_VAL;
    return true;
  }
  if (!is_decimal(t)) return false;
  // strtod rounds correctly, so %.17g output reads back to the same bits.
  const std::string text(token);
  const double v = std::strtod(text.c_str(), nullptr);
  // A finite literal beyond the double range, or one so small that it would
  // read as zero; subnormal magnitudes are kept, as %.17g writes them.
  if (std::isinf(v) || (v == 0 && has_nonzero_digit(t))) return false;
  *value = v;
  return true;
}

bool is_out_of_range(std::string_view token) {
  double v;
  if (!token.empty() && (token[0] == '+' || token[0] == '-')) token.remove_prefix(1);
  return is_decimal(token) && !parse_number(token, &v);
}

bool read_vectors(std::istream &in, const ModelTable &model, InputVectors *vectors,
                  InputError *error) {
  vectors->values.clear();
  vectors->count = 0;
  vectors->had_header = false;
  HeaderLayout layout;
  bool first = true;
  std::size_t line_number = 0;
  std::string line;
  std::vector<std::string_view> fields;
  std::vector<double> vector(model.n_inputs);
  auto refuse = [&](std::string reason) {
    error->line = line_number;
    error->reason = std::move(reason);
    return false;
  };

  while (std::getline(in, line)) {
    ++line_number;
    if (line_number == 1) {
      // A spreadsheet's "CSV UTF-8" starts with a byte-order mark; UTF-16 has
      // a NUL in every other byte of ASCII text and is refused as a whole.
      if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
      if (line.rfind("\xFF\xFE", 0) == 0 || line.rfind("\xFE\xFF", 0) == 0)
        return refuse("the input is UTF-16 text; save it as UTF-8 or plain ASCII");
    }
    std::string reason;
    if (!split_fields(line, &fields, &reason)) return refuse(reason);
    if (fields.empty()) continue;

    double number;
    if (first && is_header(fields, model)) {
      vectors->had_header = true;
      if (!read_header(fields, model, &layout, &reason)) return refuse(reason);
      first = false;
      continue;
    }
    first = false;

    const std::size_t expected = vectors->had_header ? layout.column_slot.size() : model.n_inputs;
    if (fields.size() != expected) {
      // A value that is not a number says more than the count it upsets (a
      // line separated by semicolons is one value).
      for (std::size_t k = 0; k < fields.size(); ++k)
        if (!parse_number(fields[k], &number)) return refuse(not_a_number(k + 1, fields[k]));
      return refuse(
          "expected " + std::to_string(expected) + " values" +
          (vectors->had_header ? " (one per header column)" : std::string(" for ") + model.name) +
          ", found " + std::to_string(fields.size()));
    }
    if (vectors->had_header) vector = layout.defaults;
    for (std::size_t k = 0; k < fields.size(); ++k) {
      if (!parse_number(fields[k], &number)) return refuse(not_a_number(k + 1, fields[k]));
      vector[vectors->had_header ? layout.column_slot[k] : k] = number;
    }
    if (vectors->had_header) {
      // Defaults that copy another slot, from this line's value of that slot.
      for (std::size_t k = 0; k < model.n_inputs; ++k)
        if (model.inputs[k].kind == DefaultKind::copy && !layout.named[k])
          vector[k] = vector[model.inputs[k].source];
    }
    vectors->values.insert(vectors->values.end(), vector.begin(), vector.end());
    ++vectors->count;
  }
  if (in.bad()) {
    error->read_failed = true;
    return refuse("the input could not be read");
  }
  if (vectors->count == 0) {
    if (line_number == 0) line_number = 1;
    return refuse(vectors->had_header ? "no input vectors after the header"
                                      : "no input vectors (the input is empty)");
  }
  return true;
}

}  // namespace wheelsoil::detail::cli
