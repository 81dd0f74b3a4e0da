// What each kind of field contributes to a Python message class: the expression of its
// default value and the check its setter runs. The rules themselves live in the runtime module
// (generator/runtime/corvanthelis_idlc_runtime.py); this file only picks the rule and its
// arguments.

#include <cstdint>
#include <limits>

#include "emit/py_messages.hpp"
#include "support/literals.hpp"

namespace idlc::py_messages {
namespace {

struct IntegerRange {
  std::string low;
  std::string high;
};

IntegerRange integer_range(Primitive primitive) {
  const PrimitiveInfo& info = primitive_info(primitive);
  const unsigned bits = static_cast<unsigned>(info.wire_size * 8);
  if (info.literal == LiteralClass::Unsigned) {
    const std::uint64_t high =
        bits == 64 ? std::numeric_limits<std::uint64_t>::max() : (std::uint64_t{1} << bits) - 1;
    return {"0", std::to_string(high)};
  }
  const std::int64_t high =
      bits == 64 ? std::numeric_limits<std::int64_t>::max() : (std::int64_t{1} << (bits - 1)) - 1;
  return {std::to_string(-high - 1), std::to_string(high)};
}

std::string quoted(const std::string& text) { return "'" + text + "'"; }

std::string typecode(Primitive primitive) {
  return quoted(std::string(1, primitive_info(primitive).py_typecode));
}

// Trailing keyword arguments that bound a container: "", ", size=16" or ", bound=5".
std::string extent(const Type& type) {
  switch (type.container) {
    case Container::Single:
    case Container::UnboundedSequence: return "";
    case Container::FixedArray: return ", size=" + std::to_string(type.size);
    case Container::BoundedSequence: return ", bound=" + std::to_string(type.size);
  }
  return "";
}

std::string zero(Primitive primitive) {
  switch (primitive_info(primitive).literal) {
    case LiteralClass::Boolean: return "False";
    case LiteralClass::Signed:
    case LiteralClass::Unsigned: return "0";
    case LiteralClass::Floating: return "0.0";
  }
  return "0";
}

// The field's own default, or `zero` for a single value and `zero` repeated for an array.
std::string element_defaults(const Field& field, const std::string& zero_item) {
  if (field.default_value) {
    std::string items;
    for (const Scalar& item : field.default_value->items) {
      if (!items.empty()) items += ", ";
      items += py_literal(item);
    }
    return field.default_value->is_array ? "[" + items + "]" : items;
  }
  if (field.type.container == Container::FixedArray) {
    return "[" + zero_item + "] * " + std::to_string(field.type.size);
  }
  return field.type.is_sequence() ? "[]" : zero_item;
}

std::string primitive_check(const std::string& name, Primitive primitive) {
  switch (primitive_info(primitive).literal) {
    case LiteralClass::Boolean: return "_runtime.boolean(" + quoted(name) + ", value)";
    case LiteralClass::Signed:
    case LiteralClass::Unsigned: {
      const IntegerRange range = integer_range(primitive);
      return "_runtime.integer(" + quoted(name) + ", value, " + range.low + ", " + range.high + ")";
    }
    case LiteralClass::Floating:
      return "_runtime.floating(" + quoted(name) + ", value" +
             (primitive == Primitive::Float32 ? ", single=True)" : ")");
  }
  return "";
}

// A fresh array of the element's typecode holding `items`, a Python list expression.
std::string array_default(Primitive primitive, const std::string& items) {
  return "array.array(" + typecode(primitive) + (items == "[]" ? "" : ", " + items) + ")";
}

// Numbers are kept in an array.array of their width; bools, which have no typecode, in a list.
FieldCode primitive_container(const Field& field) {
  const Type& type = field.type;
  const std::string name = quoted(field.name);
  const std::string defaults = element_defaults(field, zero(type.primitive));
  switch (primitive_info(type.primitive).literal) {
    case LiteralClass::Boolean:
      return {defaults, "_runtime.boolean_list(" + name + ", value" + extent(type) + ")"};
    case LiteralClass::Signed:
    case LiteralClass::Unsigned: {
      const IntegerRange range = integer_range(type.primitive);
      return {array_default(type.primitive, defaults),
              "_runtime.integer_array(" + name + ", value, " + typecode(type.primitive) + ", " +
                  range.low + ", " + range.high + extent(type) + ")"};
    }
    case LiteralClass::Floating:
      return {array_default(type.primitive, defaults),
              "_runtime.float_array(" + name + ", value, " + typecode(type.primitive) +
                  extent(type) + ")"};
  }
  return {};
}

std::string string_bound(const Type& type) {
  return type.string_bound == 0 ? "" : std::to_string(type.string_bound);
}

}  // namespace

FieldCode field_code(const Field& field, const LocalNames& names) {
  const Type& type = field.type;
  const std::string name = quoted(field.name);
  switch (type.kind()) {
    case FieldKind::Primitive:
      return {element_defaults(field, zero(type.primitive)),
              primitive_check(field.name, type.primitive)};
    case FieldKind::String:
      return {element_defaults(field, "''"),
              "_runtime.string(" + name + ", value" +
                  (type.string_bound == 0 ? "" : ", " + string_bound(type)) + ")"};
    case FieldKind::Nested: {
      const std::string& cls = names.at(type.nested);
      return {cls + "()", "_runtime.message(" + name + ", value, " + cls + ")"};
    }
    case FieldKind::PrimitiveArray:
    case FieldKind::PrimitiveSequence:
      return primitive_container(field);
    case FieldKind::StringArray:
    case FieldKind::StringSequence:
      return {element_defaults(field, "''"),
              "_runtime.string_list(" + name + ", value" +
                  (type.string_bound == 0 ? "" : ", string_bound=" + string_bound(type)) +
                  extent(type) + ")"};
    case FieldKind::NestedArray: {
      const std::string& cls = names.at(type.nested);
      return {"[" + cls + "() for _ in range(" + std::to_string(type.size) + ")]",
              "_runtime.message_list(" + name + ", value, " + cls + extent(type) + ")"};
    }
    case FieldKind::NestedSequence: {
      const std::string& cls = names.at(type.nested);
      return {"[]", "_runtime.message_list(" + name + ", value, " + cls + extent(type) + ")"};
    }
  }
  return {};
}

}  // namespace idlc::py_messages
