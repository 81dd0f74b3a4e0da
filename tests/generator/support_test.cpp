#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "support/code_writer.hpp"
#include "support/literals.hpp"

namespace idlc {
namespace {

TEST(Literal, IntegersAndBooleansAtTheirLimits) {
  struct Row {
    Primitive primitive;
    Scalar value;
    std::string expected;
  };
  const std::vector<Row> rows = {
      // Written as a negated literal, these minima would overflow the positive part first.
      {Primitive::Int64, {std::numeric_limits<std::int64_t>::min()}, "INT64_MIN"},
      {Primitive::Int32, {std::int64_t{INT32_MIN}}, "INT32_MIN"},
      {Primitive::Uint64, {std::numeric_limits<std::uint64_t>::max()}, "UINT64_MAX"},
      {Primitive::Int64, {std::int64_t{-7}}, "INT64_C(-7)"},
      {Primitive::Uint64, {std::uint64_t{42}}, "UINT64_C(42)"},
      {Primitive::Uint32, {std::uint64_t{4294967295u}}, "4294967295u"},
      {Primitive::Int8, {std::int64_t{-128}}, "-128"},
      {Primitive::Uint8, {std::uint64_t{255}}, "255"},
      {Primitive::Bool, {true}, "true"},
      {Primitive::Bool, {false}, "false"},
  };
  for (const Row& row : rows) EXPECT_EQ(c_literal(row.primitive, row.value), row.expected);
}

TEST(Literal, SpecialFloatingValues) {
  const double inf = std::numeric_limits<double>::infinity();
  for (const Primitive primitive : {Primitive::Float32, Primitive::Float64}) {
    SCOPED_TRACE(static_cast<int>(primitive));
    const std::string nan = c_literal(primitive, {std::numeric_limits<double>::quiet_NaN()});
    EXPECT_NE(nan.find("NAN"), std::string::npos) << nan;
    const std::string positive = c_literal(primitive, {inf});
    EXPECT_NE(positive.find("INFINITY"), std::string::npos) << positive;
    EXPECT_NE(positive[0], '-') << positive;
    const std::string negative = c_literal(primitive, {-inf});
    EXPECT_EQ(negative[0], '-') << negative;
    EXPECT_NE(negative.find("INFINITY"), std::string::npos) << negative;
  }
  EXPECT_EQ(c_literal(Primitive::Float64, {-0.0}), "-0.0");
  EXPECT_EQ(c_literal(Primitive::Float32, {-0.0}), "-0.0f");
  EXPECT_EQ(c_literal(Primitive::Float32, {1.0}), "1.0f");
}

// In C++ NaN and the infinities must stay constant expressions, for static constexpr
// constants; finite values read as in C.
TEST(Literal, CppSpecialFloatingValuesComeFromNumericLimits) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(cpp_literal(Primitive::Float64, {std::numeric_limits<double>::quiet_NaN()}),
            "std::numeric_limits<double>::quiet_NaN()");
  EXPECT_EQ(cpp_literal(Primitive::Float32, {inf}), "std::numeric_limits<float>::infinity()");
  EXPECT_EQ(cpp_literal(Primitive::Float64, {-inf}), "-std::numeric_limits<double>::infinity()");
  EXPECT_EQ(cpp_literal(Primitive::Float32, {1.0}), c_literal(Primitive::Float32, {1.0}));
  EXPECT_EQ(cpp_literal(Primitive::Int64, {std::numeric_limits<std::int64_t>::min()}), "INT64_MIN");
  EXPECT_EQ(cpp_literal(Primitive::Uint8, {std::string("a\"b")}), "\"a\\\"b\"");
}

// A literal must read back to the very same value, and must stay a floating literal: "1"
// would turn `x / 2` into integer division in generated code.
TEST(Literal, FloatingValuesRoundTrip) {
  const std::vector<double> values = {
      0.1,          1.0 / 3.0, 2.0,   -1.5e-300,
      5e-324,       1e16,      1e300, std::numeric_limits<double>::max(),
      123456789.125};
  for (const double value : values) {
    const std::string text = c_literal(Primitive::Float64, {value});
    EXPECT_NE(text.find_first_of(".eE"), std::string::npos) << text;
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), value) << text;

    const float single = static_cast<float>(value);
    if (!std::isfinite(single) || single == 0.0f) continue;
    const std::string text32 = c_literal(Primitive::Float32, {static_cast<double>(single)});
    ASSERT_EQ(text32.back(), 'f') << text32;
    EXPECT_NE(text32.find_first_of(".eE"), std::string::npos) << text32;
    EXPECT_EQ(std::strtof(text32.c_str(), nullptr), single) << text32;
  }
}

TEST(Literal, StringsAreEscaped) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"plain", "\"plain\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"C:\\dir", "\"C:\\\\dir\""},
      {"a\nb\tc\r", "\"a\\nb\\tc\\r\""},
      // Octal, not hex: a following digit must not join the escape.
      {std::string("\x01") + "7", "\"\\0017\""},
      {"\x7f", "\"\\177\""},
      {"what?"
       "?=",
       "\"what?\\?=\""},
      {"", "\"\""},
  };
  for (const auto& [text, expected] : rows) {
    EXPECT_EQ(c_string_literal(text), expected);
    EXPECT_EQ(c_literal(Primitive::Uint8, {text}), expected);
  }
}

TEST(Substitute, ChecksEveryPlaceholderAndBinding) {
  EXPECT_EQ(substitute("$type$ $name$ = $name$_init;", {{"type", "int"}, {"name", "x"}}),
            "int x = x_init;");
  const std::vector<std::pair<std::string, Bindings>> faulty = {
      {"$type$ x;", {}},                                    // unbound
      {"int x;", {{"type", "int"}}},                        // unused
      {"$type$ $nme$;", {{"type", "int"}, {"name", "x"}}},  // typo: both
      {"int $x;", {{"x", "1"}}},                            // unterminated
  };
  for (const auto& [text, bindings] : faulty) {
    EXPECT_THROW(substitute(text, bindings), std::logic_error) << text;
    EXPECT_THROW(CodeWriter().line(text, bindings), std::logic_error) << text;
  }
}

TEST(CodeWriter, IndentsNestedBlocksAndAppendedText) {
  CodeWriter writer;
  {
    const auto type = writer.block("typedef struct $name$", {{"name", "Trash"}}, " Trash;");
    writer.line("int32_t id;");
    writer.line();
    const auto inner = writer.block("struct");
    writer.lines("int a;\n\nint $b$;", {{"b", "b"}});
  }
  writer.append("int after;\n  int kept;");
  EXPECT_EQ(writer.text(),
            "typedef struct Trash {\n"
            "  int32_t id;\n"
            "\n"
            "  struct {\n"
            "    int a;\n"
            "\n"
            "    int b;\n"
            "  }\n"
            "} Trash;\n"
            "int after;\n"
            "  int kept;\n");
}

}  // namespace
}  // namespace idlc
