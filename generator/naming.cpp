#include "naming.hpp"

#include <cctype>
#include <stdexcept>
#include <utility>

namespace idlc::naming {
namespace {

bool is_upper(char c) { return std::isupper(static_cast<unsigned char>(c)) != 0; }
bool is_lower_or_digit(char c) {
  return std::islower(static_cast<unsigned char>(c)) != 0 ||
         std::isdigit(static_cast<unsigned char>(c)) != 0;
}

std::string interface_prefix(const std::string& package, InterfaceKind interface_kind) {
  return package + "__" + kind(interface_kind);
}

// {"SendGoal", "Request"} -> "__send_goal__request": each word of a role as its own stem.
std::string role_infix(const std::vector<std::string>& words) {
  std::string infix;
  for (const std::string& word : words) infix += "__" + stem(word);
  return infix;
}

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// The name every runtime file starts with: its folder of headers and its Python module.
constexpr const char* kRuntime = "corvanthelis_idlc_runtime";

}  // namespace

std::string stem(std::string_view camel) {
  std::string result;
  for (std::size_t i = 0; i < camel.size(); ++i) {
    const char c = camel[i];
    if (i > 0 && is_upper(c)) {
      const bool after_lower = is_lower_or_digit(camel[i - 1]);
      const bool ends_acronym = is_upper(camel[i - 1]) && i + 1 < camel.size() &&
                                std::islower(static_cast<unsigned char>(camel[i + 1]));
      if (after_lower || ends_acronym) result.push_back('_');
    }
    result.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  return result;
}

std::string kind(InterfaceKind interface_kind) {
  switch (interface_kind) {
    case InterfaceKind::Message: return "msg";
    case InterfaceKind::Service: return "srv";
    case InterfaceKind::Action: return "action";
  }
  return "msg";
}

std::string definition_path(const Interface& interface) {
  return interface.package + "/" + kind(interface.kind) + "/" + interface.name;
}

std::string c_type(const Structure& structure) {
  return interface_prefix(structure.package, structure.kind) + "__" + structure.name;
}
std::string c_sequence_type(const Structure& structure) { return c_type(structure) + "__Sequence"; }
std::string c_function(const Structure& structure, std::string_view operation) {
  return c_type(structure) + "__" + std::string(operation);
}
std::string c_sequence_function(const Structure& structure, std::string_view operation) {
  return c_sequence_type(structure) + "__" + std::string(operation);
}
std::string c_constant(const Structure& structure, const Constant& constant) {
  return c_type(structure) + "__" + constant.name;
}
std::string c_primitive_sequence_type(Primitive primitive) {
  return "rosidl_runtime_c__" + std::string(primitive_info(primitive).c_sequence) + "__Sequence";
}
std::string c_primitive_sequence_function(Primitive primitive, std::string_view operation) {
  return "rosidl_runtime_c__" + std::string(primitive_info(primitive).c_sequence_functions) +
         "__Sequence__" + std::string(operation);
}
std::string c_string_type() { return "rosidl_runtime_c__String"; }
std::string c_string_function(std::string_view operation) {
  return c_string_type() + "__" + std::string(operation);
}
std::string c_string_sequence_type() { return "rosidl_runtime_c__String__Sequence"; }
std::string c_string_sequence_function(std::string_view operation) {
  return c_string_sequence_type() + "__" + std::string(operation);
}
std::string c_sequence_function_of(const Type& type, std::string_view operation) {
  switch (type.element) {
    case ElementKind::Primitive: return c_primitive_sequence_function(type.primitive, operation);
    case ElementKind::String: return c_string_sequence_function(operation);
    case ElementKind::Nested: return c_sequence_function(*type.nested, operation);
  }
  return "";
}
std::string c_sequence_type_of(const Type& type) {
  switch (type.element) {
    case ElementKind::Primitive: return c_primitive_sequence_type(type.primitive);
    case ElementKind::String: return c_string_sequence_type();
    case ElementKind::Nested: return c_sequence_type(*type.nested);
  }
  return "";
}

std::string c_struct_header(const Interface& interface) {
  return interface.package + "/" + kind(interface.kind) + "/detail/" + stem(interface.name) +
         "__struct.h";
}
std::string c_functions_header(const Interface& interface) {
  return interface.package + "/" + kind(interface.kind) + "/detail/" + stem(interface.name) +
         "__functions.h";
}
std::string c_umbrella_header(const Interface& interface) {
  return interface.package + "/" + kind(interface.kind) + "/" + stem(interface.name) + ".h";
}
std::string c_functions_source(const Interface& interface) {
  return root(Deliverable::GeneratorC) + "/" + interface.package + "/" + kind(interface.kind) + "/detail/" +
         stem(interface.name) + "__functions.c";
}
std::string include_guard(std::string_view path) {
  std::string guard;
  for (char c : path) {
    if (c == '/') {
      guard += "__";
    } else if (c == '.') {
      guard += "_";
    } else {
      guard.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    }
  }
  return guard + "_";
}

const std::vector<DeliverableInfo>& deliverables() {
  using D = Deliverable;
  static const std::vector<DeliverableInfo> all = {
      {D::GeneratorC, "rosidl_generator_c", "c", "shared_library", "rosidl_generator_c", "", {}},
      {D::TypesupportDispatch, "typesupport_dispatch", "c", "shared_library",
       "rosidl_typesupport_c", "rosidl_typesupport_c__typesupport_identifier", {}},
      {D::IntrospectionC, "introspection_c", "c", "shared_library",
       "rosidl_typesupport_introspection_c", "rosidl_typesupport_introspection_c__identifier",
       {D::GeneratorC}},
      {D::SerializationC, "serialization_c", "c", "shared_library",
       "rosidl_typesupport_fastrtps_c", "rosidl_typesupport_fastrtps_c__identifier",
       {D::GeneratorC}},
      {D::CppMessages, "cpp_messages", "cpp", "headers", "rosidl_generator_cpp", "", {}},
      {D::IntrospectionCpp, "introspection_cpp", "cpp", "shared_library",
       "rosidl_typesupport_introspection_cpp",
       "rosidl_typesupport_introspection_cpp::typesupport_identifier", {D::CppMessages}},
      {D::SerializationCpp, "serialization_cpp", "cpp", "shared_library",
       "rosidl_typesupport_fastrtps_cpp", "rosidl_typesupport_fastrtps_cpp::typesupport_identifier",
       {D::CppMessages}},
      {D::Python, "python", "python", "python_package", "", "", {}},
      {D::GeneratorPy, "rosidl_generator_py", "python", "shared_library", "rosidl_generator_py",
       "", {D::GeneratorC}},
      {D::PythonModules, "python_modules", "python", "python_modules", "", "",
       {D::GeneratorPy, D::TypesupportDispatch, D::GeneratorC}},
  };
  return all;
}

const DeliverableInfo& deliverable(Deliverable id) {
  for (const DeliverableInfo& info : deliverables()) {
    if (info.id == id) return info;
  }
  throw std::logic_error("a deliverable without a row in the table");
}

const DeliverableInfo* find_deliverable(std::string_view name) {
  for (const DeliverableInfo& info : deliverables()) {
    if (name == info.name) return &info;
  }
  return nullptr;
}

std::string root(Deliverable id) { return deliverable(id).name; }

namespace {
std::string library_of(Deliverable id) {
  const std::string library = deliverable(id).library;
  if (library.empty()) {
    throw std::logic_error(std::string(deliverable(id).name) + " builds no library");
  }
  return library;
}
}  // namespace

std::string library_target(const std::string& package, Deliverable id) {
  return package + "__" + library_of(id);
}
std::string visibility_header(const std::string& package, Deliverable id) {
  return package + "/msg/" + library_of(id) + "__visibility_control.h";
}
std::string visibility_macro(const std::string& package, Deliverable id) {
  return upper(library_of(id)) + "_PUBLIC_" + package;
}

std::string support_identifier(Deliverable support) {
  if (std::string(deliverable(support).identifier_variable).empty()) {
    throw std::logic_error(std::string(deliverable(support).name) + " is no type support");
  }
  return library_of(support);
}
std::string identifier_variable(Deliverable support) {
  support_identifier(support);
  return deliverable(support).identifier_variable;
}
std::string message_handle(Deliverable support, const Structure& structure) {
  return support_identifier(support) + "__get_message_type_support_handle__" + c_type(structure);
}
std::string service_c_name(const Interface& interface, const Service& service) {
  return interface_prefix(interface.package, interface.kind) + "__" + service.name;
}
std::string service_handle(Deliverable support, const Interface& interface, const Service& service) {
  return support_identifier(support) + "__get_service_type_support_handle__" +
         service_c_name(interface, service);
}
std::string action_handle(Deliverable support, const Interface& action) {
  return support_identifier(support) + "__get_action_type_support_handle__" +
         interface_prefix(action.package, action.kind) + "__" + action.name;
}

std::string cdr_serialize_function(const Structure& structure) {
  return "cdr_serialize_" + c_type(structure);
}
std::string cdr_deserialize_function(const Structure& structure) {
  return "cdr_deserialize_" + c_type(structure);
}
std::string serialized_size_function(const Structure& structure) {
  return "get_serialized_size_" + c_type(structure);
}
std::string max_serialized_size_function(const Structure& structure) {
  return "max_serialized_size_" + c_type(structure);
}
std::string serialization_c_header(const Interface& interface) {
  return interface.package + "/" + kind(interface.kind) + "/detail/" + stem(interface.name) +
         "__rosidl_typesupport_fastrtps_c.h";
}
std::string serialization_c_source(const Interface& interface) {
  return root(Deliverable::SerializationC) + "/" + interface.package + "/" + kind(interface.kind) +
         "/detail/" + stem(interface.name) + "__type_support_c.cpp";
}

std::string private_symbol(std::string_view purpose, const Structure& structure) {
  return std::string(purpose) + "_" + c_type(structure);
}
std::string private_symbol(std::string_view purpose, const Interface& interface,
                           const Service& service) {
  return std::string(purpose) + "_" + service_c_name(interface, service);
}

std::string c_namespace(const std::string& package, InterfaceKind interface_kind) {
  return interface_prefix(package, interface_kind);
}
std::string introspection_c_header(const Interface& interface) {
  return interface.package + "/" + kind(interface.kind) + "/detail/" + stem(interface.name) +
         "__rosidl_typesupport_introspection_c.h";
}
std::string introspection_c_source(const Interface& interface) {
  return root(Deliverable::IntrospectionC) + "/" + interface.package + "/" + kind(interface.kind) +
         "/detail/" + stem(interface.name) + "__type_support.c";
}
namespace {
std::string introspection_c_helper(const std::string& c_name, std::string_view helper) {
  return c_name + "__" + support_identifier(Deliverable::IntrospectionC) + "__" + std::string(helper);
}
}  // namespace
std::string introspection_c_init_function(const Structure& structure) {
  return introspection_c_helper(c_type(structure), structure.name + "_init_function");
}
std::string introspection_c_fini_function(const Structure& structure) {
  return introspection_c_helper(c_type(structure), structure.name + "_fini_function");
}
namespace {
// "size_function__Trashes__trashes": the part of an accessor's name both languages share.
std::string accessor_function(const Structure& structure, const Field& field, Accessor accessor) {
  std::string operation;
  switch (accessor) {
    case Accessor::Size: operation = "size"; break;
    case Accessor::GetConst: operation = "get_const"; break;
    case Accessor::Get: operation = "get"; break;
    case Accessor::Fetch: operation = "fetch"; break;
    case Accessor::Assign: operation = "assign"; break;
    case Accessor::Resize: operation = "resize"; break;
  }
  return operation + "_function__" + structure.name + "__" + field.name;
}
}  // namespace
std::string introspection_c_accessor(const Structure& structure, const Field& field,
                                     Accessor accessor) {
  return introspection_c_helper(c_type(structure), accessor_function(structure, field, accessor));
}
std::string introspection_c_member_array(const Structure& structure) {
  return introspection_c_helper(c_type(structure), "message_member_array");
}
std::string introspection_c_message_members(const Structure& structure) {
  return introspection_c_helper(c_type(structure), "message_members");
}
std::string introspection_c_message_record(const Structure& structure) {
  return introspection_c_helper(c_type(structure), "message_type_support_handle");
}
std::string introspection_c_service_members(const Interface& interface, const Service& service) {
  return introspection_c_helper(service_c_name(interface, service), "service_members");
}
std::string introspection_c_service_record(const Interface& interface, const Service& service) {
  return introspection_c_helper(service_c_name(interface, service), "service_type_support_handle");
}

std::string dispatch_header(const Interface& interface) {
  return interface.package + "/" + kind(interface.kind) + "/detail/" + stem(interface.name) +
         "__type_support.h";
}
std::string dispatch_source(const Interface& interface) {
  return root(Deliverable::TypesupportDispatch) + "/" + interface.package + "/" + kind(interface.kind) + "/" +
         stem(interface.name) + "__type_support.c";
}
std::vector<Deliverable> dispatch_providers() {
  return {Deliverable::SerializationC, Deliverable::IntrospectionC};
}
std::string dispatch_map_part(const std::string& c_name, std::string_view part) {
  return c_name + "__" + support_identifier(Deliverable::TypesupportDispatch) + "__" + std::string(part);
}
std::string dispatch_message_record(const Structure& structure) {
  return c_type(structure) + "__" + support_identifier(Deliverable::TypesupportDispatch) + "__message_type_support";
}
std::string dispatch_service_record(const Interface& interface, const Service& service) {
  return service_c_name(interface, service) + "__" + support_identifier(Deliverable::TypesupportDispatch) +
         "__service_type_support";
}
std::string dispatch_action_record(const Interface& action) {
  return interface_prefix(action.package, action.kind) + "__" + action.name + "__" +
         support_identifier(Deliverable::TypesupportDispatch) + "__action_type_support";
}
std::string action_cancel_service_handle(Deliverable support) {
  return support_identifier(support) + "__get_service_type_support_handle__" +
         interface_prefix("action_msgs", InterfaceKind::Service) + "__CancelGoal";
}
std::string action_status_message_handle(Deliverable support) {
  return support_identifier(support) + "__get_message_type_support_handle__" +
         interface_prefix("action_msgs", InterfaceKind::Message) + "__GoalStatusArray";
}

std::string cpp_namespace(const Structure& structure) {
  return structure.package + "::" + kind(structure.kind);
}
std::string cpp_class_template(const Structure& structure) { return structure.name + "_"; }
std::string cpp_qualified(const Structure& structure) {
  return cpp_namespace(structure) + "::" + structure.name;
}

std::string cpp_qualified_template(const Structure& structure) {
  return cpp_namespace(structure) + "::" + cpp_class_template(structure);
}

std::string cpp_struct_header(const Interface& interface) {
  return interface.package + "/" + kind(interface.kind) + "/detail/" + stem(interface.name) +
         "__struct.hpp";
}
std::string cpp_traits_header(const Interface& interface) {
  return interface.package + "/" + kind(interface.kind) + "/detail/" + stem(interface.name) +
         "__traits.hpp";
}
std::string cpp_umbrella_header(const Interface& interface) {
  return interface.package + "/" + kind(interface.kind) + "/" + stem(interface.name) + ".hpp";
}
std::string cpp_interface_namespace(const Interface& interface) {
  return interface.package + "::" + kind(interface.kind);
}
std::string cpp_service_key(const Interface& interface, const Service& service) {
  return cpp_interface_namespace(interface) + "::" + service.name;
}
std::string cpp_action_key(const Interface& action) {
  return cpp_interface_namespace(action) + "::" + action.name;
}
std::string cpp_member_type(const Field& field) { return "_" + field.name + "_type"; }
std::string cpp_setter(const Field& field) { return "set__" + field.name; }
std::string ros_type_name(const Structure& structure) {
  return structure.package + "/" + kind(structure.kind) + "/" + structure.name;
}
std::string ros_service_name(const Interface& interface, const Service& service) {
  return interface.package + "/" + kind(interface.kind) + "/" + service.name;
}
std::string ros_action_name(const Interface& action) {
  return action.package + "/" + kind(action.kind) + "/" + action.name;
}
std::string cpp_support_namespace(Deliverable support, const Structure& structure) {
  return cpp_namespace(structure) + "::" +
         (support == Deliverable::SerializationCpp ? std::string("typesupport_fastrtps_cpp")
                                         : support_identifier(support));
}
std::string cpp_message_handle_specialization(const Structure& structure) {
  return "get_message_type_support_handle<" + cpp_qualified(structure) + ">";
}
std::string cpp_service_handle_specialization(const Interface& interface, const Service& service) {
  return "get_service_type_support_handle<" + cpp_service_key(interface, service) + ">";
}
std::string cpp_message_handle(Deliverable support, const Structure& structure) {
  return "::" + support_identifier(support) + "::" + cpp_message_handle_specialization(structure);
}
std::string cpp_service_handle(Deliverable support, const Interface& interface, const Service& service) {
  return "::" + support_identifier(support) + "::" + cpp_service_handle_specialization(interface, service);
}

std::string introspection_cpp_header(const Interface& interface) {
  return interface.package + "/" + kind(interface.kind) + "/detail/" + stem(interface.name) +
         "__rosidl_typesupport_introspection_cpp.hpp";
}
std::string introspection_cpp_source(const Interface& interface) {
  return root(Deliverable::IntrospectionCpp) + "/" + interface.package + "/" + kind(interface.kind) +
         "/detail/" + stem(interface.name) + "__type_support.cpp";
}
std::string introspection_cpp_init_function(const Structure& structure) {
  return structure.name + "_init_function";
}
std::string introspection_cpp_fini_function(const Structure& structure) {
  return structure.name + "_fini_function";
}
std::string introspection_cpp_accessor(const Structure& structure, const Field& field,
                                       Accessor accessor) {
  return accessor_function(structure, field, accessor);
}
std::string introspection_cpp_member_array(const Structure& structure) {
  return structure.name + "_message_member_array";
}
std::string introspection_cpp_message_members(const Structure& structure) {
  return structure.name + "_message_members";
}
std::string introspection_cpp_message_record(const Structure& structure) {
  return structure.name + "_message_type_support_handle";
}
std::string introspection_cpp_service_members(const Service& service) {
  return service.name + "_service_members";
}
std::string introspection_cpp_service_record(const Service& service) {
  return service.name + "_service_type_support_handle";
}
std::string serialization_cpp_header(const Interface& interface) {
  return interface.package + "/" + kind(interface.kind) + "/detail/" + stem(interface.name) +
         "__rosidl_typesupport_fastrtps_cpp.hpp";
}
std::string serialization_cpp_source(const Interface& interface) {
  return root(Deliverable::SerializationCpp) + "/" + interface.package + "/" + kind(interface.kind) +
         "/detail/" + stem(interface.name) + "__type_support.cpp";
}
std::string cpp_cdr_function(CppCdrFunction function, const Structure& structure) {
  switch (function) {
    case CppCdrFunction::Serialize: return "cdr_serialize";
    case CppCdrFunction::Deserialize: return "cdr_deserialize";
    case CppCdrFunction::Size: return "get_serialized_size";
    case CppCdrFunction::MaxSize: return "max_serialized_size_" + structure.name;
  }
  return "";
}
std::string cpp_cdr_function_qualified(CppCdrFunction function, const Structure& structure) {
  return cpp_support_namespace(Deliverable::SerializationCpp, structure) + "::" +
         cpp_cdr_function(function, structure);
}

std::string py_infix(const Structure& structure) {
  return py_interface_infix(*structure.owner) + role_infix(role_words(structure.role));
}
std::string py_service_infix(const Interface& interface, const Service& service) {
  return py_interface_infix(interface) + role_infix(role_words(service.role));
}
std::string py_interface_infix(const Interface& action) {
  return kind(action.kind) + "__" + stem(action.name);
}
std::string py_module(const Interface& interface) {
  return interface.package + "." + kind(interface.kind) + "._" + stem(interface.name);
}
std::string py_class_path(const Structure& structure) {
  return py_module(*structure.owner) + "." + structure.name;
}
std::string py_convert_from(const Structure& structure) {
  return structure.package + "__" + py_infix(structure) + "__convert_from_py";
}
std::string py_convert_to(const Structure& structure) {
  return structure.package + "__" + py_infix(structure) + "__convert_to_py";
}
std::string py_conversion_source(const Interface& interface) {
  return root(Deliverable::GeneratorPy) + "/" + interface.package + "/" + kind(interface.kind) + "/_" +
         stem(interface.name) + "_s.c";
}

std::string py_package_init(const std::string& package) {
  return root(Deliverable::Python) + "/" + package + "/__init__.py";
}
std::string py_kind_init(const std::string& package, InterfaceKind interface_kind) {
  return root(Deliverable::Python) + "/" + package + "/" + kind(interface_kind) + "/__init__.py";
}
std::string py_module_file(const Interface& interface) {
  return root(Deliverable::Python) + "/" + interface.package + "/" + kind(interface.kind) + "/_" +
         stem(interface.name) + ".py";
}
std::string py_kind_package(const std::string& package, InterfaceKind interface_kind) {
  return package + "." + kind(interface_kind);
}
std::string py_metaclass(std::string_view class_name) {
  return "Metaclass_" + std::string(class_name);
}
std::string py_slot(const Field& field) { return "_" + field.name; }
std::vector<std::string> py_namespaces(const Structure& structure) {
  return {structure.package, kind(structure.kind)};
}
std::string py_slot_types_module() { return "rosidl_parser.definition"; }
std::string py_field_type(const Type& type) {
  std::string element;
  switch (type.element) {
    case ElementKind::Primitive: element = primitive_info(type.primitive).idl_name; break;
    case ElementKind::String:
      element = type.string_bound == 0 ? "string" : "string<=" + std::to_string(type.string_bound);
      break;
    case ElementKind::Nested: element = type.nested->package + "/" + type.nested->name; break;
  }
  switch (type.container) {
    case Container::Single: return element;
    case Container::FixedArray: return element + "[" + std::to_string(type.size) + "]";
    case Container::BoundedSequence:
      return "sequence<" + element + ", " + std::to_string(type.size) + ">";
    case Container::UnboundedSequence: return "sequence<" + element + ">";
  }
  return element;
}
namespace {
std::string import_alias(const std::string& package, InterfaceKind interface_kind,
                         const std::string& name) {
  return package + "_" + kind(interface_kind) + "_" + name;
}
PyClass action_msgs_class(InterfaceKind interface_kind, const std::string& name) {
  return {py_kind_package("action_msgs", interface_kind) + "._" + stem(name), name,
          import_alias("action_msgs", interface_kind, name)};
}
}  // namespace
std::string py_import_alias(const Structure& structure) {
  return import_alias(structure.package, structure.kind, structure.name);
}
PyClass py_action_cancel_service() {
  return action_msgs_class(InterfaceKind::Service, "CancelGoal");
}
PyClass py_action_status_message() {
  return action_msgs_class(InterfaceKind::Message, "GoalStatusArray");
}

std::string py_conversion_header(const Interface& interface) {
  return interface.package + "/" + kind(interface.kind) + "/_" + stem(interface.name) + "_s.h";
}
std::string py_conversion_rules_header(const std::string& package) {
  return package + "/detail/python_conversion_rules.h";
}
std::string py_sequence_label(const Type& type) {
  switch (type.element) {
    case ElementKind::Primitive:
      return std::string(primitive_info(type.primitive).c_sequence) + "__Sequence";
    case ElementKind::String: return "String__Sequence";
    case ElementKind::Nested: return c_sequence_type(*type.nested);
  }
  return "";
}
std::string py_sequence_reserve(const Type& type) { return "reserve_" + c_sequence_type_of(type); }

std::vector<std::string> py_extension_modules(const std::string& package) {
  std::vector<std::string> modules;
  for (Deliverable support : {Deliverable::TypesupportDispatch, Deliverable::IntrospectionC}) {
    modules.push_back(package + "_s__" + support_identifier(support));
  }
  return modules;
}
std::string py_extension_source(const std::string& package) {
  return root(Deliverable::PythonModules) + "/" + package + "_s.c";
}
std::string py_module_definition_name(const std::string& package) {
  return "_" + package + "_support";
}
std::string py_module_documentation(const std::string& package) { return "_" + package + "_doc"; }
namespace {
std::string entry_point_operation(PyEntryPoint entry_point) {
  switch (entry_point) {
    case PyEntryPoint::CreateRosMessage: return "create_ros_message";
    case PyEntryPoint::DestroyRosMessage: return "destroy_ros_message";
    case PyEntryPoint::ConvertFromPy: return "convert_from_py";
    case PyEntryPoint::ConvertToPy: return "convert_to_py";
    case PyEntryPoint::TypeSupport: return "type_support";
  }
  return "";
}
}  // namespace
const std::vector<PyEntryPoint>& py_message_entry_points() {
  static const std::vector<PyEntryPoint> all = {
      PyEntryPoint::CreateRosMessage, PyEntryPoint::DestroyRosMessage, PyEntryPoint::ConvertFromPy,
      PyEntryPoint::ConvertToPy, PyEntryPoint::TypeSupport};
  return all;
}
std::string py_message_capsule(PyEntryPoint entry_point, const Structure& structure) {
  return entry_point_operation(entry_point) + "_msg__" + py_infix(structure);
}
std::string py_entry_point_attribute(PyEntryPoint entry_point) {
  return "_" + upper(entry_point_operation(entry_point));
}
std::string py_service_capsule(const Interface& interface, const Service& service) {
  return entry_point_operation(PyEntryPoint::TypeSupport) + "_srv__" +
         py_service_infix(interface, service);
}
std::string py_action_capsule(const Interface& action) {
  return entry_point_operation(PyEntryPoint::TypeSupport) + "_action__" +
         py_interface_infix(action);
}
std::string py_register_message(const Structure& structure) {
  return "_register_msg_type__" + py_infix(structure);
}
std::string py_register_service(const Interface& interface, const Service& service) {
  return "_register_srv_type__" + py_service_infix(interface, service);
}
std::string py_register_action(const Interface& action) {
  return "_register_action_type__" + py_interface_infix(action);
}

namespace {
// A runtime header's file and the namespace of its rules; C has no namespaces.
std::pair<const char*, const char*> runtime_parts(RuntimeHeader header) {
  switch (header) {
    case RuntimeHeader::CWire: return {"fastcdr_c_wire.hpp", "fastcdr_c"};
    case RuntimeHeader::CppWire: return {"fastcdr_cpp_wire.hpp", "fastcdr_cpp"};
    case RuntimeHeader::Yaml: return {"cpp_yaml.hpp", "yaml"};
    case RuntimeHeader::PythonConversion: return {"python_conversion.h", nullptr};
  }
  return {"", nullptr};
}
}  // namespace
std::string runtime_header(RuntimeHeader header) {
  return std::string(kRuntime) + "/" + runtime_parts(header).first;
}
std::string runtime_namespace(RuntimeHeader header) {
  const char* name_space = runtime_parts(header).second;
  if (name_space == nullptr) throw std::logic_error("a runtime header without a namespace");
  return std::string(kRuntime) + "::" + name_space;
}
std::string py_runtime_module() { return kRuntime; }

}  // namespace idlc::naming
