#include "naming/python.hpp"

#include "naming/c.hpp"
#include "naming/parts.hpp"

namespace idlc::naming {

std::string py_infix(const Structure& structure) {
  return py_interface_infix(*structure.owner) + parts::role_infix(role_words(structure.role));
}

std::string py_service_infix(const Interface& interface, const Service& service) {
  return py_interface_infix(interface) + parts::role_infix(role_words(service.role));
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
  return parts::source_unit(Deliverable::GeneratorPy, interface, "_", "_s.c");
}

std::string py_package_init(const std::string& package) {
  return root(Deliverable::Python) + "/" + package + "/__init__.py";
}

std::string py_kind_init(const std::string& package, InterfaceKind interface_kind) {
  return root(Deliverable::Python) + "/" + package + "/" + kind(interface_kind) + "/__init__.py";
}

std::string py_module_file(const Interface& interface) {
  return parts::source_unit(Deliverable::Python, interface, "_", ".py");
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
  return "_" + parts::upper(entry_point_operation(entry_point));
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

}  // namespace idlc::naming
