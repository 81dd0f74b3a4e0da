#pragma once

// The names of the Python deliverables: modules, classes, slots and field types, the
// conversions' functions and headers, and the extension modules' capsules and registrations.

#include <string>
#include <string_view>
#include <vector>

#include "naming/core.hpp"

namespace idlc::naming {

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


}  // namespace idlc::naming
