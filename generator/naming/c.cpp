#include "naming/c.hpp"

#include "naming/parts.hpp"

namespace idlc::naming {

std::string c_type(const Structure& structure) {
  return parts::interface_prefix(structure.package, structure.kind) + "__" + structure.name;
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
  return parts::detail_header(interface, "__struct.h");
}

std::string c_functions_header(const Interface& interface) {
  return parts::detail_header(interface, "__functions.h");
}

std::string c_umbrella_header(const Interface& interface) {
  return parts::umbrella_header(interface, ".h");
}

std::string c_functions_source(const Interface& interface) {
  return parts::source_unit(Deliverable::GeneratorC, interface, "detail/", "__functions.c");
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
  return parts::detail_header(interface, "__rosidl_typesupport_fastrtps_c.h");
}

std::string serialization_c_source(const Interface& interface) {
  return parts::source_unit(Deliverable::SerializationC, interface, "detail/", "__type_support_c.cpp");
}

std::string c_namespace(const std::string& package, InterfaceKind interface_kind) {
  return parts::interface_prefix(package, interface_kind);
}

std::string introspection_c_header(const Interface& interface) {
  return parts::detail_header(interface, "__rosidl_typesupport_introspection_c.h");
}

std::string introspection_c_source(const Interface& interface) {
  return parts::source_unit(Deliverable::IntrospectionC, interface, "detail/", "__type_support.c");
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

std::string introspection_c_accessor(const Structure& structure, const Field& field,
                                     Accessor accessor) {
  return introspection_c_helper(c_type(structure), parts::accessor_function(structure, field, accessor));
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
  return parts::detail_header(interface, "__type_support.h");
}

std::string dispatch_source(const Interface& interface) {
  return parts::source_unit(Deliverable::TypesupportDispatch, interface, "", "__type_support.c");
}

}  // namespace idlc::naming
