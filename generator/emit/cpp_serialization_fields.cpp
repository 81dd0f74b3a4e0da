#include "emit/cpp_serialization_fields.hpp"

#include <functional>

#include "emit/cdr_rules.hpp"
#include "naming.hpp"

namespace idlc::serialization_cpp {
namespace {

using naming::CppCdrFunction;

std::string cdr_type(const Type& type) {
  return std::string(primitive_info(type.primitive).cdr_type);
}

// One element: the member itself, or one entry of an array or sequence.
void serialize_element(CodeWriter& out, const Type& type, const std::string& element,
                       const std::string& wire) {
  switch (type.element) {
    case ElementKind::Primitive:
      out.line("$wire$::write<$cdr$>(cdr, $x$);",
               {{"wire", wire}, {"cdr", cdr_type(type)}, {"x", element}});
      return;
    case ElementKind::String:
      out.line("$wire$::write_string(cdr, $x$);", {{"wire", wire}, {"x", element}});
      return;
    case ElementKind::Nested:
      out.line("$serialize$($x$, cdr);",
               {{"serialize",
                 naming::cpp_cdr_function_qualified(CppCdrFunction::Serialize, *type.nested)},
                {"x", element}});
      return;
  }
}

void deserialize_element(CodeWriter& out, const Type& type, const std::string& element,
                         const std::string& wire) {
  switch (type.element) {
    case ElementKind::Primitive:
      // by value, so that the proxy elements of a bool vector can take it too
      if (type.primitive == Primitive::Bool) {
        out.line("$x$ = $wire$::read_bool(cdr);", {{"wire", wire}, {"x", element}});
      } else {
        out.line("$wire$::read<$cdr$>(cdr, $x$);",
                 {{"wire", wire}, {"cdr", cdr_type(type)}, {"x", element}});
      }
      return;
    case ElementKind::String:
      out.line("$wire$::read_string(cdr, $x$);", {{"wire", wire}, {"x", element}});
      return;
    case ElementKind::Nested:
      out.line("$deserialize$(cdr, $x$);",
               {{"deserialize",
                 naming::cpp_cdr_function_qualified(CppCdrFunction::Deserialize, *type.nested)},
                {"x", element}});
      return;
  }
}

}  // namespace

void write_serialize_field(CodeWriter& out, const Field& field, const std::string& wire) {
  const Type& type = field.type;
  const std::string member = "ros_message." + field.name;
  switch (type.kind()) {
    case FieldKind::Primitive:
    case FieldKind::String:
    case FieldKind::Nested:
      serialize_element(out, type, member, wire);
      return;
    case FieldKind::PrimitiveArray:
      if (cdr::bulk_array(type)) {
        out.line("$wire$::write_array(cdr, $m$);", {{"wire", wire}, {"m", member}});
        return;
      }
      [[fallthrough]];
    case FieldKind::StringArray:
    case FieldKind::NestedArray:
      cdr::each_element(out, std::to_string(type.size), [&](const std::string& index) {
        serialize_element(out, type, member + index, wire);
      });
      return;
    case FieldKind::PrimitiveSequence:
      if (cdr::bulk_array(type)) {
        out.line("$wire$::write_sequence(cdr, $m$);", {{"wire", wire}, {"m", member}});
        return;
      }
      [[fallthrough]];
    case FieldKind::StringSequence:
    case FieldKind::NestedSequence:
      out.line("$wire$::write_count(cdr, $m$.size());", {{"wire", wire}, {"m", member}});
      cdr::each_element(out, member + ".size()", [&](const std::string& index) {
        serialize_element(out, type, member + index, wire);
      });
      return;
  }
}

void write_deserialize_field(CodeWriter& out, const Field& field, const std::string& wire) {
  const Type& type = field.type;
  const std::string member = "ros_message." + field.name;
  switch (type.kind()) {
    case FieldKind::Primitive:
    case FieldKind::String:
    case FieldKind::Nested:
      deserialize_element(out, type, member, wire);
      return;
    case FieldKind::PrimitiveArray:
      if (cdr::bulk_array(type)) {
        out.line("$wire$::read_array(cdr, $m$);", {{"wire", wire}, {"m", member}});
        return;
      }
      [[fallthrough]];
    case FieldKind::StringArray:
    case FieldKind::NestedArray:
      cdr::each_element(out, std::to_string(type.size), [&](const std::string& index) {
        deserialize_element(out, type, member + index, wire);
      });
      return;
    case FieldKind::PrimitiveSequence:
      if (cdr::bulk_array(type)) {
        out.line("$wire$::read_sequence(cdr, $m$);", {{"wire", wire}, {"m", member}});
        return;
      }
      [[fallthrough]];
    case FieldKind::StringSequence:
    case FieldKind::NestedSequence:
      // The count is checked against the bytes left before the vector changes; existing
      // elements are kept and overwritten, new ones start as default-constructed objects.
      out.line("$m$.resize($wire$::read_count(cdr, $min$));",
               {{"m", member}, {"wire", wire}, {"min", cdr::minimum_element_bytes(type)}});
      cdr::each_element(out, member + ".size()", [&](const std::string& index) {
        deserialize_element(out, type, member + index, wire);
      });
      return;
  }
}

}  // namespace idlc::serialization_cpp
