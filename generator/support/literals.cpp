#include "support/literals.hpp"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace idlc {
namespace {

// Enough digits to read back the same bits, and always a point or an exponent so that the
// literal stays floating.
std::string decimal_text(double value, bool single) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, single ? "%.9g" : "%.17g", value);
  std::string text = buffer;
  if (text.find_first_of(".eE") == std::string::npos) text += ".0";
  return text;
}

std::string floating_literal(double value, bool single) {
  if (std::isnan(value)) return single ? "NAN" : "(double)NAN";
  if (std::isinf(value)) {
    const std::string infinity = single ? "INFINITY" : "(double)INFINITY";
    return value < 0 ? "-" + infinity : infinity;
  }
  const std::string text = decimal_text(value, single);
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

// The code point of the UTF-8 sequence at `text[i]`, advancing `i` past it; a malformed
// sequence gives U+FFFD and advances one byte.
char32_t next_code_point(const std::string& text, std::size_t& i) {
  constexpr char32_t replacement = 0xFFFD;
  const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  char32_t code = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    ++i;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, code = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, code = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, code = lead & 0x07, minimum = 0x10000;
  } else {
    ++i;
    return replacement;
  }
  if (i + length > text.size()) {
    ++i;
    return replacement;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      ++i;
      return replacement;
    }
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not UTF-8 either.
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    ++i;
    return replacement;
  }
  i += length;
  return code;
}

std::string python_float(double value) {
  if (std::isnan(value)) return "float('nan')";
  if (std::isinf(value)) return value < 0 ? "float('-inf')" : "float('inf')";
  return decimal_text(value, false);
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


std::string py_literal(const Scalar& value) {
  if (const auto* boolean = std::get_if<bool>(&value.value)) return *boolean ? "True" : "False";
  if (const auto* number = std::get_if<std::int64_t>(&value.value)) return std::to_string(*number);
  if (const auto* number = std::get_if<std::uint64_t>(&value.value)) {
    return std::to_string(*number);
  }
  if (const auto* number = std::get_if<double>(&value.value)) return python_float(*number);
  return py_string_literal(std::get<std::string>(value.value));
}

std::string py_string_literal(const std::string& utf8) {
  std::string result = "'";
  std::size_t i = 0;
  while (i < utf8.size()) {
    const char32_t code = next_code_point(utf8, i);
    switch (code) {
      case '\'': result += "\\'"; continue;
      case '\\': result += "\\\\"; continue;
      case '\n': result += "\\n"; continue;
      case '\t': result += "\\t"; continue;
      case '\r': result += "\\r"; continue;
      default: break;
    }
    char escape[12];
    if (code < 0x20 || code == 0x7f) {
      std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned>(code));
    } else if (code < 0x80) {
      escape[0] = static_cast<char>(code);
      escape[1] = 0;
    } else if (code <= 0xFFFF) {
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(code));
    } else {
      std::snprintf(escape, sizeof escape, "\\U%08x", static_cast<unsigned>(code));
    }
    result += escape;
  }
  return result + "'";
}

}  // namespace idlc
