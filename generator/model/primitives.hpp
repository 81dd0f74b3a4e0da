#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace idlc {

enum class Primitive {
  Bool,
  Byte,
  Char,
  Float32,
  Float64,
  Int8,
  Uint8,
  Int16,
  Uint16,
  Int32,
  Uint32,
  Int64,
  Uint64,
};

enum class LiteralClass { Boolean, Signed, Unsigned, Floating };

// Everything any emitter needs to know about a primitive, in one row, so that no emitter
// re-decides a C type, a wire size or a type code on its own.
struct PrimitiveInfo {
  Primitive kind;
  std::string_view ros_name;       // as written in definitions
  std::string_view c_type;         // member type in C structures
  std::string_view cpp_type;       // member type in C++ classes
  std::string_view c_sequence;     // infix of rosidl_runtime_c__<infix>__Sequence
  std::string_view c_sequence_functions;  // infix of the sequence functions (bool differs)
  std::string_view introspection;  // suffix of the introspection type-code enumerator
  int introspection_code;          // its value
  std::size_t wire_size;           // bytes on the CDR wire, also its alignment
  std::string_view cdr_type;       // the Fast-CDR overload a single value goes through
  LiteralClass literal;
  std::string_view idl_name;       // as Python classes report it in their field types
  char py_typecode;                // array.array typecode of its sequences; 0: a list instead
};

const PrimitiveInfo& primitive_info(Primitive kind);
std::optional<Primitive> primitive_by_name(std::string_view ros_name);

}  // namespace idlc
