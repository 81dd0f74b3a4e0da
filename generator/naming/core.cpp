#include "naming/core.hpp"

#include <cctype>
#include <stdexcept>
#include <utility>

#include "naming/c.hpp"
#include "naming/parts.hpp"

namespace idlc::naming {
namespace {

bool is_upper(char c) { return std::isupper(static_cast<unsigned char>(c)) != 0; }
bool is_lower_or_digit(char c) {
  return std::islower(static_cast<unsigned char>(c)) != 0 ||
         std::isdigit(static_cast<unsigned char>(c)) != 0;
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
       "rosidl_typesupport_c", "rosidl_typesupport_c__typesupport_identifier", {D::GeneratorC}},
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
      {D::TypesupportDispatchCpp, "typesupport_dispatch_cpp", "cpp", "shared_library",
       "rosidl_typesupport_cpp", "rosidl_typesupport_cpp::typesupport_identifier",
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
  return parts::upper(library_of(id)) + "_PUBLIC_" + package;
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
  return parts::interface_prefix(interface.package, interface.kind) + "__" + service.name;
}

std::string service_handle(Deliverable support, const Interface& interface, const Service& service) {
  return support_identifier(support) + "__get_service_type_support_handle__" +
         service_c_name(interface, service);
}

std::string action_handle(Deliverable support, const Interface& action) {
  return support_identifier(support) + "__get_action_type_support_handle__" +
         parts::interface_prefix(action.package, action.kind) + "__" + action.name;
}

std::string private_symbol(std::string_view purpose, const Structure& structure) {
  return std::string(purpose) + "_" + c_type(structure);
}

std::string private_symbol(std::string_view purpose, const Interface& interface,
                           const Service& service) {
  return std::string(purpose) + "_" + service_c_name(interface, service);
}

std::vector<Deliverable> dispatch_providers(Deliverable dispatch) {
  switch (dispatch) {
    case Deliverable::TypesupportDispatch:
      return {Deliverable::SerializationC, Deliverable::IntrospectionC};
    case Deliverable::TypesupportDispatchCpp:
      return {Deliverable::SerializationCpp, Deliverable::IntrospectionCpp};
    default: throw std::logic_error(std::string(deliverable(dispatch).name) + " is no dispatch");
  }
}

std::string dispatch_map_part(Deliverable dispatch, const std::string& c_name, std::string_view part) {
  dispatch_providers(dispatch);
  return c_name + "__" + support_identifier(dispatch) + "__" + std::string(part);
}

std::string dispatch_message_record(Deliverable dispatch, const Structure& structure) {
  return dispatch_map_part(dispatch, c_type(structure), "message_type_support");
}

std::string dispatch_service_record(Deliverable dispatch, const Interface& interface,
                                    const Service& service) {
  return dispatch_map_part(dispatch, service_c_name(interface, service), "service_type_support");
}

std::string dispatch_action_record(Deliverable dispatch, const Interface& action) {
  return dispatch_map_part(dispatch, parts::interface_prefix(action.package, action.kind) + "__" + action.name,
                           "action_type_support");
}

namespace {
std::string dispatch_lookup(Deliverable dispatch, const std::string& function) {
  dispatch_providers(dispatch);
  if (std::string(deliverable(dispatch).language) == "c") {
    return support_identifier(dispatch) + "__" + function;
  }
  return "::" + support_identifier(dispatch) + "::" + function;
}
}  // namespace

std::string dispatch_message_lookup(Deliverable dispatch) {
  return dispatch_lookup(dispatch, "get_message_typesupport_handle_function");
}

std::string dispatch_service_lookup(Deliverable dispatch) {
  return dispatch_lookup(dispatch, "get_service_typesupport_handle_function");
}

std::string action_cancel_service_handle(Deliverable support) {
  return support_identifier(support) + "__get_service_type_support_handle__" +
         parts::interface_prefix("action_msgs", InterfaceKind::Service) + "__CancelGoal";
}

std::string action_status_message_handle(Deliverable support) {
  return support_identifier(support) + "__get_message_type_support_handle__" +
         parts::interface_prefix("action_msgs", InterfaceKind::Message) + "__GoalStatusArray";
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
