#pragma once

// Reads default and constant values against their type: range, form and count are checked
// here, so emitters only ever format values that are known to be valid.

#include <string>

#include "model/model.hpp"

namespace idlc {

Scalar parse_primitive_value(Primitive primitive, const std::string& text,
                             const SourceLocation& where);
Scalar parse_string_value(const std::string& text, std::size_t bound, const SourceLocation& where);

// A field's default: a single value, or "[a, b, ...]" for arrays and sequences.
Value parse_default(const Type& type, const std::string& text, const SourceLocation& where);

}  // namespace idlc
