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
std::string definition_path(const Interface& interface);  // "pkg/msg/Trash"

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
// The functions of the record that holds a sequence field of this type (its element's kind
// decides: rosidl_runtime_c's primitive or string sequences, or the nested type's own).
std::string c_sequence_function_of(const Type& type, std::string_view operation);
std::string c_sequence_type_of(const Type& type);

// --- Files (relative to the package's generated root) --------------------------------------
// Include paths, as written in #include and relative to the C include root.
std::string c_struct_header(const Interface& interface);     // pkg/msg/detail/trash__struct.h
std::string c_functions_header(const Interface& interface);  // pkg/msg/detail/trash__functions.h
std::string c_umbrella_header(const Interface& interface);   // pkg/msg/trash.h
// The source unit of an interface's C functions, relative to the generated root.
std::string c_functions_source(const Interface& interface);
std::string include_guard(std::string_view path);

// --- Deliverables -------------------------------------------------------------------------
// Each deliverable goes by one name, the folder it writes under the package's generated root:
// the compiler emits it under that name (--emit) and the CMake function builds it under that
// name. Everything else said of it is a column of its row.
enum class Deliverable {
  GeneratorC,           // rosidl_generator_c: the C structures and their functions
  TypesupportDispatch,  // typesupport_dispatch: the C type-support dispatch
  IntrospectionC,       // introspection_c
  SerializationC,       // serialization_c: CDR of the C structures through Fast-CDR
  CppMessages,          // cpp_messages: the C++ message classes, headers only
  IntrospectionCpp,     // introspection_cpp
  SerializationCpp,     // serialization_cpp: CDR of the C++ classes through Fast-CDR
  Python,               // python: the Python message classes
  GeneratorPy,          // rosidl_generator_py: the Python conversion library
  PythonModules,        // python_modules: the source of the two Python extension modules
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
std::string message_handle(Deliverable support, const Structure& structure);
std::string service_handle(Deliverable support, const Interface& interface, const Service& service);
std::string action_handle(Deliverable support, const Interface& action);
std::string service_c_name(const Interface& interface, const Service& service);  // pkg__srv__X

// --- C serialization (fast-CDR) -----------------------------------------------------------
std::string cdr_serialize_function(const Structure& structure);    // cdr_serialize_pkg__msg__T
std::string cdr_deserialize_function(const Structure& structure);  // cdr_deserialize_pkg__msg__T
std::string serialized_size_function(const Structure& structure);  // get_serialized_size_...
std::string max_serialized_size_function(const Structure& structure);  // max_serialized_size_...
std::string serialization_c_header(const Interface& interface);
std::string serialization_c_source(const Interface& interface);
// Names of a deliverable's private records and helpers: "<purpose>_<C name>".
std::string private_symbol(std::string_view purpose, const Structure& structure);
std::string private_symbol(std::string_view purpose, const Interface& interface,
                           const Service& service);

// --- C introspection ----------------------------------------------------------------------
std::string c_namespace(const std::string& package, InterfaceKind kind);  // pkg__msg
// pkg/msg/detail/trash__rosidl_typesupport_introspection_c.h, relative to the root.
std::string introspection_c_header(const Interface& interface);
std::string introspection_c_source(const Interface& interface);  // relative to the generated root
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
// pkg/msg/detail/trash__type_support.h, relative to the root.
std::string dispatch_header(const Interface& interface);
std::string dispatch_source(const Interface& interface);  // relative to the generated root
// The supports a dispatch map offers, in map order.
std::vector<Deliverable> dispatch_providers();
// Static records of a structure, service or action; not exported.
std::string dispatch_map_part(const std::string& c_name, std::string_view part);
std::string dispatch_message_record(const Structure& structure);
std::string dispatch_service_record(const Interface& interface, const Service& service);
std::string dispatch_action_record(const Interface& action);
// The action protocol's cancel service and status message, which action_msgs provides.
std::string action_cancel_service_handle(Deliverable support);
std::string action_status_message_handle(Deliverable support);

// --- C++ ----------------------------------------------------------------------------------
std::string cpp_namespace(const Structure& structure);  // pkg::msg
std::string cpp_class_template(const Structure& structure);  // Trash_
std::string cpp_qualified(const Structure& structure);  // pkg::msg::Trash
std::string cpp_qualified_template(const Structure& structure);  // pkg::msg::Trash_
std::string cpp_struct_header(const Interface& interface);  // pkg/msg/detail/trash__struct.hpp
std::string cpp_traits_header(const Interface& interface);  // pkg/msg/detail/trash__traits.hpp
std::string cpp_umbrella_header(const Interface& interface);  // pkg/msg/trash.hpp
std::string cpp_service_key(const Interface& interface, const Service& service);  // pkg::srv::X
std::string cpp_action_key(const Interface& action);  // pkg::action::ArmTask
std::string cpp_interface_namespace(const Interface& interface);  // pkg::srv
// A class's own names for a field: the member type alias and the chained setter.
std::string cpp_member_type(const Field& field);  // _trashes_type
std::string cpp_setter(const Field& field);       // set__trashes
// The names the traits give: "pkg/msg/Trash", "pkg/srv/DetectTrash", "pkg/action/ArmTask".
std::string ros_type_name(const Structure& structure);
std::string ros_service_name(const Interface& interface, const Service& service);
std::string ros_action_name(const Interface& action);
// The namespace of a structure's C++ support functions: pkg::msg::typesupport_fastrtps_cpp or
// pkg::msg::rosidl_typesupport_introspection_cpp.
std::string cpp_support_namespace(Deliverable support, const Structure& structure);
// The handle templates of a C++ support, specialised for a class or a service key, as they
// are declared inside the support's namespace, "get_message_type_support_handle<pkg::msg::Trash>",
// and as they are called from anywhere, with that namespace in front.
std::string cpp_message_handle_specialization(const Structure& structure);
std::string cpp_service_handle_specialization(const Interface& interface, const Service& service);
std::string cpp_message_handle(Deliverable support, const Structure& structure);
std::string cpp_service_handle(Deliverable support, const Interface& interface, const Service& service);

// --- C++ introspection --------------------------------------------------------------------
// pkg/msg/detail/trash__rosidl_typesupport_introspection_cpp.hpp, relative to the root.
std::string introspection_cpp_header(const Interface& interface);
std::string introspection_cpp_source(const Interface& interface);  // relative to the generated root
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
// pkg/msg/detail/trash__rosidl_typesupport_fastrtps_cpp.hpp, relative to the root.
std::string serialization_cpp_header(const Interface& interface);
std::string serialization_cpp_source(const Interface& interface);  // relative to the generated root
// The four functions of a structure, unqualified: cdr_serialize, cdr_deserialize,
// get_serialized_size, max_serialized_size_Trash. They live in
// cpp_support_namespace(SerializationCpp).
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

// --- Python message classes ---------------------------------------------------------------
// Files relative to the generated root; the build copies everything below the root into the
// Python tree as it is.
std::string py_classes_root();                            // "python"
std::string py_package_init(const std::string& package);  // python/pkg/__init__.py
// python/pkg/msg/__init__.py
std::string py_kind_init(const std::string& package, InterfaceKind kind);
std::string py_module_file(const Interface& interface);  // python/pkg/msg/_trash.py
std::string py_kind_package(const std::string& package, InterfaceKind kind);  // pkg.msg
std::string py_metaclass(std::string_view class_name);  // Metaclass_Trash
std::string py_slot(const Field& field);                // _grab_pose
// How a class reports a field's type: "int32", "double", "sequence<geometry_msgs/Pose>",
// "uint8[16]", "string<=10", "sequence<int32, 5>".
std::string py_field_type(const Type& type);
// Where a message class is exported, as the type descriptions of SLOT_TYPES name it:
// {"geometry_msgs", "msg"}, whose module "geometry_msgs.msg" holds the class.
std::vector<std::string> py_namespaces(const Structure& structure);
// The module of those type descriptions, which every class module imports.
std::string py_slot_types_module();  // rosidl_parser.definition
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
// pkg/msg/_trash_s.h, relative to the root: declares the interface's conversions.
std::string py_conversion_header(const Interface& interface);
// The rules for the number types the package's fields use, relative to the root.
std::string py_conversion_rules_header(const std::string& package);
// What a failed sequence initialisation names: "int32__Sequence",
// "geometry_msgs__msg__Pose__Sequence".
std::string py_sequence_label(const Type& type);
// The unit's private function that sizes a sequence member of this type.
std::string py_sequence_reserve(const Type& type);

// --- Python extension modules -------------------------------------------------------------
// The two modules, each the same source under its own name: pkg_s__rosidl_typesupport_c and
// pkg_s__rosidl_typesupport_introspection_c.
std::vector<std::string> py_extension_modules(const std::string& package);
std::string py_extension_source(const std::string& package);  // relative to the generated root
std::string py_module_definition_name(const std::string& package);  // _pkg_support
std::string py_module_documentation(const std::string& package);    // _pkg_doc
// What a module hands out for a message class, in the order it adds them; a service and an
// action have their type support alone.
enum class PyEntryPoint { CreateRosMessage, DestroyRosMessage, ConvertFromPy, ConvertToPy, TypeSupport };
const std::vector<PyEntryPoint>& py_message_entry_points();
// A structure's capsule: "<operation>_msg__<infix>", e.g. create_ros_message_msg__msg__trash.
std::string py_message_capsule(PyEntryPoint entry_point, const Structure& structure);
std::string py_service_capsule(const Interface& interface, const Service& service);
std::string py_action_capsule(const Interface& action);
// The class attribute that keeps an entry point once imported: _CREATE_ROS_MESSAGE, ...
std::string py_entry_point_attribute(PyEntryPoint entry_point);
std::string py_register_message(const Structure& structure);  // _register_msg_type__msg__trash
std::string py_register_service(const Interface& interface, const Service& service);
std::string py_register_action(const Interface& action);

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
