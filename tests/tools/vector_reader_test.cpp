// Reading the wheelsoil tool's input: numbers, separators, comments, header
// tables with defaults, and the line and reason of every refusal.
#include "vector_reader.h"

#include <gtest/gtest.h>
#include <wheelsoil/records.hpp>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <sstream>
#include <string>

#include "csv_writer.h"
#include "slot_tables.h"

namespace wheelsoil::detail::cli {
namespace {

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(ParseNumber, AcceptsDecimalAndNonFiniteSpellings) {
  const struct {
    const char *text;
    double value;
  } cases[] = {{"1", 1},
               {"-0", -0.0},
               {"+1.5e-3", 1.5e-3},
               {".5", 0.5},
               {"5.", 5},
               {"2E+2", 200},
               {"inf", INFINITY},
               {"-Inf", -INFINITY},
               {"+INFINITY", INFINITY},
               {"0", 0},
               {"0.0", 0},
               {"-0e-999", -0.0},
               {"000e400", 0},
               {"2.2250738585072009e-308", 2.2250738585072009e-308},  // subnormal
               {"4.9406564584124654e-324", 4.9406564584124654e-324}};
  for (const auto &c : cases) {
    double v = 0;
    ASSERT_TRUE(parse_number(c.text, &v)) << c.text;
    EXPECT_TRUE(same_bits(v, c.value)) << c.text;
  }
  double v = 0;
  ASSERT_TRUE(parse_number("NaN", &v));
  EXPECT_TRUE(std::isnan(v));
  ASSERT_TRUE(parse_number("-nan", &v));
  EXPECT_TRUE(std::isnan(v));
}

TEST(ParseNumber, RefusesWhatIsNotOneDecimalNumber) {
  for (const char *text :
       {"",       "-",    ".",     "e5",     "1e",     "1e+",     "0x10",        "1.2.3",
        "nan(1)", "infx", "1e400", "-1e400", "1e-400", "-1e-400", "0.0001e-320", "abc",
        "1 ",     " 1",   "1,5",   "radius"}) {
    double v = 7;
    EXPECT_FALSE(parse_number(text, &v)) << text;
    EXPECT_EQ(v, 7) << text;
  }
}

// Out of range on either side, but a decimal literal; nothing else is.
TEST(ParseNumber, TellsALiteralOutOfRangeFromOtherText) {
  for (const char *text : {"1e400", "-1e400", "1e-400", "+1.5e-999", "0.0001e-320"})
    EXPECT_TRUE(is_out_of_range(text)) << text;
  for (const char *text : {"1", "0e-999", "1e-320", "0x1p-3", "O.1", "1e", "nan", "1e400x", ""})
    EXPECT_FALSE(is_out_of_range(text)) << text;
}

// Every double written by the tool reads back to the same bits.
TEST(ParseNumber, ReadsBackWhatTheWriterWrites) {
  std::mt19937_64 bits(20240601);
  for (int k = 0; k < 20000; ++k) {
    std::uint64_t b = bits();
    double x;
    std::memcpy(&x, &b, sizeof x);
    if (std::isnan(x)) continue;
    std::string text;
    append_number(&text, x);
    double back = 0;
    ASSERT_TRUE(parse_number(text, &back)) << text;
    ASSERT_TRUE(same_bits(back, x)) << text;
  }
}

TEST(AppendNumber, WritesNonFiniteValuesPlainly) {
  std::string out;
  for (double v : {double(NAN), -double(NAN), double(INFINITY), -double(INFINITY), -0.0, 0.1}) {
    append_number(&out, v);
    out += ' ';
  }
  EXPECT_EQ(out, "nan nan inf -inf -0 0.10000000000000001 ");
}

// Reading text with the pindrel table (20 slots, the shorter one).
struct Read {
  bool ok;
  InputVectors vectors;
  InputError error;
};

Read read(const std::string &text, const ModelTable &model = pindrel_table) {
  std::istringstream in(text);
  Read r;
  r.ok = read_vectors(in, model, &r.vectors, &r.error);
  return r;
}

std::string numbers(int first, int count, const char *separator = " ") {
  std::string s;
  for (int k = 0; k < count; ++k) s += (k ? separator : "") + std::to_string(first + k);
  return s;
}

const std::string row20 = numbers(1, 20) + "\n";
const std::string required_header =
    "width,radius,cohesion,friction_angle,sinkage_exponent,k_c,k_phi,shear_modulus,"
    "rim_entry_angle,peak_stress_angle,rear_angle\n";

TEST(ReadVectors, PlainLinesWithCommentsBlanksAndMixedSeparators) {
  const std::string text = "# two pindrel vectors\n\n" + numbers(1, 20) + "  # first\r\n" +
                           "  \t\n" + numbers(21, 10, ",") + " , " + numbers(31, 10, "\t") + "\n";
  const Read r = read(text);
  ASSERT_TRUE(r.ok) << r.error.reason;
  EXPECT_FALSE(r.vectors.had_header);
  ASSERT_EQ(r.vectors.count, 2u);
  for (int k = 0; k < 40; ++k) EXPECT_EQ(r.vectors.values[k], k + 1);
}

TEST(ReadVectors, SkipsAUtf8ByteOrderMark) {
  const Read plain = read(required_header + numbers(1, 11, ",") + "\n");
  const Read marked = read("\xEF\xBB\xBF" + required_header + numbers(1, 11, ",") + "\n");
  ASSERT_TRUE(marked.ok) << marked.error.reason;
  EXPECT_TRUE(marked.vectors.had_header);
  EXPECT_EQ(marked.vectors.values, plain.vectors.values);
  const Read numbers_only = read("\xEF\xBB\xBF" + row20);
  ASSERT_TRUE(numbers_only.ok) << numbers_only.error.reason;
  EXPECT_EQ(numbers_only.vectors.values[0], 1);
}

TEST(ReadVectors, LastLineWithoutNewline) {
  const Read r = read(numbers(1, 20));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.vectors.count, 1u);
}

TEST(ReadVectors, HeaderInAnyOrderWithDefaults) {
  // Every required pindrel slot, reversed, then the optional band_ratio.
  std::string header, row;
  std::vector<std::size_t> slots;
  for (std::size_t k = pindrel_table.n_inputs; k-- > 0;)
    if (pindrel_table.inputs[k].kind == DefaultKind::required) slots.push_back(k);
  slots.push_back(find_input(pindrel_table, "band_ratio", 10));
  for (std::size_t i = 0; i < slots.size(); ++i) {
    header += (i ? "," : "") + std::string(pindrel_table.inputs[slots[i]].name);
    row += (i ? "," : "") + std::to_string(100 + slots[i]);
  }
  const Read r = read("# table\n" + header + "\n" + row + "\n" + row + "\n");
  ASSERT_TRUE(r.ok) << r.error.reason;
  EXPECT_TRUE(r.vectors.had_header);
  ASSERT_EQ(r.vectors.count, 2u);
  const double *v = r.vectors.values.data();
  for (std::size_t k : slots) EXPECT_EQ(v[k], 100.0 + double(k)) << pindrel_table.inputs[k].name;
  const wheelsoil::LoadModelInput &in = *reinterpret_cast<const wheelsoil::LoadModelInput *>(v);
  EXPECT_EQ(in.band_radius, in.radius);  // copies of another slot
  EXPECT_EQ(in.band_entry_angle, in.rim_entry_angle);
  EXPECT_EQ(in.front_angle, in.rim_entry_angle);
  EXPECT_EQ(in.slip, 0);  // fixed defaults
  EXPECT_EQ(in.spare_19, 0);
  EXPECT_EQ(in.band_ratio, 102);  // given
  EXPECT_EQ(std::memcmp(v, v + 20, 20 * sizeof(double)), 0);
}

TEST(ReadVectors, HeaderMayGiveASlotThatDefaultsToACopy) {
  std::string header, row;
  for (std::size_t k = 0; k < pindrel_table.n_inputs; ++k) {
    header += (k ? "," : "") + std::string(pindrel_table.inputs[k].name);
    row += (k ? "," : "") + std::to_string(k + 1);
  }
  const Read r = read(header + "\n" + row + "\n");
  ASSERT_TRUE(r.ok) << r.error.reason;
  for (int k = 0; k < 20; ++k) EXPECT_EQ(r.vectors.values[k], k + 1);
}

TEST(ReadVectors, TalvorDefaultsMatchTheDocumentedOnes) {
  std::string header, row;
  for (std::size_t k = 0; k < talvor_table.n_inputs; ++k)
    if (talvor_table.inputs[k].kind == DefaultKind::required) {
      header += (header.empty() ? "" : ",") + std::string(talvor_table.inputs[k].name);
      row += (row.empty() ? "" : ",") + std::string("0.5");
    }
  const Read r = read(header + "\n" + row + "\n", talvor_table);
  ASSERT_TRUE(r.ok) << r.error.reason;
  const wheelsoil::WheelSoilInput &in =
      *reinterpret_cast<const wheelsoil::WheelSoilInput *>(r.vectors.values.data());
  EXPECT_EQ(in.vx, 0);
  EXPECT_EQ(in.wy, 0);
  EXPECT_EQ(in.band_ratio, 1);
  EXPECT_EQ(in.band_height, 0);
  EXPECT_EQ(in.kr, 1);
  EXPECT_EQ(in.tilt_sine, 0);
  EXPECT_EQ(in.exit_sinkage_ratio, 0);
  EXPECT_EQ(in.spare_27, 0);
  EXPECT_EQ(in.radius, 0.5);
  EXPECT_EQ(in.gravity, 0.5);
}

struct Refusal {
  const char *what;
  std::string text;
  std::size_t line;
  const char *reason;
};

void PrintTo(const Refusal &r, std::ostream *os) { *os << r.what; }

class ReadVectorsRefuses : public testing::TestWithParam<Refusal> {};

TEST_P(ReadVectorsRefuses, WithLineAndReason) {
  const Refusal &c = GetParam();
  const Read r = read(c.text);
  ASSERT_FALSE(r.ok);
  EXPECT_EQ(r.error.line, c.line);
  EXPECT_EQ(r.error.reason, c.reason);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadVectorsRefuses,
    testing::Values(
        Refusal{"too few", "# c\n" + row20 + "\n" + numbers(1, 19) + "\n", 4,
                "expected 20 values for pindrel, found 19"},
        Refusal{"too many", numbers(1, 21) + "\n", 1, "expected 20 values for pindrel, found 21"},
        Refusal{"not a number", row20 + numbers(1, 5) + " 6x " + numbers(7, 14) + "\n", 2,
                "value 6 '6x' is not a number"},
        Refusal{"empty field", row20 + numbers(1, 10, ",") + ",," + numbers(11, 10, ",") + "\n", 2,
                "field 11 is empty (two commas in a row, or a comma at the start or end)"},
        Refusal{"trailing comma", numbers(1, 20, ",") + ",\n", 1,
                "field 21 is empty (two commas in a row, or a comma at the start or end)"},
        Refusal{"empty", "", 1, "no input vectors (the input is empty)"},
        Refusal{"only comments", "# a\n\n# b\n", 3, "no input vectors (the input is empty)"},
        Refusal{"header only", required_header, 1, "no input vectors after the header"},
        Refusal{"unknown name", "\nradius,radus\n", 2,
                "unknown slot name 'radus' for pindrel (wheelsoil slots pindrel lists them)"},
        Refusal{"repeated name", "radius width radius\n", 1,
                "slot 'radius' is named twice in the header"},
        Refusal{"missing required", "radius,width,slip\n1,2,3\n", 1,
                "the header lacks required slot(s): cohesion, friction_angle, sinkage_exponent, "
                "k_c, k_phi, shear_modulus, rim_entry_angle, peak_stress_angle, rear_angle"},
        Refusal{"header row too short",
                required_header + numbers(1, 11, ",") + "\n" + numbers(1, 10, ",") + "\n", 3,
                "expected 11 values (one per header column), found 10"},
        Refusal{"second header", required_header + required_header, 2,
                "value 1 'width' is not a number"},
        // A line 1 of values that look like numbers is data, not a header.
        Refusal{"huge on line 1", "1e400 " + numbers(2, 19) + "\n", 1,
                "value 1 '1e400' is not a number (beyond the range of a double: nonzero "
                "magnitudes from 4.9e-324 to 1.8e308)"},
        Refusal{"tiny on line 1", "1e-400 " + numbers(2, 19) + "\n", 1,
                "value 1 '1e-400' is not a number (beyond the range of a double: nonzero "
                "magnitudes from 4.9e-324 to 1.8e308)"},
        Refusal{"hexadecimal on line 1", "0x1p-3 " + numbers(2, 19) + "\n", 1,
                "value 1 '0x1p-3' is not a number"},
        Refusal{"letter O on line 1", "O.1," + numbers(2, 19, ",") + "\n", 1,
                "value 1 'O.1' is not a number"},
        Refusal{"semicolons on line 1", numbers(1, 20, ";") + "\n", 1,
                "value 1 '1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;1...' is not a number "
                "(values are separated by commas or whitespace, not semicolons)"},
        Refusal{"misspelt first name", "radus,radius\n1,2\n", 1,
                "unknown slot name 'radus' for pindrel (wheelsoil slots pindrel lists them)"},
        // Every byte of a value can be seen in the message.
        Refusal{"NUL in a value",
                row20 + "1 2 0" + std::string(1, '\0') + "5 " + numbers(4, 17) + "\n", 2,
                "value 3 '0\\x005' is not a number"},
        Refusal{"control and stray bytes", "1 \x01\xff\xc3\xa9 " + numbers(3, 18) + "\n", 1,
                "value 2 '\\x01\\xff\xc3\xa9' is not a number"},
        Refusal{"UTF16 LE", std::string("\xff\xfer\0a\0d\0", 8), 1,
                "the input is UTF-16 text; save it as UTF-8 or plain ASCII"},
        Refusal{"UTF16 BE", std::string("\xfe\xff\0r\0a", 6), 1,
                "the input is UTF-16 text; save it as UTF-8 or plain ASCII"}),
    [](const testing::TestParamInfo<Refusal> &param_info) {
      std::string name = param_info.param.what;
      for (char &c : name)
        if (c == ' ') c = '_';
      return name;
    });

TEST(SlotTables, NamesAreUniqueAndCopiesComeFromRequiredSlots) {
  for (const ModelTable *m : {&talvor_table, &pindrel_table}) {
    for (std::size_t k = 0; k < m->n_inputs; ++k) {
      const Slot &s = m->inputs[k];
      EXPECT_EQ(find_input(*m, s.name, std::strlen(s.name)), k) << s.name;
      if (s.kind == DefaultKind::copy) {
        EXPECT_EQ(m->inputs[s.source].kind, DefaultKind::required) << s.name;
      }
    }
    EXPECT_EQ(find_input(*m, "nope", 4), m->n_inputs);
  }
  EXPECT_EQ(find_model("talvor"), &talvor_table);
  EXPECT_EQ(find_model("pindrel"), &pindrel_table);
  EXPECT_EQ(find_model("talvo"), nullptr);
}

}  // namespace
}  // namespace wheelsoil::detail::cli
