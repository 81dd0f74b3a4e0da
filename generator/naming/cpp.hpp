#pragma once

// The names of the C++ deliverables: classes, namespaces and headers, the handle templates of
// the C++ supports, the action classes' parts, the builders, and the files of the C++
// introspection, serialization and dispatch.

#include <string>
#include <vector>

#include "naming/core.hpp"

namespace idlc::naming {

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
std::string cpp_action_handle_specialization(const Interface& action);
std::string cpp_action_handle(Deliverable support, const Interface& action);

// An action class's Impl: what a C++ action client or server is made of, under these names.
enum class CppActionPart {
  SendGoalService,
  GetResultService,
  CancelGoalService,  // action_msgs' CancelGoal
  FeedbackMessage,
  GoalStatusMessage,  // action_msgs' GoalStatusArray
};
// In the order the action's type-support record holds them.
const std::vector<CppActionPart>& cpp_action_parts();
std::string cpp_action_part_alias(CppActionPart part);  // SendGoalService
std::string cpp_action_part(const Interface& action, CppActionPart part);  // pkg::action::A::Impl::SendGoalService
// The action protocol's types that action_msgs provides, with the headers that declare their
// classes and their C++ dispatch handles.
struct CppProtocolType {
  std::string qualified;            // action_msgs::srv::CancelGoal
  std::string struct_header;        // action_msgs/srv/detail/cancel_goal__struct.hpp
  std::string type_support_header;  // action_msgs/srv/detail/cancel_goal__type_support.hpp
};
CppProtocolType cpp_action_cancel_service();
CppProtocolType cpp_action_status_message();

// --- Builders -----------------------------------------------------------------------------
// pkg/msg/detail/trash__builder.hpp: build<pkg::msg::Trash>().type(1).location(2)... yields the
// message, each step naming the next field.
std::string cpp_builder_header(const Interface& interface);
std::string cpp_builder_namespace(const Structure& structure);  // pkg::msg::builder
// The step that takes `field`: Init_Trash_type.
std::string cpp_builder_step(const Structure& structure, const Field& field);
std::string cpp_build_function();  // build, in the package's namespace

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

// --- C++ type-support dispatch ------------------------------------------------------------
// pkg/msg/detail/trash__type_support.hpp, relative to the C++ classes' root: the declarations of
// the dispatch handles in both forms, which the umbrella header includes.
std::string cpp_type_support_header(const Interface& interface);
std::string dispatch_cpp_source(const Interface& interface);  // relative to the generated root

}  // namespace idlc::naming
