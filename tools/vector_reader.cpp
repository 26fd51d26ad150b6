#include "vector_reader.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace wheelsoil::detail::cli {
namespace {

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

std::string quoted(std::string_view s) {
  constexpr std::size_t longest = 40;
  if (s.size() > longest) return "'" + std::string(s.substr(0, longest)) + "...'";
  return "'" + std::string(s) + "'";
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
  // Decimal: digits, an optional point and digits (at least one digit in all),
  // an optional exponent with digits.
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
  if (i != t.size()) return false;
  // strtod rounds correctly, so %.17g output reads back to the same bits.
  const std::string text(token);
  const double v = std::strtod(text.c_str(), nullptr);
  if (std::isinf(v)) return false;  // a finite literal beyond the double range
  *value = v;
  return true;
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
    std::string reason;
    if (!split_fields(line, &fields, &reason)) return refuse(reason);
    if (fields.empty()) continue;

    double number;
    if (first && !parse_number(fields[0], &number)) {
      vectors->had_header = true;
      if (!read_header(fields, model, &layout, &reason)) return refuse(reason);
      first = false;
      continue;
    }
    first = false;

    const std::size_t expected = vectors->had_header ? layout.column_slot.size() : model.n_inputs;
    if (fields.size() != expected) {
      return refuse(
          "expected " + std::to_string(expected) + " values" +
          (vectors->had_header ? " (one per header column)" : std::string(" for ") + model.name) +
          ", found " + std::to_string(fields.size()));
    }
    if (vectors->had_header) vector = layout.defaults;
    for (std::size_t k = 0; k < fields.size(); ++k) {
      if (!parse_number(fields[k], &number))
        return refuse("value " + std::to_string(k + 1) + " " + quoted(fields[k]) +
                      " is not a number");
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
  if (in.bad()) return refuse("the input could not be read");
  if (vectors->count == 0) {
    if (line_number == 0) line_number = 1;
    return refuse(vectors->had_header ? "no input vectors after the header"
                                      : "no input vectors (the input is empty)");
  }
  return true;
}

}  // namespace wheelsoil::detail::cli
