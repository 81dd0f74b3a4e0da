#pragma once

// Pieces of the Python conversion library's emitter: the package's number rules
// (py_conversion_rules.cpp), the per-kind field code (py_conversion_fields.cpp), and
// the units that stitch them together (py_conversion.cpp).

#include <string>

#include "model/model.hpp"
#include "support/code_writer.hpp"
#include "support/generated_file.hpp"

namespace idlc::py_conversion {

// The header that every unit of the package includes: the runtime's rules, and one store and
// one make function per primitive the package uses.
GeneratedFile rules_header(const Package& package);

// The rules' functions that turn one Python value into a C element of a primitive or string
// type, and one C element into a new Python value.
std::string store_function(const Type& type);
std::string make_function(const Type& type);

// Whether the Python class keeps this primitive sequence or array as an `array.array` that
// the to-Python conversion refills in place (numbers: their primitive has a typecode), rather
// than as a list (bools, strings).
bool held_as_array(const Type& type);

// The statements that fill one field of `ros_message` from the Python object `_pymsg`, and
// that set one attribute of `_pymessage` from `ros_message`; both leave the function on failure.
void write_from_py_field(CodeWriter& out, const Field& field);
void write_to_py_field(CodeWriter& out, const Field& field);

}  // namespace idlc::py_conversion
