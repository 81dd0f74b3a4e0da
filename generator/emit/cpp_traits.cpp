// The traits headers of the C++ message classes: what rosidl_generator_traits says of each
// class, service and action, and the YAML printing of every class.

#include "emit/cpp_traits.hpp"

#include "emit/common.hpp"
#include "emit/emitters.hpp"
#include "naming.hpp"
#include "support/code_writer.hpp"

namespace idlc::cpp_traits {
namespace {

// The conditions under which a structure's size is fixed, or bounded: each is "false", or a
// trait of a nested class that decides. An empty list means always.
struct SizeTerms {
  std::vector<std::string> fixed;
  std::vector<std::string> bounded;
};

SizeTerms size_terms(const Structure& structure) {
  SizeTerms terms;
  for (const Field& field : structure.fields) {
    const Type& type = field.type;
    const bool bounded_string = type.string_bound > 0;
    const bool bounded_sequence = type.container == Container::BoundedSequence;
    auto nested = [&](const char* trait) {
      return "has_" + std::string(trait) + "_size<" + naming::cpp_qualified(*type.nested) + ">::value";
    };
    switch (type.kind()) {
      case FieldKind::Primitive:
      case FieldKind::PrimitiveArray: break;
      case FieldKind::String:
      case FieldKind::StringArray:
        terms.fixed.push_back("false");
        if (!bounded_string) terms.bounded.push_back("false");
        break;
      case FieldKind::Nested:
      case FieldKind::NestedArray:
        terms.fixed.push_back(nested("fixed"));
        terms.bounded.push_back(nested("bounded"));
        break;
      case FieldKind::PrimitiveSequence:
        terms.fixed.push_back("false");
        if (!bounded_sequence) terms.bounded.push_back("false");
        break;
      case FieldKind::StringSequence:
        terms.fixed.push_back("false");
        if (!bounded_sequence || !bounded_string) terms.bounded.push_back("false");
        break;
      case FieldKind::NestedSequence:
        terms.fixed.push_back("false");
        terms.bounded.push_back(bounded_sequence ? nested("bounded") : "false");
        break;
    }
  }
  return terms;
}

// One term to a line: the conditions name whole nested types.
std::string integral_constant(const std::vector<std::string>& terms) {
  if (terms.empty()) return "std::true_type";
  std::string conjunction;
  for (const std::string& term : terms) {
    if (term == "false") return "std::false_type";
    conjunction += (conjunction.empty() ? "\n    " : " &&\n    ") + term;
  }
  return "std::integral_constant<bool," + conjunction + ">";
}

void write_yaml_functions(CodeWriter& out, const Structure& structure) {
  const std::string yaml = "::" + naming::runtime_namespace(naming::RuntimeHeader::Yaml);
  const Bindings self = {{"type", structure.name}};
  {
    auto body = out.block("inline void to_flow_style_yaml(const $type$ & msg, std::ostream & out)", self);
    out.line("out << \"{\";");
    for (std::size_t i = 0; i < structure.fields.size(); ++i) {
      if (i > 0) out.line("out << \", \";");
      out.line("$yaml$::flow_field(out, \"$field$\", msg.$field$);",
               {{"yaml", yaml}, {"field", structure.fields[i].name}});
    }
    out.line("out << \"}\";");
  }
  out.line();
  {
    auto body = out.block(
        "inline void to_block_style_yaml(const $type$ & msg, std::ostream & out, size_t indentation = 0)", self);
    for (const Field& field : structure.fields) {
      out.line("$yaml$::block_field(out, indentation, \"$field$\", msg.$field$);",
               {{"yaml", yaml}, {"field", field.name}});
    }
  }
  out.lines(R"(
inline std::string to_yaml(const $type$ & msg, bool use_flow_style = false) {
  std::ostringstream out;
  if (use_flow_style) {
    to_flow_style_yaml(msg, out);
  } else {
    to_block_style_yaml(msg, out);
  }
  return out.str();
}

inline std::string to_flow_style_yaml(const $type$ & msg) {
  return to_yaml(msg, true);
}

inline std::ostream & operator<<(std::ostream & out, const $type$ & msg) {
  return out << to_yaml(msg);
}

)",
            self);
}

void write_names(CodeWriter& out, const std::string& cpp_name, const std::string& ros_name) {
  out.lines(R"(template<>
inline const char * data_type<$cpp$>() {
  return "$cpp$";
}

template<>
inline const char * name<$cpp$>() {
  return "$ros$";
}

)",
            {{"cpp", cpp_name}, {"ros", ros_name}});
}

void write_trait(CodeWriter& out, const std::string& trait, const std::string& type, const std::string& value) {
  out.line("template<>");
  out.line("struct $trait$<$type$>", {{"trait", trait}, {"type", type}});
  out.line("  : $value$ {};", {{"value", value}});
  out.line();
}

// The is_service_* or is_action_* trait of the structure's role, if its role has one.
const char* role_trait(Role role) {
  switch (role) {
    case Role::Message:
    case Role::FeedbackMessage: return nullptr;
    case Role::Request:
    case Role::SendGoalRequest:
    case Role::GetResultRequest: return "is_service_request";
    case Role::Response:
    case Role::SendGoalResponse:
    case Role::GetResultResponse: return "is_service_response";
    case Role::Goal: return "is_action_goal";
    case Role::Result: return "is_action_result";
    case Role::Feedback: return "is_action_feedback";
  }
  return nullptr;
}

void write_message_traits(CodeWriter& out, const Structure& structure) {
  const std::string type = naming::cpp_qualified(structure);
  const SizeTerms terms = size_terms(structure);
  write_names(out, type, naming::ros_type_name(structure));
  write_trait(out, "has_fixed_size", type, integral_constant(terms.fixed));
  write_trait(out, "has_bounded_size", type, integral_constant(terms.bounded));
  write_trait(out, "is_message", type, "std::true_type");
  if (const char* trait = role_trait(structure.role)) write_trait(out, trait, type, "std::true_type");
}

// A service (or an action) is as fixed or bounded as all of its parts together.
std::string parts_trait(const char* trait, const std::vector<std::string>& parts) {
  std::vector<std::string> terms;
  for (const std::string& part : parts) terms.push_back(std::string(trait) + "<" + part + ">::value");
  return integral_constant(terms);
}

void write_key_traits(CodeWriter& out, const std::string& key, const std::string& ros_name,
                      const std::vector<std::string>& parts, const char* kind_trait) {
  write_names(out, key, ros_name);
  write_trait(out, "has_fixed_size", key, parts_trait("has_fixed_size", parts));
  write_trait(out, "has_bounded_size", key, parts_trait("has_bounded_size", parts));
  write_trait(out, kind_trait, key, "std::true_type");
}

}  // namespace

GeneratedFile traits_header(const Interface& interface) {
  const std::string path = naming::cpp_traits_header(interface);
  CodeWriter out;
  common::open_header(out, banner(interface), path);
  out.lines(R"(#include <cstddef>
#include <ostream>
#include <sstream>
#include <string>
#include <type_traits>

#include "rosidl_runtime_cpp/traits.hpp"
)");
  out.line("#include \"$header$\"", {{"header", naming::runtime_header(naming::RuntimeHeader::Yaml)}});
  out.line("#include \"$header$\"", {{"header", naming::cpp_struct_header(interface)}});
  for (const Interface* nested : common::uses_of(interface).nested) {
    out.line("#include \"$header$\"", {{"header", naming::cpp_traits_header(*nested)}});
  }
  out.line();
  common::open_namespace(out, naming::cpp_interface_namespace(interface));
  for (const Structure* structure : interface.structures) write_yaml_functions(out, *structure);
  common::close_namespace(out, naming::cpp_interface_namespace(interface));

  common::open_namespace(out, "rosidl_generator_traits");
  for (const Structure* structure : interface.structures) write_message_traits(out, *structure);
  for (const Service& service : interface.services) {
    write_key_traits(out, naming::cpp_service_key(interface, service), naming::ros_service_name(interface, service),
                     {naming::cpp_qualified(*service.request), naming::cpp_qualified(*service.response)},
                     "is_service");
  }
  if (interface.kind == InterfaceKind::Action) {
    std::vector<std::string> parts;
    for (Role role : {Role::Goal, Role::Result, Role::Feedback}) {
      parts.push_back(naming::cpp_qualified(interface.structure(role)));
    }
    write_key_traits(out, naming::cpp_action_key(interface), naming::ros_action_name(interface), parts, "is_action");
  }
  common::close_namespace(out, "rosidl_generator_traits");
  common::close_header(out, path);
  return {naming::root(naming::Deliverable::CppMessages) + "/" + path, out.text()};
}

}  // namespace idlc::cpp_traits
