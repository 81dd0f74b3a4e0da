#pragma once

// Formats checked values as C, C++ and Python source literals: INT64_MIN, UINT64_MAX, NaN and the
// infinities, -0.0, floats that read back to the same bits, and escaped strings.

#include <string>

#include "model/model.hpp"

namespace idlc {

std::string c_literal(Primitive primitive, const Scalar& value);
// The same value for C++ sources, where NaN and the infinities come from <limits> so that
// they stay constant expressions.
std::string cpp_literal(Primitive primitive, const Scalar& value);
std::string c_string_literal(const std::string& text);

// The same values as Python source: True/False, float('nan'), float('-inf'), -0.0, and
// strings as ASCII-only literals (invalid UTF-8 becomes U+FFFD, as the decoder would read it).
std::string py_literal(const Scalar& value);
std::string py_string_literal(const std::string& utf8);

}  // namespace idlc
