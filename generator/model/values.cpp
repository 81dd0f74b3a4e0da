#include "model/values.hpp"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "model/text.hpp"

namespace idlc {
namespace {

CompileError bad_value(const SourceLocation& where, const std::string& expected,
                       const std::string& text) {
  return CompileError(where, "expected " + expected + ", found '" + text + "'");
}

struct IntegerRange {
  std::int64_t min;
  std::uint64_t max;
};

IntegerRange range_of(Primitive primitive) {
  switch (primitive) {
    case Primitive::Int8: return {INT8_MIN, INT8_MAX};
    case Primitive::Int16: return {INT16_MIN, INT16_MAX};
    case Primitive::Int32: return {INT32_MIN, INT32_MAX};
    case Primitive::Int64: return {INT64_MIN, INT64_MAX};
    case Primitive::Byte:
    case Primitive::Char:
    case Primitive::Uint8: return {0, UINT8_MAX};
    case Primitive::Uint16: return {0, UINT16_MAX};
    case Primitive::Uint32: return {0, UINT32_MAX};
    case Primitive::Uint64: return {0, UINT64_MAX};
    case Primitive::Bool:
    case Primitive::Float32:
    case Primitive::Float64: break;
  }
  return {0, 0};
}

Scalar parse_integer(Primitive primitive, const std::string& text, const SourceLocation& where) {
  const PrimitiveInfo& info = primitive_info(primitive);
  const std::string expected = "an integer value for " + std::string(info.ros_name);
  if (text.empty()) throw bad_value(where, expected, text);
  const IntegerRange range = range_of(primitive);
  const bool negative = text[0] == '-';
  const std::string digits = (text[0] == '-' || text[0] == '+') ? text.substr(1) : text;
  if (digits.empty() || !std::isdigit(static_cast<unsigned char>(digits[0]))) {
    throw bad_value(where, expected, text);
  }
  char* end = nullptr;
  errno = 0;
  // Decimal only: with base 0 a leading zero would silently read "010" as eight.
  const unsigned long long magnitude = std::strtoull(digits.c_str(), &end, 10);
  if (*end != '\0') throw bad_value(where, expected, text);
  const std::string out_of_range =
      "a value of " + std::string(info.ros_name) + " from " + std::to_string(range.min) + " to " +
      std::to_string(range.max);
  if (errno == ERANGE) throw bad_value(where, out_of_range, text);
  // "-0" is zero of the field's own signedness, not a negative number.
  if (negative && magnitude != 0) {
    const unsigned long long limit = static_cast<unsigned long long>(-(range.min + 1)) + 1;
    if (magnitude > limit) throw bad_value(where, out_of_range, text);
    return Scalar{-static_cast<std::int64_t>(magnitude - 1) - 1};
  }
  if (magnitude > range.max) throw bad_value(where, out_of_range, text);
  if (info.literal == LiteralClass::Signed) return Scalar{static_cast<std::int64_t>(magnitude)};
  return Scalar{static_cast<std::uint64_t>(magnitude)};
}

Scalar parse_floating(Primitive primitive, const std::string& text, const SourceLocation& where) {
  const std::string expected = "a number for " + std::string(primitive_info(primitive).ros_name);
  if (text.empty()) throw bad_value(where, expected, text);
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text.c_str(), &end);
  if (*end != '\0') throw bad_value(where, expected, text);
  // strtod turns a finite number too large for a double into infinity without complaint.
  if (errno == ERANGE && std::isinf(value)) {
    throw bad_value(where, "a value within the range of float64", text);
  }
  // Judged after rounding: FLT_MAX written with more digits than a float holds is still fine.
  if (primitive == Primitive::Float32 && std::isfinite(value) &&
      std::isinf(static_cast<float>(value))) {
    throw bad_value(where, "a value within the range of float32", text);
  }
  return Scalar{value};
}

std::string unquote(const std::string& text, const SourceLocation& where) {
  if (text.size() < 2 || (text[0] != '"' && text[0] != '\'') || text.back() != text[0]) {
    return text;  // an unquoted string default is taken as written
  }
  std::string result;
  for (std::size_t i = 1; i + 1 < text.size(); ++i) {
    char c = text[i];
    if (c == '\\' && i + 2 < text.size()) {
      const char next = text[++i];
      switch (next) {
        case 'n': c = '\n'; break;
        case 't': c = '\t'; break;
        case '\\':
        case '\'':
        case '"': c = next; break;
        default: throw bad_value(where, "a known escape (\\n \\t \\\\ \\' \\\")", text);
      }
    } else if (c == text[0]) {
      throw bad_value(where, "a single quoted string", text);
    }
    result.push_back(c);
  }
  return result;
}

// Splits "[a, 'b,c', d]" at the commas that stand outside quotes.
std::vector<std::string> split_list(const std::string& text, const SourceLocation& where) {
  if (text.size() < 2 || text.front() != '[' || text.back() != ']') {
    throw bad_value(where, "a list of values in brackets", text);
  }
  const std::string inside = trim(text.substr(1, text.size() - 2));
  std::vector<std::string> items;
  if (inside.empty()) return items;
  std::string current;
  char quote = 0;
  for (std::size_t i = 0; i < inside.size(); ++i) {
    const char c = inside[i];
    if (quote != 0) {
      if (c == '\\' && i + 1 < inside.size()) {
        current.push_back(c);
        current.push_back(inside[++i]);
        continue;
      }
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == ',') {
      items.push_back(trim(current));
      current.clear();
      continue;
    }
    current.push_back(c);
  }
  items.push_back(trim(current));
  return items;
}

Scalar parse_element(const Type& type, const std::string& text, const SourceLocation& where) {
  switch (type.element) {
    case ElementKind::Primitive: return parse_primitive_value(type.primitive, text, where);
    case ElementKind::String: return parse_string_value(text, type.string_bound, where);
    case ElementKind::Nested: break;
  }
  throw CompileError(where, "expected no default value for a field of message type, found '" +
                                text + "'");
}

}  // namespace

Scalar parse_primitive_value(Primitive primitive, const std::string& text,
                             const SourceLocation& where) {
  switch (primitive_info(primitive).literal) {
    case LiteralClass::Boolean:
      if (text == "true" || text == "True" || text == "1") return Scalar{true};
      if (text == "false" || text == "False" || text == "0") return Scalar{false};
      throw bad_value(where, "true or false", text);
    case LiteralClass::Signed:
    case LiteralClass::Unsigned: return parse_integer(primitive, text, where);
    case LiteralClass::Floating: return parse_floating(primitive, text, where);
  }
  throw bad_value(where, "a value", text);
}

Scalar parse_string_value(const std::string& text, std::size_t bound,
                          const SourceLocation& where) {
  std::string value = unquote(text, where);
  if (bound != 0 && value.size() > bound) {
    throw bad_value(where, "a string of at most " + std::to_string(bound) + " characters", text);
  }
  return Scalar{std::move(value)};
}

Value parse_default(const Type& type, const std::string& text, const SourceLocation& where) {
  Value value;
  if (type.container == Container::Single) {
    value.items.push_back(parse_element(type, text, where));
    return value;
  }
  value.is_array = true;
  for (const std::string& item : split_list(text, where)) {
    value.items.push_back(parse_element(type, item, where));
  }
  const std::size_t count = value.items.size();
  if (type.container == Container::FixedArray && count != type.size) {
    throw bad_value(where, std::to_string(type.size) + " values", text);
  }
  if (type.container == Container::BoundedSequence && count > type.size) {
    throw bad_value(where, "at most " + std::to_string(type.size) + " values", text);
  }
  return value;
}

}  // namespace idlc
