#include "model/primitives.hpp"

#include <array>

namespace idlc {
namespace {

using L = LiteralClass;

// clang-format off
constexpr std::array<PrimitiveInfo, 13> kPrimitives = {{
  {Primitive::Bool,    "bool",    "bool",     "bool",     "boolean", "bool",    "BOOLEAN", 6,  1, "bool",     L::Boolean,  "boolean", 0},
  {Primitive::Byte,    "byte",    "uint8_t",  "uint8_t",  "octet",   "octet",   "OCTET",   7,  1, "char",     L::Unsigned, "octet",   'B'},
  {Primitive::Char,    "char",    "uint8_t",  "uint8_t",  "uint8",   "uint8",   "UINT8",   8,  1, "char",     L::Unsigned, "uint8",   'B'},
  {Primitive::Float32, "float32", "float",    "float",    "float",   "float",   "FLOAT",   1,  4, "float",    L::Floating, "float",   'f'},
  {Primitive::Float64, "float64", "double",   "double",   "double",  "double",  "DOUBLE",  2,  8, "double",   L::Floating, "double",  'd'},
  {Primitive::Int8,    "int8",    "int8_t",   "int8_t",   "int8",    "int8",    "INT8",    9,  1, "char",     L::Signed,   "int8",    'b'},
  {Primitive::Uint8,   "uint8",   "uint8_t",  "uint8_t",  "uint8",   "uint8",   "UINT8",   8,  1, "char",     L::Unsigned, "uint8",   'B'},
  {Primitive::Int16,   "int16",   "int16_t",  "int16_t",  "int16",   "int16",   "INT16",   11, 2, "int16_t",  L::Signed,   "int16",   'h'},
  {Primitive::Uint16,  "uint16",  "uint16_t", "uint16_t", "uint16",  "uint16",  "UINT16",  10, 2, "uint16_t", L::Unsigned, "uint16",  'H'},
  {Primitive::Int32,   "int32",   "int32_t",  "int32_t",  "int32",   "int32",   "INT32",   13, 4, "int32_t",  L::Signed,   "int32",   'i'},
  {Primitive::Uint32,  "uint32",  "uint32_t", "uint32_t", "uint32",  "uint32",  "UINT32",  12, 4, "int32_t",  L::Unsigned, "uint32",  'I'},
  {Primitive::Int64,   "int64",   "int64_t",  "int64_t",  "int64",   "int64",   "INT64",   15, 8, "int64_t",  L::Signed,   "int64",   'q'},
  {Primitive::Uint64,  "uint64",  "uint64_t", "uint64_t", "uint64",  "uint64",  "UINT64",  14, 8, "uint64_t", L::Unsigned, "uint64",  'Q'},
}};
// clang-format on

}  // namespace

const PrimitiveInfo& primitive_info(Primitive kind) {
  for (const auto& info : kPrimitives) {
    if (info.kind == kind) return info;
  }
  return kPrimitives.front();  // unreachable: every enumerator has a row
}

std::optional<Primitive> primitive_by_name(std::string_view ros_name) {
  for (const auto& info : kPrimitives) {
    if (info.ros_name == ros_name) return info.kind;
  }
  return std::nullopt;
}

}  // namespace idlc
