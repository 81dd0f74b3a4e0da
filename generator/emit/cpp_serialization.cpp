// The C++ serialization library of a package: CDR writing, reading and sizing of every C++
// message class through Fast-CDR, and the records through which the middleware reaches them.
// The bytes are those of the C library; the sizes and records come from the same rules.

#include "emit/cdr_records.hpp"
#include "emit/cdr_rules.hpp"
#include "emit/common.hpp"
#include "emit/cpp_handles.hpp"
#include "emit/cpp_serialization_fields.hpp"
#include "emit/emitters.hpp"
#include "naming.hpp"
#include "support/code_writer.hpp"

namespace idlc {
namespace {

using naming::CppCdrFunction;
using naming::Deliverable;

// The four functions of a structure with their parameters, in the order the header declares
// and the source defines them.
std::vector<std::string> prototypes(const Structure& structure) {
  const std::string type = naming::cpp_qualified(structure);
  return {
      "bool " + naming::cpp_cdr_function(CppCdrFunction::Serialize, structure) + "(const " + type +
          " & ros_message, eprosima::fastcdr::Cdr & cdr)",
      "bool " + naming::cpp_cdr_function(CppCdrFunction::Deserialize, structure) +
          "(eprosima::fastcdr::Cdr & cdr, " + type + " & ros_message)",
      "size_t " + naming::cpp_cdr_function(CppCdrFunction::Size, structure) + "(const " + type +
          " & ros_message, size_t current_alignment)",
      "size_t " + naming::cpp_cdr_function(CppCdrFunction::MaxSize, structure) +
          "(bool & full_bounded, bool & is_plain, size_t current_alignment)",
  };
}

GeneratedFile interface_header(const Interface& interface) {
  const std::string path = naming::serialization_cpp_header(interface);
  const std::string macro = naming::visibility_macro(interface.package, naming::Deliverable::SerializationCpp);
  CodeWriter out;
  common::open_header(out, banner(interface), path);
  out.line("#include <cstddef>");
  out.line();
  out.line("#include \"fastcdr/Cdr.h\"");
  out.line("#include \"rosidl_runtime_c/message_type_support_struct.h\"");
  out.line("#include \"rosidl_runtime_c/service_type_support_struct.h\"");
  out.line("#include \"rosidl_typesupport_fastrtps_cpp/message_type_support_decl.hpp\"");
  out.line("#include \"rosidl_typesupport_fastrtps_cpp/service_type_support_decl.hpp\"");
  out.line("#include \"$header$\"", {{"header", naming::cpp_struct_header(interface)}});
  out.line("#include \"$header$\"",
           {{"header", naming::visibility_header(interface.package, naming::Deliverable::SerializationCpp)}});
  out.line();
  for (const Structure* structure : interface.structures) {
    const std::string name = naming::cpp_support_namespace(Deliverable::SerializationCpp, *structure);
    common::open_namespace(out, name);
    for (const std::string& prototype : prototypes(*structure))
      common::declare(out, macro, prototype);
    common::close_namespace(out, name);
  }
  cpp_handles::declare(out, Deliverable::SerializationCpp, macro, interface);
  common::close_header(out, path);
  return {naming::root(naming::Deliverable::SerializationCpp) + "/" + path, out.text()};
}

cdr::Spelling cpp_spelling(const std::string& wire) {
  return {wire,
          "ros_message.",
          ".size()",
          "",
          "",
          [](const Structure& nested) {
            return naming::cpp_cdr_function_qualified(CppCdrFunction::Size, nested);
          },
          [](const Structure& nested) {
            return naming::cpp_cdr_function_qualified(CppCdrFunction::MaxSize, nested);
          },
          [](const Structure& structure) { return naming::cpp_qualified(structure); }};
}

// The four functions of a structure, each a list of statements in field order.
void write_functions(CodeWriter& out, const Structure& structure, const std::string& wire) {
  const std::vector<std::string> signatures = prototypes(structure);
  {
    auto body = out.block(signatures[0]);
    for (const Field& field : structure.fields)
      serialization_cpp::write_serialize_field(out, field, wire);
    out.line("return true;");
  }
  out.line();
  {
    auto body = out.block(signatures[1]);
    for (const Field& field : structure.fields)
      serialization_cpp::write_deserialize_field(out, field, wire);
    out.line("return true;");
  }
  out.line();
  {
    auto body = out.block(signatures[2]);
    if (!cdr::size_reads_message(structure)) {
      out.line("(void)ros_message;  // the size of this type does not depend on its values");
    }
    cdr::write_size_body(out, structure, cpp_spelling(wire));
  }
  out.line();
  {
    auto body = out.block(signatures[3]);
    cdr::write_max_size_body(out, structure, cpp_spelling(wire));
  }
}

// The record entries take the untyped pointer as the class and check nothing: the middleware
// hands over valid objects.
void write_records(CodeWriter& out, const Structure& structure) {
  const std::string type = naming::cpp_qualified(structure);
  const std::string serialize_entry = naming::private_symbol("serialize_callback", structure);
  const std::string deserialize_entry = naming::private_symbol("deserialize_callback", structure);
  out.lines(
      R"(static bool $serialize_entry$(const void * untyped_ros_message, eprosima::fastcdr::Cdr & cdr) {
  return $serialize$(*static_cast<const $type$ *>(untyped_ros_message), cdr);
}

static bool $deserialize_entry$(eprosima::fastcdr::Cdr & cdr, void * untyped_ros_message) {
  return $deserialize$(cdr, *static_cast<$type$ *>(untyped_ros_message));
}

)",
      {{"type", type},
       {"serialize_entry", serialize_entry},
       {"deserialize_entry", deserialize_entry},
       {"serialize", naming::cpp_cdr_function_qualified(CppCdrFunction::Serialize, structure)},
       {"deserialize",
        naming::cpp_cdr_function_qualified(CppCdrFunction::Deserialize, structure)}});
  cdr::write_message_record(out, structure,
                            {serialize_entry, deserialize_entry,
                             naming::cpp_cdr_function_qualified(CppCdrFunction::Size, structure) +
                                 "(*static_cast<const " + type + " *>(untyped_ros_message), 0)",
                             naming::cpp_cdr_function_qualified(CppCdrFunction::MaxSize, structure),
                             naming::identifier_variable(Deliverable::SerializationCpp),
                             naming::message_handle(Deliverable::SerializationCpp, structure)});
}

// The template forms answer with the very records of the C-linkage forms.
void write_handle_templates(CodeWriter& out, const Interface& interface) {
  constexpr Deliverable kSupport = Deliverable::SerializationCpp;
  const std::string runtime = naming::support_identifier(kSupport);
  common::open_namespace(out, runtime);
  for (const Structure* structure : interface.structures) {
    cpp_handles::define_template(out, "rosidl_message_type_support_t",
                                 naming::cpp_message_handle_specialization(*structure),
                                 naming::message_handle(kSupport, *structure) + "()");
  }
  for (const Service& service : interface.services) {
    cpp_handles::define_template(out, "rosidl_service_type_support_t",
                                 naming::cpp_service_handle_specialization(interface, service),
                                 naming::service_handle(kSupport, interface, service) + "()");
  }
  common::close_namespace(out, runtime);
}

GeneratedFile interface_source(const Interface& interface) {
  const std::string wire = "wire";
  CodeWriter out;
  out.append(banner(interface));
  out.line();
  out.line("#include \"$header$\"", {{"header", naming::serialization_cpp_header(interface)}});
  out.line();
  out.lines("#include <cstddef>\n#include <cstdint>\n\n");
  out.line("#include \"fastcdr/Cdr.h\"");
  out.line("#include \"rosidl_typesupport_fastrtps_cpp/identifier.hpp\"");
  out.line("#include \"rosidl_typesupport_fastrtps_cpp/message_type_support.h\"");
  out.line("#include \"rosidl_typesupport_fastrtps_cpp/service_type_support.h\"");
  out.line("#include \"$header$\"",
           {{"header", naming::runtime_header(naming::RuntimeHeader::CppWire)}});
  for (const Interface* nested : common::uses_of(interface).nested) {
    out.line("#include \"$header$\"", {{"header", naming::serialization_cpp_header(*nested)}});
  }
  out.line();
  out.line("namespace $alias$ = $namespace$;",
           {{"alias", wire},
            {"namespace", naming::runtime_namespace(naming::RuntimeHeader::CppWire)}});
  out.line();
  for (const Structure* structure : interface.structures) {
    const std::string name = naming::cpp_support_namespace(Deliverable::SerializationCpp, *structure);
    common::open_namespace(out, name);
    write_functions(out, *structure, wire);
    out.line();
    common::close_namespace(out, name);
    out.line("extern \"C\" {");
    out.line();
    write_records(out, *structure);
    out.line("}  // extern \"C\"");
    out.line();
  }
  if (!interface.services.empty()) {
    out.line("extern \"C\" {");
    out.line();
    for (const Service& service : interface.services) {
      cdr::write_service_record(out, interface, service,
                                {naming::identifier_variable(Deliverable::SerializationCpp),
                                 naming::message_handle(Deliverable::SerializationCpp, *service.request),
                                 naming::message_handle(Deliverable::SerializationCpp, *service.response),
                                 naming::service_handle(Deliverable::SerializationCpp, interface, service)});
    }
    out.line("}  // extern \"C\"");
    out.line();
  }
  write_handle_templates(out, interface);
  return {naming::serialization_cpp_source(interface), out.text()};
}

}  // namespace

FileSet emit_serialization_cpp(const Package& package) {
  FileSet files{common::visibility_header(package, naming::Deliverable::SerializationCpp)};
  for (const Interface* interface : package.interfaces) {
    files.push_back(interface_header(*interface));
    files.push_back(interface_source(*interface));
  }
  return files;
}

}  // namespace idlc
