// C++ introspection: per interface one source unit with the member tables of its classes and
// services, their handles (template specialisations and C-linkage forms), the construct and
// destroy functions and the accessors of array and sequence members, plus a header declaring
// everything the unit exports.

#include <algorithm>

#include "emit/common.hpp"
#include "emit/cpp_handles.hpp"
#include "emit/emitters.hpp"
#include "emit/introspection_common.hpp"
#include "naming.hpp"
#include "support/code_writer.hpp"

namespace idlc {
namespace {

using naming::Accessor;
using naming::Deliverable;

constexpr const char* kRuntime = "::rosidl_typesupport_introspection_cpp";

std::string support_namespace(const Structure& structure) {
  return naming::cpp_support_namespace(Deliverable::IntrospectionCpp, structure);
}

// The element type of a field in the std::allocator<void> instantiation.
std::string element_type(const Type& type) {
  switch (type.element) {
    case ElementKind::Primitive: return std::string(primitive_info(type.primitive).cpp_type);
    case ElementKind::String: return "std::string";
    case ElementKind::Nested: return naming::cpp_qualified(*type.nested);
  }
  return "";
}

// A std::vector<bool> hands out no element addresses, so its elements are read and written
// through the vector itself.
bool packs_elements(const Type& type) {
  return type.is_sequence() && type.element == ElementKind::Primitive && type.primitive == Primitive::Bool;
}

std::vector<Accessor> accessors_of(const Field& field) {
  std::vector<Accessor> result;
  for (Accessor accessor : introspection::accessors_of(field)) {
    const bool addresses = accessor == Accessor::Get || accessor == Accessor::GetConst;
    if (addresses && packs_elements(field.type)) continue;
    result.push_back(accessor);
  }
  return result;
}

std::string signature(const Structure& structure, const Field& field, Accessor accessor) {
  const introspection::AccessorSignature prototype =
      introspection::accessor_signature(accessor, introspection::Language::Cpp);
  return prototype.result + " " + naming::introspection_cpp_accessor(structure, field, accessor) + "(" +
         prototype.parameters + ")";
}

void write_accessor(CodeWriter& out, const Structure& structure, const Field& field, Accessor accessor) {
  const Bindings member = {{"member", naming::cpp_qualified(structure) + "::" + naming::cpp_member_type(field)}};
  const Bindings element = {{"element", element_type(field.type)}};
  auto through = [&](Accessor via) {
    return Bindings{element[0], {"function", naming::introspection_cpp_accessor(structure, field, via)}};
  };
  const bool packed = packs_elements(field.type);
  auto body = out.block(signature(structure, field, accessor));
  switch (accessor) {
    case Accessor::Size:
      out.line("const auto & member = *static_cast<const $member$ *>(untyped_member);", member);
      out.line("return member.size();");
      break;
    case Accessor::GetConst:
      out.line("const auto & member = *static_cast<const $member$ *>(untyped_member);", member);
      out.line("return &member[index];");
      break;
    case Accessor::Get:
      out.line("auto & member = *static_cast<$member$ *>(untyped_member);", member);
      out.line("return &member[index];");
      break;
    case Accessor::Fetch:
      out.line("auto & value = *static_cast<$element$ *>(untyped_value);", element);
      if (packed) {
        out.line("const auto & member = *static_cast<const $member$ *>(untyped_member);", member);
        out.line("value = member[index];");
      } else {
        out.line("value = *static_cast<const $element$ *>($function$(untyped_member, index));",
                 through(Accessor::GetConst));
      }
      break;
    case Accessor::Assign:
      out.line("const auto & value = *static_cast<const $element$ *>(untyped_value);", element);
      if (packed) {
        out.line("auto & member = *static_cast<$member$ *>(untyped_member);", member);
        out.line("member[index] = value;");
      } else {
        out.line("*static_cast<$element$ *>($function$(untyped_member, index)) = value;",
                 through(Accessor::Get));
      }
      break;
    case Accessor::Resize:
      // The vector's own resize: existing elements stay, new ones are built with ALL, and a
      // failure is the vector's exception with the vector left as it was.
      out.line("auto & member = *static_cast<$member$ *>(untyped_member);", member);
      out.line("member.resize(size);");
      break;
  }
}

void write_accessors(CodeWriter& out, const Structure& structure, const Field& field) {
  for (Accessor accessor : accessors_of(field)) {
    write_accessor(out, structure, field, accessor);
    out.line();
  }
}

void write_lifecycle(CodeWriter& out, const Structure& structure) {
  out.lines(R"(void $init$(void * message_memory, rosidl_runtime_cpp::MessageInitialization _init) {
  new (message_memory) $type$(_init);
}

void $fini$(void * message_memory) {
  static_cast<$type$ *>(message_memory)->~$class$();
}

)",
            {{"init", naming::introspection_cpp_init_function(structure)},
             {"fini", naming::introspection_cpp_fini_function(structure)},
             {"type", naming::cpp_qualified(structure)},
             {"class", naming::cpp_class_template(structure)}});
}

std::string function_or_null(const std::vector<Accessor>& present, Accessor accessor, const std::string& name) {
  return std::find(present.begin(), present.end(), accessor) == present.end() ? "nullptr" : name;
}

// One row of a member array, every column on its own line with the column's name beside it.
void write_member_row(CodeWriter& out, const Structure& structure, const Field& field) {
  const introspection::Shape shape = introspection::shape_of(field.type);
  const std::vector<Accessor> present = accessors_of(field);
  auto function = [&](Accessor accessor) {
    return function_or_null(present, accessor, naming::introspection_cpp_accessor(structure, field, accessor));
  };
  auto boolean = [](bool value) { return std::string(value ? "true" : "false"); };
  // A nested type's record comes from its own library's handle, stored once at load.
  const std::string nested = field.type.element == ElementKind::Nested
                                 ? naming::cpp_message_handle(Deliverable::IntrospectionCpp, *field.type.nested) + "()"
                                 : "nullptr";
  const std::pair<std::string, std::string> columns[] = {
      {"\"" + field.name + "\"", "name_"},
      {std::string(kRuntime) + "::ROS_TYPE_" + introspection::type_code_suffix(field.type), "type_id_"},
      {std::to_string(field.type.string_bound), "string_upper_bound_"},
      {nested, "members_"},
      {boolean(shape.is_array), "is_array_"},
      {std::to_string(shape.array_size), "array_size_"},
      {boolean(shape.is_upper_bound), "is_upper_bound_"},
      {"offsetof(" + naming::cpp_qualified(structure) + ", " + field.name + ")", "offset_"},
      {"nullptr", "default_value_"},
      {function(Accessor::Size), "size_function"},
      {function(Accessor::GetConst), "get_const_function"},
      {function(Accessor::Get), "get_function"},
      {function(Accessor::Fetch), "fetch_function"},
      {function(Accessor::Assign), "assign_function"},
      {function(Accessor::Resize), "resize_function"},
  };
  auto row = out.block("", {}, ",");
  for (const auto& [value, column] : columns) out.line(value + ",  // " + column);
}

bool has_nested(const Structure& structure) {
  return std::any_of(structure.fields.begin(), structure.fields.end(),
                     [](const Field& field) { return field.type.element == ElementKind::Nested; });
}

void write_message_records(CodeWriter& out, const Structure& structure) {
  const std::string array = naming::introspection_cpp_member_array(structure);
  const std::string members = naming::introspection_cpp_message_members(structure);
  {
    // Rows that bind a nested type are filled at load, so only the others can be constant.
    auto block = out.block("$const$$runtime$::MessageMember $array$[$count$] =",
                           {{"const", has_nested(structure) ? "" : "const "},
                            {"runtime", kRuntime},
                            {"array", array},
                            {"count", std::to_string(structure.fields.size())}},
                           ";");
    for (const Field& field : structure.fields) write_member_row(out, structure, field);
  }
  out.line();
  {
    auto block = out.block("const $runtime$::MessageMembers $members$ =",
                           {{"runtime", kRuntime}, {"members", members}}, ";");
    out.line("\"$namespace$\",  // message_namespace_", {{"namespace", naming::cpp_namespace(structure)}});
    out.line("\"$name$\",  // message_name_", {{"name", structure.name}});
    out.line("$count$,  // member_count_", {{"count", std::to_string(structure.fields.size())}});
    out.line("sizeof($type$),  // size_of_", {{"type", naming::cpp_qualified(structure)}});
    out.line("$array$,  // members_", {{"array", array}});
    out.line("$init$,  // init_function", {{"init", naming::introspection_cpp_init_function(structure)}});
    out.line("$fini$,  // fini_function", {{"fini", naming::introspection_cpp_fini_function(structure)}});
  }
  out.line();
  {
    auto block = out.block("rosidl_message_type_support_t $record$ =",
                           {{"record", naming::introspection_cpp_message_record(structure)}}, ";");
    out.line("$runtime$::typesupport_identifier,  // stored at load", {{"runtime", kRuntime}});
    out.line("&$members$,", {{"members", members}});
    out.line("get_message_typesupport_handle_function,");
  }
  out.line();
}

void write_service_records(CodeWriter& out, const Service& service) {
  const std::string members = naming::introspection_cpp_service_members(service);
  {
    auto block = out.block("$runtime$::ServiceMembers $members$ =", {{"runtime", kRuntime}, {"members", members}}, ";");
    out.line("\"$namespace$\",  // service_namespace_", {{"namespace", naming::cpp_namespace(*service.request)}});
    out.line("\"$name$\",  // service_name_", {{"name", service.name}});
    out.line("nullptr,  // request_members_: set by the service handle");
    out.line("nullptr,  // response_members_: set by the service handle");
  }
  out.line();
  {
    auto block = out.block("rosidl_service_type_support_t $record$ =",
                           {{"record", naming::introspection_cpp_service_record(service)}}, ";");
    out.line("$runtime$::typesupport_identifier,  // stored at load", {{"runtime", kRuntime}});
    out.line("&$members$,", {{"members", members}});
    out.line("get_service_typesupport_handle_function,");
  }
  out.line();
}

void write_side_helpers(CodeWriter& out) {
  out.lines(R"(namespace {

// Service handles may run on several threads at once. Each store writes the value any caller
// would write, and the atomic accesses keep such concurrent stores well defined.
bool sides_missing(const ::rosidl_typesupport_introspection_cpp::ServiceMembers & members) {
  return __atomic_load_n(&members.request_members_, __ATOMIC_ACQUIRE) == nullptr ||
         __atomic_load_n(&members.response_members_, __ATOMIC_ACQUIRE) == nullptr;
}

// Both sides together: one set by someone else must not leave the other unset.
void bind_sides(
  ::rosidl_typesupport_introspection_cpp::ServiceMembers & members,
  const rosidl_message_type_support_t * request,
  const rosidl_message_type_support_t * response) {
  using Members = ::rosidl_typesupport_introspection_cpp::MessageMembers;
  __atomic_store_n(&members.request_members_, static_cast<const Members *>(request->data), __ATOMIC_RELEASE);
  __atomic_store_n(&members.response_members_, static_cast<const Members *>(response->data), __ATOMIC_RELEASE);
}

}  // namespace

)");
}

void write_handles(CodeWriter& out, const Interface& interface) {
  common::open_namespace(out, naming::support_identifier(Deliverable::IntrospectionCpp));
  for (const Structure* structure : interface.structures) {
    cpp_handles::define_template(out, "rosidl_message_type_support_t",
                                 naming::cpp_message_handle_specialization(*structure),
                                 "&::" + support_namespace(*structure) + "::" +
                                     naming::introspection_cpp_message_record(*structure));
  }
  for (const Service& service : interface.services) {
    const std::string records = "::" + support_namespace(*service.request) + "::";
    out.line("template<>");
    {
      auto body = out.block("const rosidl_service_type_support_t *\n$handle$()",
                            {{"handle", naming::cpp_service_handle_specialization(interface, service)}});
      out.line("auto & members = $members$;",
               {{"members", records + naming::introspection_cpp_service_members(service)}});
      {
        auto unset = out.block("if (sides_missing(members))");
        out.line("bind_sides(");
        out.line("  members, $request$(), $response$());",
                 {{"request", naming::cpp_message_handle(Deliverable::IntrospectionCpp, *service.request)},
                  {"response", naming::cpp_message_handle(Deliverable::IntrospectionCpp, *service.response)}});
      }
      out.line("return &$record$;", {{"record", records + naming::introspection_cpp_service_record(service)}});
    }
    out.line();
  }
  common::close_namespace(out, naming::support_identifier(Deliverable::IntrospectionCpp));
  cpp_handles::define_c_linkage(out, Deliverable::IntrospectionCpp, interface);
}

GeneratedFile source(const Interface& interface) {
  CodeWriter out;
  out.append(banner(interface));
  out.line();
  out.line("#include \"$header$\"", {{"header", naming::introspection_cpp_header(interface)}});
  out.line();
  out.lines("#include <cstddef>\n#include <new>\n\n");
  out.line("#include \"rosidl_typesupport_introspection_cpp/field_types.hpp\"");
  out.line("#include \"rosidl_typesupport_introspection_cpp/identifier.hpp\"");
  out.line("#include \"rosidl_typesupport_introspection_cpp/message_introspection.hpp\"");
  if (!interface.services.empty()) {
    out.line("#include \"rosidl_typesupport_introspection_cpp/service_introspection.hpp\"");
  }
  for (const Interface* nested : common::uses_of(interface).nested) {
    out.line("#include \"$header$\"", {{"header", naming::introspection_cpp_header(*nested)}});
  }
  out.line();
  if (!interface.services.empty()) write_side_helpers(out);
  // Every structure of an interface shares one support namespace.
  const std::string space = support_namespace(*interface.structures.front());
  common::open_namespace(out, space);
  for (const Structure* structure : interface.structures) {
    write_lifecycle(out, *structure);
    for (const Field& field : structure->fields) write_accessors(out, *structure, field);
  }
  out.line("namespace {");
  out.line();
  for (const Structure* structure : interface.structures) write_message_records(out, *structure);
  for (const Service& service : interface.services) write_service_records(out, service);
  out.line("}  // namespace");
  out.line();
  common::close_namespace(out, space);
  write_handles(out, interface);
  return {naming::introspection_cpp_source(interface), out.text()};
}

GeneratedFile header(const Interface& interface) {
  const std::string path = naming::introspection_cpp_header(interface);
  const std::string macro = naming::visibility_macro(interface.package, naming::Deliverable::IntrospectionCpp);
  CodeWriter out;
  common::open_header(out, banner(interface), path);
  out.lines("#include <cstddef>\n\n");
  out.line("#include \"rosidl_runtime_c/message_type_support_struct.h\"");
  if (!interface.services.empty()) out.line("#include \"rosidl_runtime_c/service_type_support_struct.h\"");
  out.line("#include \"rosidl_runtime_cpp/message_initialization.hpp\"");
  out.line("#include \"rosidl_typesupport_introspection_cpp/message_type_support_decl.hpp\"");
  if (!interface.services.empty()) {
    out.line("#include \"rosidl_typesupport_introspection_cpp/service_type_support_decl.hpp\"");
  }
  out.line("#include \"$header$\"", {{"header", naming::visibility_header(interface.package, naming::Deliverable::IntrospectionCpp)}});
  out.line("#include \"$header$\"", {{"header", naming::cpp_struct_header(interface)}});
  out.line();
  cpp_handles::declare(out, Deliverable::IntrospectionCpp, macro, interface);
  common::open_namespace(out, support_namespace(*interface.structures.front()));
  for (const Structure* structure : interface.structures) {
    common::declare(out, macro,
                    "void " + naming::introspection_cpp_init_function(*structure) +
                        "(void * message_memory, rosidl_runtime_cpp::MessageInitialization _init)");
    common::declare(out, macro, "void " + naming::introspection_cpp_fini_function(*structure) + "(void * message_memory)");
    for (const Field& field : structure->fields) {
      for (Accessor accessor : accessors_of(field)) common::declare(out, macro, signature(*structure, field, accessor));
    }
  }
  common::close_namespace(out, support_namespace(*interface.structures.front()));
  common::close_header(out, path);
  return {naming::root(naming::Deliverable::IntrospectionCpp) + "/" + path, out.text()};
}

}  // namespace

FileSet emit_introspection_cpp(const Package& package) {
  FileSet files{common::visibility_header(package, naming::Deliverable::IntrospectionCpp)};
  for (const Interface* interface : package.interfaces) {
    files.push_back(header(*interface));
    files.push_back(source(*interface));
  }
  return files;
}

}  // namespace idlc
