#include "support/literals.hpp"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace idlc {
namespace {

std::string floating_literal(double value, bool single) {
  if (std::isnan(value)) return single ? "NAN" : "(double)NAN";
  if (std::isinf(value)) {
    const std::string infinity = single ? "INFINITY" : "(double)INFINITY";
    return value < 0 ? "-" + infinity : infinity;
  }
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, single ? "%.9g" : "%.17g", value);
  std::string text = buffer;
  if (text.find_first_of(".eE") == std::string::npos) text += ".0";
  return single ? text + "f" : text;
}

std::string signed_literal(std::int64_t value, Primitive primitive) {
  if (primitive == Primitive::Int64) {
    if (value == std::numeric_limits<std::int64_t>::min()) return "INT64_MIN";
    return "INT64_C(" + std::to_string(value) + ")";
  }
  if (primitive == Primitive::Int32 && value == std::numeric_limits<std::int32_t>::min()) {
    return "INT32_MIN";
  }
  return std::to_string(value);
}

std::string unsigned_literal(std::uint64_t value, Primitive primitive) {
  if (primitive == Primitive::Uint64) {
    if (value == std::numeric_limits<std::uint64_t>::max()) return "UINT64_MAX";
    return "UINT64_C(" + std::to_string(value) + ")";
  }
  if (primitive == Primitive::Uint32) return std::to_string(value) + "u";
  return std::to_string(value);
}

}  // namespace

std::string c_literal(Primitive primitive, const Scalar& value) {
  if (const auto* boolean = std::get_if<bool>(&value.value)) return *boolean ? "true" : "false";
  if (const auto* number = std::get_if<std::int64_t>(&value.value)) {
    return signed_literal(*number, primitive);
  }
  if (const auto* number = std::get_if<std::uint64_t>(&value.value)) {
    return unsigned_literal(*number, primitive);
  }
  if (const auto* number = std::get_if<double>(&value.value)) {
    return floating_literal(*number, primitive == Primitive::Float32);
  }
  return c_string_literal(std::get<std::string>(value.value));
}

std::string cpp_literal(Primitive primitive, const Scalar& value) {
  const auto* number = std::get_if<double>(&value.value);
  if (number == nullptr || std::isfinite(*number)) return c_literal(primitive, value);
  const std::string limits =
      primitive == Primitive::Float32 ? "std::numeric_limits<float>::" : "std::numeric_limits<double>::";
  if (std::isnan(*number)) return limits + "quiet_NaN()";
  return *number < 0 ? "-" + limits + "infinity()" : limits + "infinity()";
}

std::string c_string_literal(const std::string& text) {
  std::string result = "\"";
  char previous = 0;
  for (const char c : text) {
    // Strict C11 still reads "??=" and its kin as trigraphs, so the second '?' is escaped.
    if (c == '?' && previous == '?') {
      result += "\\?";
      previous = c;
      continue;
    }
    previous = c;
    switch (c) {
      case '"': result += "\\\""; break;
      case '\\': result += "\\\\"; break;
      case '\n': result += "\\n"; break;
      case '\t': result += "\\t"; break;
      case '\r': result += "\\r"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\%03o", static_cast<unsigned char>(c));
          result += escape;
        } else {
          result += c;
        }
    }
  }
  return result + "\"";
}

}  // namespace idlc
