#pragma once

// The names every language shares: stems, the deliverables and their libraries, the handle
// functions of the type supports, the dispatch records and the runtime's files.

#include <string>
#include <string_view>
#include <vector>

#include "model/model.hpp"

namespace idlc::naming {

// "MoveToGrab" -> "move_to_grab", "UUID" -> "uuid", "PointCloud2" -> "point_cloud2",
// "Float64MultiArray" -> "float64_multi_array".
std::string stem(std::string_view camel);
std::string kind(InterfaceKind kind);  // "msg", "srv", "action"
std::string definition_path(const Interface& interface);  // "pkg/msg/Trash"
std::string include_guard(std::string_view path);

// --- Deliverables -------------------------------------------------------------------------
// Each deliverable goes by one name, the folder it writes under the package's generated root:
// the compiler emits it under that name (--emit) and the CMake function builds it under that
// name. Everything else said of it is a column of its row.
enum class Deliverable {
  GeneratorC,              // rosidl_generator_c: the C structures and their functions
  TypesupportDispatch,     // typesupport_dispatch: the C type-support dispatch
  IntrospectionC,          // introspection_c
  SerializationC,          // serialization_c: CDR of the C structures through Fast-CDR
  CppMessages,             // cpp_messages: the C++ message classes, headers only
  IntrospectionCpp,        // introspection_cpp
  SerializationCpp,        // serialization_cpp: CDR of the C++ classes through Fast-CDR
  TypesupportDispatchCpp,  // typesupport_dispatch_cpp: the C++ type-support dispatch
  Python,                  // python: the Python message classes
  GeneratorPy,             // rosidl_generator_py: the Python conversion library
  PythonModules,           // python_modules: the source of the two Python extension modules
};

struct DeliverableInfo {
  Deliverable id;
  const char* name;
  const char* language;  // of the clients that use it: "c", "cpp" or "python"
  // What the build makes of its files: "shared_library" (of its sources, with its headers),
  // "headers", "python_package" (files copied as they are) or "python_modules" (extension
  // modules, each the one source under its own name).
  const char* form;
  // Its library is lib<pkg>__<library>.so; a type support's identifier is its library's name.
  // Empty when it builds none of its own.
  const char* library;
  // A type support's runtime variable that holds its identifier; empty for the others.
  const char* identifier_variable;
  std::vector<Deliverable> links;  // the deliverables of its own package that it links
};
// In the order the compiler emits them.
const std::vector<DeliverableInfo>& deliverables();
const DeliverableInfo& deliverable(Deliverable id);
const DeliverableInfo* find_deliverable(std::string_view name);
// The folder under the package's generated root that holds the deliverable's files.
std::string root(Deliverable id);
// The library's target and base name: pkg__rosidl_generator_c.
std::string library_target(const std::string& package, Deliverable id);
// The header that defines the deliverable's visibility macro, relative to its root, and the
// macro: pkg/msg/rosidl_generator_c__visibility_control.h, ROSIDL_GENERATOR_C_PUBLIC_pkg.
std::string visibility_header(const std::string& package, Deliverable id);
std::string visibility_macro(const std::string& package, Deliverable id);

// --- Type-support handles -----------------------------------------------------------------
std::string support_identifier(Deliverable support);
// The runtime variable that holds a support's identifier; records are stamped with its value.
std::string identifier_variable(Deliverable support);
// The C-linkage handle functions: rosidl_typesupport_c__get_message_type_support_handle__pkg__msg__Trash.
std::string message_handle(Deliverable support, const Structure& structure);
std::string service_handle(Deliverable support, const Interface& interface, const Service& service);
std::string action_handle(Deliverable support, const Interface& action);
std::string service_c_name(const Interface& interface, const Service& service);  // pkg__srv__X
// Names of a deliverable's private records and helpers: "<purpose>_<C name>".
std::string private_symbol(std::string_view purpose, const Structure& structure);
std::string private_symbol(std::string_view purpose, const Interface& interface,
                           const Service& service);
// The sequence accessors of both introspections.
enum class Accessor { Size, GetConst, Get, Fetch, Assign, Resize };

// --- Type-support dispatch (C and C++) ----------------------------------------------------
// The supports a dispatch map of the C or the C++ dispatch offers, in map order.
std::vector<Deliverable> dispatch_providers(Deliverable dispatch);
// Static records of a structure, service or action; not exported. C names in both languages:
// pkg__msg__Trash__rosidl_typesupport_cpp__map.
std::string dispatch_map_part(Deliverable dispatch, const std::string& c_name, std::string_view part);
std::string dispatch_message_record(Deliverable dispatch, const Structure& structure);
std::string dispatch_service_record(Deliverable dispatch, const Interface& interface,
                                    const Service& service);
std::string dispatch_action_record(Deliverable dispatch, const Interface& action);
// The runtime's lookup function that a dispatch record of messages or of services carries:
// rosidl_typesupport_c__get_message_typesupport_handle_function,
// ::rosidl_typesupport_cpp::get_message_typesupport_handle_function.
std::string dispatch_message_lookup(Deliverable dispatch);
std::string dispatch_service_lookup(Deliverable dispatch);
// The action protocol's cancel service and status message, which action_msgs provides.
std::string action_cancel_service_handle(Deliverable support);
std::string action_status_message_handle(Deliverable support);

// --- The runtime ----------------------------------------------------------------------------
// The fixed code every package's generated code shares, one copy per build and per install:
// its headers, included as "<runtime>/<file>", and its Python module.
enum class RuntimeHeader {
  CWire,             // the Fast-CDR rules of the C serialization
  CppWire,           // the same for the C++ serialization
  Yaml,              // how the C++ classes print as YAML
  PythonConversion,  // the rules of the Python conversions, in C
};
std::string runtime_header(RuntimeHeader header);  // corvanthelis_idlc_runtime/cpp_yaml.hpp
// The namespace of a C++ header: corvanthelis_idlc_runtime::fastcdr_c.
std::string runtime_namespace(RuntimeHeader header);
std::string py_runtime_module();  // corvanthelis_idlc_runtime

}  // namespace idlc::naming
