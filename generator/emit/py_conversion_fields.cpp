// Per-field code of the Python conversion library: how each kind of field is filled from its
// Python value and turned into one. Every rule behind a call lives in the package's rules header.

#include <vector>

#include "emit/py_conversion.hpp"
#include "naming.hpp"

namespace idlc::py_conversion {
namespace {

const std::size_t kLineLimit = 100;

std::string join(const std::vector<std::string>& arguments) {
  std::string joined;
  for (const std::string& argument : arguments) joined += (joined.empty() ? "" : ", ") + argument;
  return joined;
}

// `if (!function(arguments)) {` and the failure statement. A long call takes its arguments on
// continuation lines, as many to a line as fit.
void write_guarded_call(CodeWriter& out, const std::string& function,
                        const std::vector<std::string>& arguments, const std::string& failure) {
  const std::string joined = join(arguments);
  if (function.size() + joined.size() + 12 <= kLineLimit) {
    out.line("if (!$function$($arguments$)) {", {{"function", function}, {"arguments", joined}});
  } else {
    out.line("if (!$function$(", {{"function", function}});
    std::string line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
      const std::string piece = arguments[i] + (i + 1 < arguments.size() ? "," : ")) {");
      if (!line.empty() && line.size() + 1 + piece.size() > kLineLimit - 8) {
        out.line("      " + line);
        line.clear();
      }
      line += (line.empty() ? "" : " ") + piece;
    }
    out.line("      " + line);
  }
  out.indent();
  out.line(failure);
  out.dedent();
  out.line("}");
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// Numbers may arrive as the bytes of a buffer; bools and strings only item by item.
std::string paths(const Type& type) {
  return held_as_array(type) ? "PYCONV_BUFFER_OR_ITEMS" : "PYCONV_ITEMS_ONLY";
}

std::string bound(const Type& type) {
  return type.container == Container::BoundedSequence ? std::to_string(type.size)
                                                      : "PYCONV_UNBOUNDED";
}

}  // namespace

bool held_as_array(const Type& type) {
  return type.element == ElementKind::Primitive && primitive_info(type.primitive).py_typecode != 0;
}

void write_from_py_field(CodeWriter& out, const Field& field) {
  const Type& type = field.type;
  const std::string member = "ros_message->" + field.name;
  const std::string name = quoted(field.name);
  const std::string element_size = "sizeof(" + member + "[0])";
  const std::string sequence_size = "sizeof(" + member + ".data[0])";
  const std::string failure = "return false;";
  switch (type.kind()) {
    case FieldKind::Primitive:
    case FieldKind::String:
      write_guarded_call(out, "pyconv_from_field",
                         {"&site", "_pymsg", name, "&" + member, store_function(type)}, failure);
      return;
    case FieldKind::Nested:
      write_guarded_call(out, "pyconv_from_message",
                         {"_pymsg", name, "&" + member, naming::py_convert_from(*type.nested)},
                         failure);
      return;
    case FieldKind::PrimitiveSequence:
    case FieldKind::StringSequence:
      write_guarded_call(out, "pyconv_from_sequence",
                         {"&site", "_pymsg", name, "&" + member, naming::py_sequence_reserve(type),
                          bound(type), sequence_size, paths(type), store_function(type)},
                         failure);
      return;
    case FieldKind::NestedSequence:
      write_guarded_call(out, "pyconv_from_message_sequence",
                         {"&site", "_pymsg", name, "&" + member, naming::py_sequence_reserve(type),
                          bound(type), sequence_size, naming::py_convert_from(*type.nested)},
                         failure);
      return;
    case FieldKind::PrimitiveArray:
    case FieldKind::StringArray:
      write_guarded_call(out, "pyconv_from_array",
                         {"&site", "_pymsg", name, member, std::to_string(type.size), element_size,
                          paths(type), store_function(type)},
                         failure);
      return;
    case FieldKind::NestedArray:
      write_guarded_call(out, "pyconv_from_message_array",
                         {"&site", "_pymsg", name, member, std::to_string(type.size), element_size,
                          naming::py_convert_from(*type.nested)},
                         failure);
      return;
  }
}

void write_to_py_field(CodeWriter& out, const Field& field) {
  const Type& type = field.type;
  const std::string member = "ros_message->" + field.name;
  const std::string name = quoted(field.name);
  const std::string failure = "return pyconv_discard(_pymessage);";
  // Where the elements of a sequence or an array are, how many, and how wide each is.
  std::vector<std::string> elements;
  if (type.is_sequence()) {
    elements = {member + ".data", member + ".size", "sizeof(" + member + ".data[0])"};
  } else {
    elements = {member, std::to_string(type.size), "sizeof(" + member + "[0])"};
  }
  auto assign = [&](const std::string& value) {
    write_guarded_call(out, "pyconv_assign", {"_pymessage", name, value}, failure);
  };
  auto to_elements = [&](const std::string& function, const std::string& element_function) {
    std::vector<std::string> arguments = {"&site", "_pymessage", name};
    arguments.insert(arguments.end(), elements.begin(), elements.end());
    if (!element_function.empty()) arguments.push_back(element_function);
    write_guarded_call(out, function, arguments, failure);
  };
  switch (type.kind()) {
    case FieldKind::Primitive:
    case FieldKind::String: assign(make_function(type) + "(&" + member + ")"); return;
    case FieldKind::Nested:
      assign(naming::py_convert_to(*type.nested) + "(&" + member + ")");
      return;
    case FieldKind::PrimitiveSequence:
    case FieldKind::PrimitiveArray:
      if (held_as_array(type)) {
        to_elements("pyconv_refill_array", "");
      } else {
        to_elements("pyconv_to_value_list", make_function(type));
      }
      return;
    case FieldKind::StringSequence:
    case FieldKind::StringArray: to_elements("pyconv_to_value_list", make_function(type)); return;
    case FieldKind::NestedSequence:
    case FieldKind::NestedArray:
      to_elements("pyconv_to_message_list", naming::py_convert_to(*type.nested));
      return;
  }
}

}  // namespace idlc::py_conversion
