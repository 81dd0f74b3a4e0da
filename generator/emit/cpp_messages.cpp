// The C++ message classes of a package: per interface a header with the class templates of its
// structures and the key classes of its services and action, a traits header, a builder
// header, the declarations of the C++ dispatch handles, and an umbrella header that includes
// them all; plus the package's visibility header.

#include <cmath>
#include <utility>

#include "emit/common.hpp"
#include "emit/cpp_builder.hpp"
#include "emit/cpp_handles.hpp"
#include "emit/cpp_traits.hpp"
#include "emit/emitters.hpp"
#include "naming.hpp"
#include "support/code_writer.hpp"
#include "support/literals.hpp"

namespace idlc {
namespace {

constexpr const char* kModeType = "rosidl_runtime_cpp::MessageInitialization";

std::string rebound_allocator(const std::string& element) {
  return "typename std::allocator_traits<ContainerAllocator>::template rebind_alloc<" + element + ">";
}

std::string element_type(const Type& type) {
  switch (type.element) {
    case ElementKind::Primitive: return std::string(primitive_info(type.primitive).cpp_type);
    case ElementKind::String:
      return "std::basic_string<char, std::char_traits<char>, " + rebound_allocator("char") + ">";
    case ElementKind::Nested: return naming::cpp_qualified_template(*type.nested) + "<ContainerAllocator>";
  }
  return "";
}

// The member type of a field in the class template, over its parameter ContainerAllocator.
std::string member_type(const Type& type) {
  const std::string element = element_type(type);
  const std::string size = std::to_string(type.size);
  switch (type.kind()) {
    case FieldKind::Primitive:
    case FieldKind::String:
    case FieldKind::Nested: return element;
    case FieldKind::PrimitiveArray:
    case FieldKind::StringArray:
    case FieldKind::NestedArray: return "std::array<" + element + ", " + size + ">";
    case FieldKind::PrimitiveSequence:
    case FieldKind::StringSequence:
    case FieldKind::NestedSequence:
      if (type.container == Container::BoundedSequence) {
        return "rosidl_runtime_cpp::BoundedVector<" + element + ", " + size + ", " +
               rebound_allocator(element) + ">";
      }
      return "std::vector<" + element + ", " + rebound_allocator(element) + ">";
  }
  return "";
}

Scalar zero_of(Primitive primitive) {
  switch (primitive_info(primitive).literal) {
    case LiteralClass::Boolean: return {false};
    case LiteralClass::Signed: return {std::int64_t{0}};
    case LiteralClass::Unsigned: return {std::uint64_t{0}};
    case LiteralClass::Floating: return {0.0};
  }
  return {false};
}

// A field's default as the right-hand side of an assignment: one literal, "{{a, b}}" for a
// fixed array, "{a, b}" for a sequence. Each literal is a value of its own, bound as
// $item0$, $item1$, ...
Snippet default_assignment(const std::string& member, const Field& field) {
  const Value& value = *field.default_value;
  Snippet assignment(member + " = ");
  std::string items;
  for (std::size_t i = 0; i < value.items.size(); ++i) {
    const std::string name = "item" + std::to_string(i);
    items += (i == 0 ? "$" : ", $") + name + "$";
    assignment.bindings.push_back({name, cpp_literal(field.type.primitive, value.items[i])});
  }
  if (value.is_array) {
    items = field.type.container == Container::FixedArray ? "{{" + items + "}}" : "{" + items + "}";
  }
  assignment.text += items + ";";
  return assignment;
}

// What the constructor does for one field, by mode.
struct Construction {
  std::string initializer;          // in the member-initializer list; "" for none
  std::vector<Snippet> zero;        // under ALL and ZERO
  std::vector<Snippet> defaults;    // under ALL and DEFAULTS_ONLY
  std::vector<Snippet> zero_apart;  // under ZERO alone: its ALL value is not zero
};

Construction construction_of(const Field& field) {
  const Type& type = field.type;
  const std::string member = "this->" + field.name;
  Construction result;
  // A field with a default takes it under ALL and DEFAULTS_ONLY and is zeroed under ZERO;
  // a field without one is zeroed under ALL and ZERO.
  auto zero_or_default = [&](const Snippet& zeroing) {
    if (!field.default_value) {
      result.zero.push_back(zeroing);
      return;
    }
    result.defaults.push_back(default_assignment(member, field));
    result.zero_apart.push_back(zeroing);
  };
  switch (type.kind()) {
    case FieldKind::Primitive:
      zero_or_default({member + " = $zero$;", {{"zero", cpp_literal(type.primitive, zero_of(type.primitive))}}});
      break;
    case FieldKind::String: zero_or_default(Snippet(member + " = \"\";")); break;
    case FieldKind::Nested: result.initializer = field.name + "(_init)"; break;
    case FieldKind::PrimitiveArray:
      zero_or_default(
          {member + ".fill($zero$);", {{"zero", cpp_literal(type.primitive, zero_of(type.primitive))}}});
      break;
    case FieldKind::StringArray: zero_or_default(Snippet(member + ".fill(\"\");")); break;
    case FieldKind::NestedArray:
      // The elements are built with ALL, which DEFAULTS_ONLY accepts as it is; only ZERO must
      // take away what the elements' own defaults gave them.
      result.zero_apart.push_back(member + ".fill(" + element_type(type) + "(" + kModeType + "::ZERO));");
      break;
    case FieldKind::PrimitiveSequence:
    case FieldKind::StringSequence:
    case FieldKind::NestedSequence:
      // Sequences start empty in every mode; only a default gives them elements.
      if (field.default_value) result.defaults.push_back(default_assignment(member, field));
      break;
  }
  return result;
}

std::string mode_test(const std::vector<std::string>& modes) {
  std::string test;
  for (const std::string& mode : modes) {
    if (!test.empty()) test += " || ";
    test += "_init == " + std::string(kModeType) + "::" + mode;
  }
  return test;
}

void write_mode_block(CodeWriter& out, const std::vector<std::string>& modes,
                      const std::vector<Snippet>& statements) {
  if (statements.empty()) return;
  auto block = out.block("if (" + mode_test(modes) + ")");
  for (const Snippet& statement : statements) out.line(statement);
}

void write_constructor(CodeWriter& out, const Structure& structure) {
  std::vector<std::string> initializers;
  Construction all;
  for (const Field& field : structure.fields) {
    Construction field_construction = construction_of(field);
    if (!field_construction.initializer.empty()) initializers.push_back(field_construction.initializer);
    for (auto group : {&Construction::zero, &Construction::defaults, &Construction::zero_apart}) {
      (all.*group).insert((all.*group).end(), (field_construction.*group).begin(),
                          (field_construction.*group).end());
    }
  }
  out.line("explicit $class$($mode$ _init = $mode$::ALL)",
           {{"class", naming::cpp_class_template(structure)}, {"mode", kModeType}});
  for (std::size_t i = 0; i < initializers.size(); ++i) {
    out.line((i == 0 ? ": " : "  ") + initializers[i] + (i + 1 < initializers.size() ? "," : ""));
  }
  auto body = out.block("");
  const bool uses_mode = !initializers.empty() || !all.zero.empty() || !all.defaults.empty() ||
                         !all.zero_apart.empty();
  // Strings and vectors start empty by their own construction, whatever the mode.
  if (!uses_mode) out.line("(void)_init;");
  write_mode_block(out, {"ALL", "ZERO"}, all.zero);
  write_mode_block(out, {"ALL", "DEFAULTS_ONLY"}, all.defaults);
  write_mode_block(out, {"ZERO"}, all.zero_apart);
}

void write_constants(CodeWriter& out, const Structure& structure) {
  if (structure.constants.empty()) return;
  out.line();
  for (const Constant& constant : structure.constants) {
    const std::string type =
        constant.is_string ? "const char *" : std::string(primitive_info(constant.primitive).cpp_type);
    out.line("static constexpr $type$ $name$ = $value$;",
             {{"type", type}, {"name", constant.name}, {"value", cpp_literal(constant.primitive, constant.value)}});
  }
}

void write_pointer_aliases(CodeWriter& out, const Structure& structure) {
  const std::string self = naming::cpp_class_template(structure) + "<ContainerAllocator>";
  out.lines(R"(
using SharedPtr = std::shared_ptr<$self$>;
using ConstSharedPtr = std::shared_ptr<const $self$>;
using UniquePtr = std::unique_ptr<$self$>;
using ConstUniquePtr = std::unique_ptr<const $self$>;
using WeakPtr = std::weak_ptr<$self$>;
using ConstWeakPtr = std::weak_ptr<const $self$>;
)",
            {{"self", self}});
}

void write_comparison(CodeWriter& out, const Structure& structure) {
  const Bindings self = {{"class", naming::cpp_class_template(structure)}};
  out.line();
  {
    // Member by member; floating-point members compare as IEEE values (NaN differs from itself).
    auto body = out.block("bool operator==(const $class$ & other) const", self);
    for (const Field& field : structure.fields) {
      auto differs = out.block("if (this->$field$ != other.$field$)", {{"field", field.name}});
      out.line("return false;");
    }
    out.line("return true;");
  }
  out.line();
  auto body = out.block("bool operator!=(const $class$ & other) const", self);
  out.line("return !this->operator==(other);");
}

void write_class(CodeWriter& out, const Structure& structure) {
  const std::string name = naming::cpp_class_template(structure);
  out.line("template<class ContainerAllocator>");
  {
    auto body = out.block("struct $class$", {{"class", name}}, ";");
    out.line("using Type = $class$<ContainerAllocator>;", {{"class", name}});
    out.line();
    write_constructor(out, structure);
    out.line();
    for (const Field& field : structure.fields) {
      out.line("using $alias$ = $type$;", {{"alias", naming::cpp_member_type(field)}, {"type", member_type(field.type)}});
      out.line("$alias$ $field$;", {{"alias", naming::cpp_member_type(field)}, {"field", field.name}});
    }
    for (const Field& field : structure.fields) {
      out.line();
      auto setter = out.block("Type & $setter$(const $alias$ & _arg)",
                              {{"setter", naming::cpp_setter(field)}, {"alias", naming::cpp_member_type(field)}});
      out.line("this->$field$ = _arg;", {{"field", field.name}});
      out.line("return *this;");
    }
    write_constants(out, structure);
    write_pointer_aliases(out, structure);
    write_comparison(out, structure);
  }
  out.line();
  // What every library of the package uses, under the type's plain name.
  out.line("using $name$ = $class$<std::allocator<void>>;",
           {{"name", structure.name}, {"class", naming::cpp_qualified_template(structure)}});
  out.line();
}

// A service's key class: the type support is keyed by it, clients name its two sides.
void write_service_key(CodeWriter& out, const Service& service) {
  {
    auto body = out.block("struct $service$", {{"service", service.name}}, ";");
    out.line("using Request = $request$;", {{"request", naming::cpp_qualified(*service.request)}});
    out.line("using Response = $response$;", {{"response", naming::cpp_qualified(*service.response)}});
  }
  out.line();
}

void write_action_key(CodeWriter& out, const Interface& action) {
  auto qualified = [&](Role role) { return naming::cpp_qualified(action.structure(role)); };
  auto key = [&](ServiceRole role) { return naming::cpp_service_key(action, action.service(role)); };
  {
    auto body = out.block("struct $action$", {{"action", action.name}}, ";");
    out.line("using Goal = $type$;", {{"type", qualified(Role::Goal)}});
    out.line("using Result = $type$;", {{"type", qualified(Role::Result)}});
    out.line("using Feedback = $type$;", {{"type", qualified(Role::Feedback)}});
    out.line("using SendGoalService = $key$;", {{"key", key(ServiceRole::SendGoal)}});
    out.line("using GetResultService = $key$;", {{"key", key(ServiceRole::GetResult)}});
    out.line("using FeedbackMessage = $type$;", {{"type", qualified(Role::FeedbackMessage)}});
    out.line();
    // What C++ action clients and servers are made of, with action_msgs' part of the protocol.
    const std::pair<naming::CppActionPart, std::string> parts[] = {
        {naming::CppActionPart::SendGoalService, key(ServiceRole::SendGoal)},
        {naming::CppActionPart::GetResultService, key(ServiceRole::GetResult)},
        {naming::CppActionPart::CancelGoalService, naming::cpp_action_cancel_service().qualified},
        {naming::CppActionPart::FeedbackMessage, qualified(Role::FeedbackMessage)},
        {naming::CppActionPart::GoalStatusMessage, naming::cpp_action_status_message().qualified},
    };
    auto impl = out.block("struct Impl", {}, ";");
    for (const auto& [part, type] : parts) {
      out.line("using $alias$ = ::$type$;", {{"alias", naming::cpp_action_part_alias(part)}, {"type", type}});
    }
  }
  out.line();
}

GeneratedFile struct_header(const Interface& interface) {
  const std::string path = naming::cpp_struct_header(interface);
  const common::InterfaceUses uses = common::uses_of(interface);
  CodeWriter out;
  common::open_header(out, banner(interface), path);
  if (uses.fixed_arrays) out.line("#include <array>");
  out.line("#include <cstdint>");
  if (uses.non_finite_constants || uses.non_finite_defaults) out.line("#include <limits>");
  out.line("#include <memory>");
  if (uses.strings) out.line("#include <string>");
  if (uses.unbounded_sequences) out.line("#include <vector>");
  out.line();
  if (uses.bounded_sequences) out.line("#include \"rosidl_runtime_cpp/bounded_vector.hpp\"");
  out.line("#include \"rosidl_runtime_cpp/message_initialization.hpp\"");
  for (const Interface* nested : uses.nested) {
    out.line("#include \"$header$\"", {{"header", naming::cpp_struct_header(*nested)}});
  }
  if (interface.kind == InterfaceKind::Action) {
    for (const naming::CppProtocolType& type :
         {naming::cpp_action_cancel_service(), naming::cpp_action_status_message()}) {
      out.line("#include \"$header$\"", {{"header", type.struct_header}});
    }
  }
  out.line();
  common::open_namespace(out, naming::cpp_interface_namespace(interface));
  for (const Structure* structure : interface.structures) write_class(out, *structure);
  for (const Service& service : interface.services) write_service_key(out, service);
  if (interface.kind == InterfaceKind::Action) write_action_key(out, interface);
  common::close_namespace(out, naming::cpp_interface_namespace(interface));
  common::close_header(out, path);
  return {naming::root(naming::Deliverable::CppMessages) + "/" + path, out.text()};
}

// The C++ dispatch library defines these; declaring the template specialisations here makes
// every client's use of rosidl_typesupport_cpp::get_message_type_support_handle<T>() name the
// library's own.
GeneratedFile type_support_header(const Interface& interface) {
  const std::string path = naming::cpp_type_support_header(interface);
  const bool is_action = interface.kind == InterfaceKind::Action;
  CodeWriter out;
  common::open_header(out, banner(interface), path);
  out.line("#include \"rosidl_runtime_c/message_type_support_struct.h\"");
  if (!interface.services.empty()) out.line("#include \"rosidl_runtime_c/service_type_support_struct.h\"");
  if (is_action) out.line("#include \"rosidl_runtime_c/action_type_support_struct.h\"");
  out.line("#include \"rosidl_typesupport_cpp/message_type_support.hpp\"");
  if (!interface.services.empty()) out.line("#include \"rosidl_typesupport_cpp/service_type_support.hpp\"");
  if (is_action) out.line("#include \"rosidl_typesupport_cpp/action_type_support.hpp\"");
  out.line("#include \"$header$\"",
           {{"header", naming::visibility_header(interface.package, naming::Deliverable::CppMessages)}});
  out.line("#include \"$header$\"", {{"header", naming::cpp_struct_header(interface)}});
  out.line();
  cpp_handles::declare(out, naming::Deliverable::TypesupportDispatchCpp,
                       naming::visibility_macro(interface.package, naming::Deliverable::CppMessages),
                       interface, cpp_handles::Actions::With);
  common::close_header(out, path);
  return {naming::root(naming::Deliverable::CppMessages) + "/" + path, out.text()};
}

GeneratedFile umbrella_header(const Interface& interface) {
  const std::string path = naming::cpp_umbrella_header(interface);
  CodeWriter out;
  common::open_header(out, banner(interface), path);
  out.line("#include \"$header$\"", {{"header", naming::cpp_struct_header(interface)}});
  out.line("#include \"$header$\"", {{"header", naming::cpp_traits_header(interface)}});
  out.line("#include \"$header$\"", {{"header", naming::cpp_builder_header(interface)}});
  out.line("#include \"$header$\"", {{"header", naming::cpp_type_support_header(interface)}});
  out.line();
  common::close_header(out, path);
  return {naming::root(naming::Deliverable::CppMessages) + "/" + path, out.text()};
}

}  // namespace

FileSet emit_cpp_messages(const Package& package) {
  FileSet files{common::visibility_header(package, naming::Deliverable::CppMessages)};
  for (const Interface* interface : package.interfaces) {
    files.push_back(struct_header(*interface));
    files.push_back(cpp_traits::traits_header(*interface));
    files.push_back(cpp_builder::builder_header(*interface));
    files.push_back(type_support_header(*interface));
    files.push_back(umbrella_header(*interface));
  }
  return files;
}

}  // namespace idlc
