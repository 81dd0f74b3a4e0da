#include "naming/cpp.hpp"

#include "naming/parts.hpp"

namespace idlc::naming {

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
  return parts::detail_header(interface, "__struct.hpp");
}

std::string cpp_traits_header(const Interface& interface) {
  return parts::detail_header(interface, "__traits.hpp");
}

std::string cpp_umbrella_header(const Interface& interface) {
  return parts::umbrella_header(interface, ".hpp");
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

std::string cpp_action_handle_specialization(const Interface& action) {
  return "get_action_type_support_handle<" + cpp_action_key(action) + ">";
}

std::string cpp_action_handle(Deliverable support, const Interface& action) {
  return "::" + support_identifier(support) + "::" + cpp_action_handle_specialization(action);
}

const std::vector<CppActionPart>& cpp_action_parts() {
  static const std::vector<CppActionPart> all = {
      CppActionPart::SendGoalService, CppActionPart::GetResultService,
      CppActionPart::CancelGoalService, CppActionPart::FeedbackMessage,
      CppActionPart::GoalStatusMessage};
  return all;
}

std::string cpp_action_part_alias(CppActionPart part) {
  switch (part) {
    case CppActionPart::SendGoalService: return "SendGoalService";
    case CppActionPart::GetResultService: return "GetResultService";
    case CppActionPart::CancelGoalService: return "CancelGoalService";
    case CppActionPart::FeedbackMessage: return "FeedbackMessage";
    case CppActionPart::GoalStatusMessage: return "GoalStatusMessage";
  }
  return "";
}

std::string cpp_action_part(const Interface& action, CppActionPart part) {
  return cpp_action_key(action) + "::Impl::" + cpp_action_part_alias(part);
}

namespace {
CppProtocolType action_msgs_type(InterfaceKind interface_kind, const std::string& name) {
  return {"action_msgs::" + kind(interface_kind) + "::" + name,
          parts::detail_header("action_msgs", interface_kind, name, "__struct.hpp"),
          parts::detail_header("action_msgs", interface_kind, name, "__type_support.hpp")};
}
}  // namespace

CppProtocolType cpp_action_cancel_service() {
  return action_msgs_type(InterfaceKind::Service, "CancelGoal");
}

CppProtocolType cpp_action_status_message() {
  return action_msgs_type(InterfaceKind::Message, "GoalStatusArray");
}

std::string cpp_type_support_header(const Interface& interface) {
  return parts::detail_header(interface, "__type_support.hpp");
}

std::string dispatch_cpp_source(const Interface& interface) {
  return parts::source_unit(Deliverable::TypesupportDispatchCpp, interface, "", "__type_support.cpp");
}

std::string cpp_builder_header(const Interface& interface) {
  return parts::detail_header(interface, "__builder.hpp");
}

std::string cpp_builder_namespace(const Structure& structure) {
  return cpp_namespace(structure) + "::builder";
}

std::string cpp_builder_step(const Structure& structure, const Field& field) {
  return "Init_" + structure.name + "_" + field.name;
}

std::string cpp_build_function() { return "build"; }

std::string introspection_cpp_header(const Interface& interface) {
  return parts::detail_header(interface, "__rosidl_typesupport_introspection_cpp.hpp");
}

std::string introspection_cpp_source(const Interface& interface) {
  return parts::source_unit(Deliverable::IntrospectionCpp, interface, "detail/", "__type_support.cpp");
}

std::string introspection_cpp_init_function(const Structure& structure) {
  return structure.name + "_init_function";
}

std::string introspection_cpp_fini_function(const Structure& structure) {
  return structure.name + "_fini_function";
}

std::string introspection_cpp_accessor(const Structure& structure, const Field& field,
                                       Accessor accessor) {
  return parts::accessor_function(structure, field, accessor);
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
  return parts::detail_header(interface, "__rosidl_typesupport_fastrtps_cpp.hpp");
}

std::string serialization_cpp_source(const Interface& interface) {
  return parts::source_unit(Deliverable::SerializationCpp, interface, "detail/", "__type_support.cpp");
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

}  // namespace idlc::naming
