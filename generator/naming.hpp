#pragma once

// Every name of every artefact, computed here and nowhere else: C types and functions, stems,
// file paths, handle symbols, namespaces and Python infixes. Emitters call these instead of
// gluing names together.

#include <string>
#include <string_view>

#include "model/model.hpp"

namespace idlc::naming {

// "MoveToGrab" -> "move_to_grab", "UUID" -> "uuid", "PointCloud2" -> "point_cloud2",
// "Float64MultiArray" -> "float64_multi_array".
std::string stem(std::string_view camel);
std::string kind(InterfaceKind kind);  // "msg", "srv", "action"

// --- C structures -------------------------------------------------------------------------
std::string c_type(const Structure& structure);           // pkg__msg__Trash
std::string c_sequence_type(const Structure& structure);  // pkg__msg__Trash__Sequence
std::string c_function(const Structure& structure, std::string_view operation);
std::string c_sequence_function(const Structure& structure, std::string_view operation);
std::string c_constant(const Structure& structure, const Constant& constant);
std::string c_primitive_sequence_type(Primitive primitive);  // rosidl_runtime_c__int32__Sequence
std::string c_primitive_sequence_function(Primitive primitive, std::string_view operation);
std::string c_string_type();
std::string c_string_function(std::string_view operation);
std::string c_string_sequence_type();
std::string c_string_sequence_function(std::string_view operation);
std::string c_visibility_macro(const std::string& package);

// --- Files (relative to the package's generated root) --------------------------------------
// Include paths, as written in #include and relative to the C include root.
std::string c_struct_header(const Interface& interface);     // pkg/msg/detail/trash__struct.h
std::string c_functions_header(const Interface& interface);  // pkg/msg/detail/trash__functions.h
std::string c_umbrella_header(const Interface& interface);   // pkg/msg/trash.h
std::string c_visibility_header(const std::string& package);
std::string c_include_root();  // "rosidl_generator_c": holds the headers and the sources
// The source unit of an interface's C functions, relative to the generated root.
std::string c_functions_source(const Interface& interface);
std::string include_guard(std::string_view path);

// --- Libraries and type-support handles ---------------------------------------------------
std::string library_file(const std::string& package, std::string_view deliverable);

enum class Support {
  Dispatch,               // rosidl_typesupport_c
  FastCdrC,               // rosidl_typesupport_fastrtps_c
  FastCdrCpp,             // rosidl_typesupport_fastrtps_cpp
  IntrospectionC,         // rosidl_typesupport_introspection_c
  IntrospectionCpp,       // rosidl_typesupport_introspection_cpp
};
std::string support_identifier(Support support);
std::string message_handle(Support support, const Structure& structure);
std::string service_handle(Support support, const Interface& interface, const Service& service);
std::string action_handle(Support support, const Interface& action);
std::string service_c_name(const Interface& interface, const Service& service);  // pkg__srv__X

// --- C++ ----------------------------------------------------------------------------------
std::string cpp_namespace(const Structure& structure);  // pkg::msg
std::string cpp_class_template(const Structure& structure);  // Trash_
std::string cpp_qualified(const Structure& structure);  // pkg::msg::Trash

// --- Python -------------------------------------------------------------------------------
// "msg__trash", "srv__move_to_grab__request", "action__arm_task__send_goal__request".
std::string py_infix(const Structure& structure);
std::string py_module(const Interface& interface);  // pkg.msg._trash

}  // namespace idlc::naming
