#include "emit/c_serialization_fields.hpp"

#include <functional>

#include "model/encoded_size.hpp"
#include "naming.hpp"

namespace idlc::serialization_c {
namespace {

std::string size_of(const Type& type) {
  return std::to_string(primitive_info(type.primitive).wire_size);
}

std::string nested_callbacks(const Structure& nested, const std::string& wire) {
  return wire + "::callbacks(" + naming::message_handle(naming::Support::FastCdrC, nested) + "())";
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

// Primitives other than bool travel as one array call; bool is read octet by octet so that
// any non-zero octet means true.
bool bulk_array(const Type& type) {
  return type.element == ElementKind::Primitive && type.primitive != Primitive::Bool;
}

void each_element(CodeWriter& out, const std::string& count,
                  const std::function<void(const std::string& index)>& body) {
  auto loop = out.block("for (size_t i = 0; i < $count$; ++i)", {{"count", count}});
  body("[i]");
}

// Writes or reads every element; the callbacks record of a nested element type is looked up
// once, before the loop, rather than once per element.
void each_wire_element(CodeWriter& out, const Type& type, const std::string& count,
                       const std::string& wire,
                       const std::function<void(const std::string& index, const std::string& callbacks)>& body) {
  if (type.element != ElementKind::Nested) {
    each_element(out, count, [&](const std::string& index) { body(index, ""); });
    return;
  }
  auto scope = out.block("");
  out.line("const message_type_support_callbacks_t * element_callbacks = $callbacks$;",
           {{"callbacks", nested_callbacks(*type.nested, wire)}});
  each_element(out, count, [&](const std::string& index) { body(index, "element_callbacks"); });
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
      if (bulk_array(type)) {
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
      out.line("$wire$::write_count(cdr, $m$.size);", {{"wire", wire}, {"m", member}});
      if (bulk_array(type)) {
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
      if (bulk_array(type)) {
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
               {{"wire", wire}, {"min", std::to_string(minimum_element_encoded_size(type))}});
      {
        auto release = out.block("if ($m$.data)", {{"m", member}});
        out.line(naming::c_sequence_function_of(type, "fini") + "(&" + member + ");");
      }
      {
        auto failed = out.block("if (!" + naming::c_sequence_function_of(type, "init") + "(&" + member + ", count))");
        out.line("fputs(\"failed to create array for field '$name$'\", stderr);", {{"name", field.name}});
        out.line("return false;");
      }
      if (bulk_array(type)) {
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

void write_size_field(CodeWriter& out, const Field& field, const std::string& wire) {
  const Type& type = field.type;
  const std::string member = "ros_message->" + field.name;
  const Bindings common = {{"wire", wire}};
  auto element_size = [&](const std::string& element) {
    switch (type.element) {
      case ElementKind::Primitive:
        out.line("current_alignment += $wire$::padded(current_alignment, $s$, 1);",
                 {{"wire", wire}, {"s", size_of(type)}});
        return;
      case ElementKind::String:
        out.line("current_alignment += $wire$::padded(current_alignment, 4, 1) + $x$.size + 1;",
                 {{"wire", wire}, {"x", element}});
        return;
      case ElementKind::Nested:
        out.line("current_alignment += $size$(&$x$, current_alignment);",
                 {{"size", naming::serialized_size_function(*type.nested)}, {"x", element}});
        return;
    }
  };
  switch (type.kind()) {
    case FieldKind::Primitive:
    case FieldKind::String:
    case FieldKind::Nested: element_size(member); return;
    case FieldKind::PrimitiveArray:
      out.line("current_alignment += $wire$::padded(current_alignment, $s$, $n$);",
               {{"wire", wire}, {"s", size_of(type)}, {"n", std::to_string(type.size)}});
      return;
    case FieldKind::StringArray:
    case FieldKind::NestedArray:
      each_element(out, std::to_string(type.size), [&](const std::string& index) { element_size(member + index); });
      return;
    case FieldKind::PrimitiveSequence:
      out.line("current_alignment += $wire$::padded(current_alignment, 4, 1);", common);
      // the padding before the elements counts even when there are none
      out.line("current_alignment += $wire$::padded(current_alignment, $s$, $m$.size);",
               {{"wire", wire}, {"s", size_of(type)}, {"m", member}});
      return;
    case FieldKind::StringSequence:
    case FieldKind::NestedSequence:
      out.line("current_alignment += $wire$::padded(current_alignment, 4, 1);", common);
      each_element(out, member + ".size", [&](const std::string& index) { element_size(member + ".data" + index); });
      return;
  }
}

void write_max_size_field(CodeWriter& out, const Field& field, const std::string& wire) {
  const Type& type = field.type;
  const std::string count = std::to_string(type.size);
  auto unbounded = [&]() {
    out.line("full_bounded = false;");
    out.line("is_plain = false;");
  };
  auto nested_bound = [&](const std::string& accumulate) {
    auto scope = out.block("");
    out.line("bool inner_full_bounded;");
    out.line("bool inner_is_plain;");
    out.line("const size_t inner_size = $max$(inner_full_bounded, inner_is_plain, current_alignment);",
             {{"max", naming::max_serialized_size_function(*type.nested)}});
    out.line("last_member_size " + accumulate + " inner_size;");
    out.line("current_alignment += inner_size;");
    out.line("full_bounded &= inner_full_bounded;");
    out.line("is_plain &= inner_is_plain;");
  };
  switch (type.kind()) {
    case FieldKind::Primitive:
    case FieldKind::PrimitiveArray: {
      const std::string n = type.kind() == FieldKind::Primitive ? "1" : count;
      out.line("last_member_size = $bytes$;",
               {{"bytes", std::to_string(std::stoul(n) * primitive_info(type.primitive).wire_size)}});
      out.line("current_alignment += $wire$::padded(current_alignment, $s$, $n$);",
               {{"wire", wire}, {"s", size_of(type)}, {"n", n}});
      return;
    }
    case FieldKind::String:
      unbounded();
      out.line("current_alignment += $wire$::padded(current_alignment, 4, 1) + 1;", {{"wire", wire}});
      return;
    case FieldKind::StringArray:
      unbounded();
      each_element(out, count, [&](const std::string&) {
        out.line("current_alignment += $wire$::padded(current_alignment, 4, 1) + 1;", {{"wire", wire}});
      });
      return;
    case FieldKind::Nested: nested_bound("="); return;
    case FieldKind::NestedArray:
      out.line("last_member_size = 0;");
      each_element(out, count, [&](const std::string&) { nested_bound("+="); });
      return;
    case FieldKind::PrimitiveSequence:
      unbounded();
      out.line("current_alignment += $wire$::padded(current_alignment, 4, 1);", {{"wire", wire}});
      out.line("current_alignment += $wire$::padded(current_alignment, $s$, 0);",
               {{"wire", wire}, {"s", size_of(type)}});
      return;
    case FieldKind::StringSequence:
    case FieldKind::NestedSequence:
      unbounded();
      out.line("current_alignment += $wire$::padded(current_alignment, 4, 1);", {{"wire", wire}});
      return;
  }
}

bool size_reads_message(const Structure& structure) {
  for (const Field& field : structure.fields) {
    if (field.type.element != ElementKind::Primitive || field.type.is_sequence()) return true;
  }
  return false;
}

}  // namespace idlc::serialization_c
