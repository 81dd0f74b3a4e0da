#include "emit/c_serialization_fields.hpp"

#include <functional>

#include "emit/cdr_rules.hpp"
#include "naming.hpp"

namespace idlc::serialization_c {
namespace {

std::string nested_callbacks(const Structure& nested, const std::string& wire) {
  return wire + "::callbacks(" + naming::message_handle(naming::Deliverable::SerializationC, nested) + "())";
}

void fail_unless(CodeWriter& out, const std::string& condition) {
  auto block = out.block("if (!" + condition + ")");
  out.line("return false;");
}

// One element: the field itself, or one entry of an array or sequence.
// `callbacks` is the nested element type's callbacks record, when the caller looked it up.
void serialize_element(CodeWriter& out, const Type& type, const std::string& element,
                       const std::string& wire, const std::string& callbacks = "") {
  switch (type.element) {
    case ElementKind::Primitive:
      if (type.primitive == Primitive::Bool) {
        out.line("cdr.serialize($x$);", {{"x", element}});
      } else {
        out.line("cdr.serialize(static_cast<$cdr$>($x$));",
                 {{"cdr", std::string(primitive_info(type.primitive).cdr_type)}, {"x", element}});
      }
      return;
    case ElementKind::String:
      fail_unless(out, wire + "::write_string(cdr, " + element + ")");
      return;
    case ElementKind::Nested:
      fail_unless(out, (callbacks.empty() ? nested_callbacks(*type.nested, wire) : callbacks) +
                           "->cdr_serialize(&" + element + ", cdr)");
      return;
  }
}

void deserialize_element(CodeWriter& out, const Type& type, const std::string& element,
                         const std::string& field_name, const std::string& wire,
                         const std::string& callbacks = "") {
  switch (type.element) {
    case ElementKind::Primitive:
      if (type.primitive == Primitive::Bool) {
        out.line("$element$ = $wire$::read_bool(cdr);", {{"element", element}, {"wire", wire}});
      } else {
        out.line("$element$ = $wire$::read_as<$cdr$, $c$>(cdr);",
                 {{"element", element},
                  {"wire", wire},
                  {"cdr", std::string(primitive_info(type.primitive).cdr_type)},
                  {"c", std::string(primitive_info(type.primitive).c_type)}});
      }
      return;
    case ElementKind::String:
      fail_unless(out, wire + "::read_string(cdr, " + element + ", \"" + field_name + "\")");
      return;
    case ElementKind::Nested:
      fail_unless(out, (callbacks.empty() ? nested_callbacks(*type.nested, wire) : callbacks) +
                           "->cdr_deserialize(cdr, &" + element + ")");
      return;
  }
}

// Writes or reads every element; the callbacks record of a nested element type is looked up
// once, before the loop, rather than once per element.
void each_wire_element(CodeWriter& out, const Type& type, const std::string& count,
                       const std::string& wire,
                       const std::function<void(const std::string& index, const std::string& callbacks)>& body) {
  if (type.element != ElementKind::Nested) {
    cdr::each_element(out, count, [&](const std::string& index) { body(index, ""); });
    return;
  }
  auto scope = out.block("");
  out.line("const message_type_support_callbacks_t * element_callbacks = $callbacks$;",
           {{"callbacks", nested_callbacks(*type.nested, wire)}});
  cdr::each_element(out, count, [&](const std::string& index) { body(index, "element_callbacks"); });
}

// A bounded sequence's size, of the structure or from the wire, is checked before it is used.
void refuse_above_bound(CodeWriter& out, const Field& field, const std::string& size,
                        const std::string& wire) {
  if (field.type.container != Container::BoundedSequence) return;
  fail_unless(out, wire + "::within_bound(" + size + ", " + std::to_string(field.type.size) +
                       ", \"" + field.name + "\")");
}

}  // namespace

void write_serialize_field(CodeWriter& out, const Field& field, const std::string& wire) {
  const Type& type = field.type;
  const std::string member = "ros_message->" + field.name;
  const std::string count = std::to_string(type.size);
  switch (type.kind()) {
    case FieldKind::Primitive:
    case FieldKind::String:
    case FieldKind::Nested: serialize_element(out, type, member, wire); return;
    case FieldKind::PrimitiveArray:
      if (cdr::bulk_array(type)) {
        out.line("cdr.serializeArray($m$, $n$);", {{"m", member}, {"n", count}});
        return;
      }
      [[fallthrough]];
    case FieldKind::StringArray:
    case FieldKind::NestedArray:
      each_wire_element(out, type, count, wire, [&](const std::string& index, const std::string& callbacks) {
        serialize_element(out, type, member + index, wire, callbacks);
      });
      return;
    case FieldKind::PrimitiveSequence:
    case FieldKind::StringSequence:
    case FieldKind::NestedSequence:
      refuse_above_bound(out, field, member + ".size", wire);
      out.line("$wire$::write_count(cdr, $m$.size);", {{"wire", wire}, {"m", member}});
      if (cdr::bulk_array(type)) {
        out.line("cdr.serializeArray($m$.data, $m$.size);", {{"m", member}});
        return;
      }
      each_wire_element(out, type, member + ".size", wire,
                        [&](const std::string& index, const std::string& callbacks) {
                          serialize_element(out, type, member + ".data" + index, wire, callbacks);
                        });
      return;
  }
}

void write_deserialize_field(CodeWriter& out, const Field& field, const std::string& wire) {
  const Type& type = field.type;
  const std::string member = "ros_message->" + field.name;
  const std::string count = std::to_string(type.size);
  switch (type.kind()) {
    case FieldKind::Primitive:
    case FieldKind::String:
    case FieldKind::Nested: deserialize_element(out, type, member, field.name, wire); return;
    case FieldKind::PrimitiveArray:
      if (cdr::bulk_array(type)) {
        out.line("cdr.deserializeArray($m$, $n$);", {{"m", member}, {"n", count}});
        return;
      }
      [[fallthrough]];
    case FieldKind::StringArray:
    case FieldKind::NestedArray:
      each_wire_element(out, type, count, wire, [&](const std::string& index, const std::string& callbacks) {
        deserialize_element(out, type, member + index, field.name, wire, callbacks);
      });
      return;
    case FieldKind::PrimitiveSequence:
    case FieldKind::StringSequence:
    case FieldKind::NestedSequence: {
      auto scope = out.block("");
      out.line("const size_t count = $wire$::read_count(cdr, $min$);",
               {{"wire", wire}, {"min", cdr::minimum_element_bytes(type)}});
      refuse_above_bound(out, field, "count", wire);
      {
        auto release = out.block("if ($m$.data)", {{"m", member}});
        out.line(naming::c_sequence_function_of(type, "fini") + "(&" + member + ");");
      }
      {
        auto failed = out.block("if (!" + naming::c_sequence_function_of(type, "init") + "(&" + member + ", count))");
        out.line("fputs(\"failed to create array for field '$name$'\", stderr);", {{"name", field.name}});
        out.line("return false;");
      }
      if (cdr::bulk_array(type)) {
        out.line("cdr.deserializeArray($m$.data, count);", {{"m", member}});
        return;
      }
      each_wire_element(out, type, "count", wire, [&](const std::string& index, const std::string& callbacks) {
        deserialize_element(out, type, member + ".data" + index, field.name, wire, callbacks);
      });
      return;
    }
  }
}

}  // namespace idlc::serialization_c
