#pragma once

// Every name of every artefact, computed here and nowhere else: C types and functions, stems,
// file paths, handle symbols, namespaces and Python infixes. Emitters call these instead of
// gluing names together.

#include <string>
#include <string_view>
#include <vector>

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
// The functions of the record that holds a sequence field of this type (its element's kind
// decides: rosidl_runtime_c's primitive or string sequences, or the nested type's own).
std::string c_sequence_function_of(const Type& type, std::string_view operation);
std::string c_sequence_type_of(const Type& type);

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
// The runtime variable that holds a support's identifier; records are stamped with its value.
std::string identifier_variable(Support support);
std::string message_handle(Support support, const Structure& structure);
std::string service_handle(Support support, const Interface& interface, const Service& service);
std::string action_handle(Support support, const Interface& action);
std::string service_c_name(const Interface& interface, const Service& service);  // pkg__srv__X

// --- C serialization (fast-CDR) -----------------------------------------------------------
std::string cdr_serialize_function(const Structure& structure);    // cdr_serialize_pkg__msg__T
std::string cdr_deserialize_function(const Structure& structure);  // cdr_deserialize_pkg__msg__T
std::string serialized_size_function(const Structure& structure);  // get_serialized_size_...
std::string max_serialized_size_function(const Structure& structure);  // max_serialized_size_...
std::string serialization_c_root();  // "serialization_c": holds its headers and sources
std::string serialization_c_header(const Interface& interface);
std::string serialization_c_source(const Interface& interface);
std::string serialization_c_wire_header(const std::string& package);
std::string serialization_c_wire_namespace(const std::string& package);
std::string serialization_c_visibility_header(const std::string& package);
std::string serialization_c_visibility_macro(const std::string& package);
std::string serialization_namespace(const Structure& structure);  // "pkg::msg"
std::string serialization_service_namespace(const Interface& interface);
// Names of a deliverable's private records and helpers: "<purpose>_<C name>".
std::string private_symbol(std::string_view purpose, const Structure& structure);
std::string private_symbol(std::string_view purpose, const Interface& interface,
                           const Service& service);

// --- C introspection ----------------------------------------------------------------------
std::string c_namespace(const std::string& package, InterfaceKind kind);  // pkg__msg
std::string introspection_c_root();  // "introspection_c": holds its headers and sources
// pkg/msg/detail/trash__rosidl_typesupport_introspection_c.h, relative to the root.
std::string introspection_c_header(const Interface& interface);
std::string introspection_c_source(const Interface& interface);  // relative to the generated root
std::string introspection_c_visibility_header(const std::string& package);
std::string introspection_c_visibility_macro(const std::string& package);
// pkg__msg__Trash__rosidl_typesupport_introspection_c__Trash_init_function, and _fini_.
std::string introspection_c_init_function(const Structure& structure);
std::string introspection_c_fini_function(const Structure& structure);
enum class Accessor { Size, GetConst, Get, Fetch, Assign, Resize };
// pkg__msg__Trashes__rosidl_typesupport_introspection_c__size_function__Trashes__trashes
std::string introspection_c_accessor(const Structure& structure, const Field& field,
                                     Accessor accessor);
// Static records of a structure or service; not exported.
std::string introspection_c_member_array(const Structure& structure);
std::string introspection_c_message_members(const Structure& structure);
std::string introspection_c_message_record(const Structure& structure);
std::string introspection_c_service_members(const Interface& interface, const Service& service);
std::string introspection_c_service_record(const Interface& interface, const Service& service);

// --- C type-support dispatch --------------------------------------------------------------
std::string dispatch_root();  // "typesupport_dispatch": holds its headers and sources
// pkg/msg/detail/trash__type_support.h, relative to the root.
std::string dispatch_header(const Interface& interface);
std::string dispatch_source(const Interface& interface);  // relative to the generated root
std::string dispatch_visibility_header(const std::string& package);
std::string dispatch_visibility_macro(const std::string& package);
// The supports a dispatch map offers, in map order.
std::vector<Support> dispatch_providers();
// Static records of a structure, service or action; not exported.
std::string dispatch_map_part(const std::string& c_name, std::string_view part);
std::string dispatch_message_record(const Structure& structure);
std::string dispatch_service_record(const Interface& interface, const Service& service);
std::string dispatch_action_record(const Interface& action);
// The name of an action's FeedbackMessage structure, "ArmTask_FeedbackMessage".
std::string action_feedback_message(const Interface& action);
// The name of one of an action's own structures: part "Goal" gives "ArmTask_Goal".
std::string action_structure(const Interface& action, std::string_view part);
// The action protocol's cancel service and status message, which action_msgs provides.
std::string action_cancel_service_handle(Support support);
std::string action_status_message_handle(Support support);

// --- C++ ----------------------------------------------------------------------------------
std::string cpp_namespace(const Structure& structure);  // pkg::msg
std::string cpp_class_template(const Structure& structure);  // Trash_
std::string cpp_qualified(const Structure& structure);  // pkg::msg::Trash
std::string cpp_qualified_template(const Structure& structure);  // pkg::msg::Trash_
std::string cpp_include_root();  // "cpp_messages": holds the C++ message headers
std::string cpp_struct_header(const Interface& interface);  // pkg/msg/detail/trash__struct.hpp
std::string cpp_traits_header(const Interface& interface);  // pkg/msg/detail/trash__traits.hpp
std::string cpp_umbrella_header(const Interface& interface);  // pkg/msg/trash.hpp
std::string cpp_service_key(const Interface& interface, const Service& service);  // pkg::srv::X
std::string cpp_action_key(const Interface& action);  // pkg::action::ArmTask
std::string cpp_interface_namespace(const Interface& interface);  // pkg::srv
// A class's own names for a field: the member type alias and the chained setter.
std::string cpp_member_type(const Field& field);  // _trashes_type
std::string cpp_setter(const Field& field);       // set__trashes
// The header with the YAML printing rules every message of the package shares, and its
// namespace.
std::string cpp_yaml_header(const std::string& package);
std::string cpp_yaml_namespace(const std::string& package);
// The names the traits give: "pkg/msg/Trash", "pkg/srv/DetectTrash", "pkg/action/ArmTask".
std::string ros_type_name(const Structure& structure);
std::string ros_service_name(const Interface& interface, const Service& service);
std::string ros_action_name(const Interface& action);
// The namespace of a structure's C++ support functions: pkg::msg::typesupport_fastrtps_cpp or
// pkg::msg::rosidl_typesupport_introspection_cpp.
std::string cpp_support_namespace(Support support, const Structure& structure);
// The handle templates of a C++ support, specialised for a class or a service key, as they
// are declared inside the support's namespace, "get_message_type_support_handle<pkg::msg::Trash>",
// and as they are called from anywhere, with that namespace in front.
std::string cpp_message_handle_specialization(const Structure& structure);
std::string cpp_service_handle_specialization(const Interface& interface, const Service& service);
std::string cpp_message_handle(Support support, const Structure& structure);
std::string cpp_service_handle(Support support, const Interface& interface, const Service& service);

// --- C++ introspection --------------------------------------------------------------------
std::string introspection_cpp_root();  // "introspection_cpp": holds its headers and sources
// pkg/msg/detail/trash__rosidl_typesupport_introspection_cpp.hpp, relative to the root.
std::string introspection_cpp_header(const Interface& interface);
std::string introspection_cpp_source(const Interface& interface);  // relative to the generated root
std::string introspection_cpp_visibility_header(const std::string& package);
std::string introspection_cpp_visibility_macro(const std::string& package);
// Functions in cpp_support_namespace(IntrospectionCpp, ...): Trash_init_function, ...
std::string introspection_cpp_init_function(const Structure& structure);
std::string introspection_cpp_fini_function(const Structure& structure);
std::string introspection_cpp_accessor(const Structure& structure, const Field& field,
                                       Accessor accessor);  // size_function__Trashes__trashes
// Static records of a structure or service; not exported.
std::string introspection_cpp_member_array(const Structure& structure);
std::string introspection_cpp_message_members(const Structure& structure);
std::string introspection_cpp_message_record(const Structure& structure);
std::string introspection_cpp_service_members(const Service& service);
std::string introspection_cpp_service_record(const Service& service);

// --- C++ serialization (fast-CDR) ---------------------------------------------------------
std::string serialization_cpp_root();  // "serialization_cpp": holds its headers and sources
// pkg/msg/detail/trash__rosidl_typesupport_fastrtps_cpp.hpp, relative to the root.
std::string serialization_cpp_header(const Interface& interface);
std::string serialization_cpp_source(const Interface& interface);  // relative to the generated root
std::string serialization_cpp_wire_header(const std::string& package);
std::string serialization_cpp_wire_namespace(const std::string& package);
std::string serialization_cpp_visibility_header(const std::string& package);
std::string serialization_cpp_visibility_macro(const std::string& package);
// The four functions of a structure, unqualified: cdr_serialize, cdr_deserialize,
// get_serialized_size, max_serialized_size_Trash. They live in cpp_support_namespace(FastCdrCpp).
enum class CppCdrFunction { Serialize, Deserialize, Size, MaxSize };
std::string cpp_cdr_function(CppCdrFunction function, const Structure& structure);
std::string cpp_cdr_function_qualified(CppCdrFunction function, const Structure& structure);

// --- Python -------------------------------------------------------------------------------
// "msg__trash", "srv__move_to_grab__request", "action__arm_task__send_goal__request".
std::string py_infix(const Structure& structure);
std::string py_module(const Interface& interface);  // pkg.msg._trash
std::string py_class_path(const Structure& structure);  // pkg.msg._trash.Trash
// "srv__move_to_grab", "action__arm_task__send_goal": names a service's capsules.
std::string py_service_infix(const Interface& interface, const Service& service);
// "msg__trash", "srv__move_to_grab", "action__arm_task": also names an action's capsules.
std::string py_interface_infix(const Interface& interface);
std::string py_convert_from(const Structure& structure);  // pkg__msg__trash__convert_from_py
std::string py_convert_to(const Structure& structure);    // pkg__msg__trash__convert_to_py
// The conversions' source unit, relative to the generated root.
std::string py_conversion_source(const Interface& interface);  // rosidl_generator_py/pkg/srv/_x_s.c
// The two extension modules: pkg_s__rosidl_typesupport_c and ..._introspection_c.
std::string py_extension_module(const std::string& package, Support support);

// --- Python message classes ---------------------------------------------------------------
// Files relative to the generated root; the build copies everything below the root into the
// Python tree as it is.
std::string py_classes_root();                                   // "python"
std::string py_package_init(const std::string& package);         // python/pkg/__init__.py
std::string py_kind_init(const std::string& package, InterfaceKind kind);  // python/pkg/msg/__init__.py
std::string py_module_file(const Interface& interface);          // python/pkg/msg/_trash.py
// The per-package module that holds the rules every field of a kind follows.
std::string py_runtime_module(const std::string& package);       // pkg._message_runtime
std::string py_runtime_file(const std::string& package);         // python/pkg/_message_runtime.py
std::string py_kind_package(const std::string& package, InterfaceKind kind);  // pkg.msg
std::string py_metaclass(std::string_view class_name);           // Metaclass_Trash
std::string py_slot(const Field& field);                         // _grab_pose
// How a class reports a field's type: "int32", "double", "sequence<geometry_msgs/Pose>",
// "uint8[16]", "string<=10", "sequence<int32, 5>".
std::string py_field_type(const Type& type);
// The local name under which a module imports a nested type's class when its short name is
// taken: "geometry_msgs_msg_Pose".
std::string py_import_alias(const Structure& structure);
// The action protocol's classes that action_msgs provides.
struct PyClass {
  std::string module;
  std::string name;
  std::string alias;  // as py_import_alias would name it
};
PyClass py_action_cancel_service();  // action_msgs.srv._cancel_goal.CancelGoal
PyClass py_action_status_message();  // action_msgs.msg._goal_status_array.GoalStatusArray

// --- Python conversion library ------------------------------------------------------------
std::string py_conversion_root();  // "rosidl_generator_py": holds its headers and sources
// pkg/msg/_trash_s.h, relative to the root: declares the interface's conversions.
std::string py_conversion_header(const Interface& interface);
// The package's inline conversion rules, relative to the root.
std::string py_conversion_rules_header(const std::string& package);
std::string py_conversion_visibility_header(const std::string& package);
std::string py_conversion_visibility_macro(const std::string& package);
// What a failed sequence initialisation names: "int32__Sequence",
// "geometry_msgs__msg__Pose__Sequence".
std::string py_sequence_label(const Type& type);
// The unit's private function that sizes a sequence member of this type.
std::string py_sequence_reserve(const Type& type);

// --- Python extension modules -------------------------------------------------------------
std::string py_extension_root();  // "python_modules"
std::string py_extension_source(const std::string& package);  // relative to the generated root
std::string py_module_definition_name(const std::string& package);  // _pkg_support
std::string py_module_documentation(const std::string& package);    // _pkg_doc
// A structure's capsule: "<operation>_msg__<infix>", e.g. create_ros_message_msg__msg__trash.
std::string py_message_capsule(std::string_view operation, const Structure& structure);
std::string py_service_capsule(const Interface& interface, const Service& service);
std::string py_action_capsule(const Interface& action);
std::string py_register_message(const Structure& structure);  // _register_msg_type__msg__trash
std::string py_register_service(const Interface& interface, const Service& service);
std::string py_register_action(const Interface& action);

}  // namespace idlc::naming
