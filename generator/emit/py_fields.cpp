// What each kind of field contributes to a Python message class: its default value and when
// it is made, the check its setter runs, and its type description in SLOT_TYPES. The rules
// themselves live in the runtime module (generator/runtime/corvanthelis_idlc_runtime.py); this
// file only picks the rule and its arguments, and the quick test that lets a value which
// obviously passes skip the rule's call.

#include <cstdint>
#include <limits>
#include <vector>

#include "emit/py_messages.hpp"
#include "naming.hpp"
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

// Numbers are kept in an array.array of their width, made by the constructor unless a bound
// needs the setter; bools, which have no typecode, in a list made on first read.
FieldCode primitive_container(const Field& field) {
  const Type& type = field.type;
  const std::string name = quoted(field.name);
  const std::string defaults = element_defaults(field, zero(type.primitive));
  FieldCode code;
  switch (primitive_info(type.primitive).literal) {
    case LiteralClass::Boolean:
      code.default_value = defaults;
      code.made_on_first_read = true;
      code.checked = "_runtime.boolean_list(" + name + ", value" + extent(type) + ")";
      return code;
    case LiteralClass::Signed:
    case LiteralClass::Unsigned: {
      const IntegerRange range = integer_range(type.primitive);
      code.checked = "_runtime.integer_array(" + name + ", value, " + typecode(type.primitive) +
                     ", " + range.low + ", " + range.high + extent(type) + ")";
      break;
    }
    case LiteralClass::Floating:
      code.checked = "_runtime.float_array(" + name + ", value, " + typecode(type.primitive) +
                     extent(type) + ")";
      break;
  }
  code.default_value = array_default(type.primitive, defaults);
  code.made_on_first_read = type.container == Container::BoundedSequence;
  return code;
}

std::string string_bound(const Type& type) {
  return type.string_bound == 0 ? "" : std::to_string(type.string_bound);
}

// A value of exactly the type its rule takes, and within its range, passes without a call of
// the rule: the conversions from C assign only such values. Single-precision floats, which
// need a range test of their own and are few, always call it.
std::string primitive_suspect(Primitive primitive) {
  switch (primitive_info(primitive).literal) {
    case LiteralClass::Boolean: return "type(value) is not bool";
    case LiteralClass::Signed:
    case LiteralClass::Unsigned: {
      const IntegerRange range = integer_range(primitive);
      return "type(value) is not int or not " + range.low + " <= value <= " + range.high;
    }
    case LiteralClass::Floating:
      return primitive == Primitive::Float32 ? "" : "type(value) is not float";
  }
  return "";
}

std::string string_suspect(const Type& type) {
  return "type(value) is not str" +
         (type.string_bound == 0 ? "" : " or len(value) > " + string_bound(type));
}

// --- SLOT_TYPES -----------------------------------------------------------------------------

std::string quoted_list(const std::vector<std::string>& items) {
  std::string list;
  for (const std::string& item : items) list += (list.empty() ? "" : ", ") + quoted(item);
  return "[" + list + "]";
}

std::string element_description(const Type& type) {
  switch (type.element) {
    case ElementKind::Primitive:
      return "_definition.BasicType(" +
             quoted(std::string(primitive_info(type.primitive).idl_name)) + ")";
    case ElementKind::String:
      return type.string_bound == 0 ? "_definition.UnboundedString()"
                                    : "_definition.BoundedString(" + string_bound(type) + ")";
    case ElementKind::Nested:
      return "_definition.NamespacedType(" + quoted_list(naming::py_namespaces(*type.nested)) +
             ", " + quoted(type.nested->name) + ")";
  }
  return "";
}

std::string type_description(const Type& type) {
  const std::string element = element_description(type);
  const std::string size = std::to_string(type.size);
  switch (type.container) {
    case Container::Single: return element;
    case Container::FixedArray: return "_definition.Array(" + element + ", " + size + ")";
    case Container::BoundedSequence:
      return "_definition.BoundedSequence(" + element + ", " + size + ")";
    case Container::UnboundedSequence: return "_definition.UnboundedSequence(" + element + ")";
  }
  return element;
}

// Numbers, texts and the arrays that hold numbers are made by the constructor: they are
// cheap, and a conversion from C refills a new object's arrays in place instead of assigning
// new ones. Nested messages and lists are made on first read, since such a conversion assigns
// every one of them; so are bounded arrays, whose default needs its setter to keep the bound.
FieldCode default_and_check(const Field& field, const LocalNames& names) {
  const Type& type = field.type;
  const std::string name = quoted(field.name);
  FieldCode code;
  switch (type.kind()) {
    case FieldKind::Primitive:
      code.default_value = element_defaults(field, zero(type.primitive));
      code.suspect = primitive_suspect(type.primitive);
      code.checked = primitive_check(field.name, type.primitive);
      return code;
    case FieldKind::String:
      code.default_value = element_defaults(field, "''");
      code.suspect = string_suspect(type);
      code.checked = "_runtime.string(" + name + ", value" +
                     (type.string_bound == 0 ? "" : ", " + string_bound(type)) + ")";
      return code;
    case FieldKind::Nested: {
      const std::string& cls = names.at(type.nested);
      code.default_value = cls + "()";
      code.made_on_first_read = true;
      code.suspect = "type(value) is not " + cls;
      code.checked = "_runtime.message(" + name + ", value, " + cls + ")";
      return code;
    }
    case FieldKind::PrimitiveArray:
    case FieldKind::PrimitiveSequence: return primitive_container(field);
    case FieldKind::StringArray:
    case FieldKind::StringSequence:
      code.default_value = element_defaults(field, "''");
      code.made_on_first_read = true;
      code.checked = "_runtime.string_list(" + name + ", value" +
                     (type.string_bound == 0 ? "" : ", string_bound=" + string_bound(type)) +
                     extent(type) + ")";
      return code;
    case FieldKind::NestedArray: {
      const std::string& cls = names.at(type.nested);
      code.default_value = "[" + cls + "() for _ in range(" + std::to_string(type.size) + ")]";
      code.made_on_first_read = true;
      code.checked = "_runtime.message_list(" + name + ", value, " + cls + extent(type) + ")";
      return code;
    }
    case FieldKind::NestedSequence: {
      const std::string& cls = names.at(type.nested);
      code.default_value = "[]";
      code.made_on_first_read = true;
      code.checked = "_runtime.message_list(" + name + ", value, " + cls + extent(type) + ")";
      return code;
    }
  }
  return code;
}

}  // namespace

FieldCode field_code(const Field& field, const LocalNames& names) {
  FieldCode code = default_and_check(field, names);
  code.slot_type = type_description(field.type);
  return code;
}

}  // namespace idlc::py_messages
