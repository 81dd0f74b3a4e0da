// The C serialization library of a package: CDR writing, reading and sizing of every C
// structure through Fast-CDR, and the records through which the middleware reaches them.


#include "emit/c_serialization_fields.hpp"
#include "emit/cdr_records.hpp"
#include "emit/cdr_rules.hpp"
#include "emit/common.hpp"
#include "emit/emitters.hpp"
#include "naming.hpp"
#include "support/code_writer.hpp"

namespace idlc {
namespace {

using naming::Deliverable;

GeneratedFile interface_header(const Interface& interface) {
  const std::string path = naming::serialization_c_header(interface);
  CodeWriter out;
  common::open_header(out, banner(interface), path);
  out.line("#include <cstddef>");
  out.line();
  out.line("#include \"rosidl_runtime_c/message_type_support_struct.h\"");
  out.line("#include \"rosidl_runtime_c/service_type_support_struct.h\"");
  out.line("#include \"$header$\"", {{"header", naming::visibility_header(interface.package, naming::Deliverable::SerializationC)}});
  out.line();
  out.line("extern \"C\" {");
  out.line();
  const std::string macro = naming::visibility_macro(interface.package, naming::Deliverable::SerializationC);
  for (const Structure* structure : interface.structures) {
    const Bindings names = {{"macro", macro},
                            {"size", naming::serialized_size_function(*structure)},
                            {"max", naming::max_serialized_size_function(*structure)},
                            {"handle", naming::message_handle(Deliverable::SerializationC, *structure)}};
    out.lines(R"($macro$
size_t $size$(const void * untyped_ros_message, size_t current_alignment);

$macro$
size_t $max$(bool & full_bounded, bool & is_plain, size_t current_alignment);

$macro$
const rosidl_message_type_support_t * $handle$();

)", names);
  }
  for (const Service& service : interface.services) {
    common::declare(out, macro, "const rosidl_service_type_support_t * " +
                                    naming::service_handle(Deliverable::SerializationC, interface, service) + "()");
  }
  out.line("}  // extern \"C\"");
  out.line();
  common::close_header(out, path);
  return {naming::root(naming::Deliverable::SerializationC) + "/" + path, out.text()};
}

// The serialize or the deserialize function of a structure: the null check with its message,
// then every field in order through the per-kind writer of that direction.
void write_cdr_function(CodeWriter& out, const Structure& structure, const std::string& wire,
                        bool serialize) {
  const std::string signature =
      serialize ? "static bool $function$(const void * untyped_ros_message, eprosima::fastcdr::Cdr & cdr)"
                : "static bool $function$(eprosima::fastcdr::Cdr & cdr, void * untyped_ros_message)";
  auto body = out.block(signature, {{"function", serialize ? naming::cdr_serialize_function(structure)
                                                          : naming::cdr_deserialize_function(structure)}});
  {
    auto null = out.block("if (!untyped_ros_message)");
    out.line("fputs(\"ros message handle is null\\n\", stderr);");
    out.line("return false;");
  }
  out.line("$const$$type$ * ros_message = static_cast<$const$$type$ *>(untyped_ros_message);",
           {{"const", serialize ? "const " : ""}, {"type", naming::c_type(structure)}});
  for (const Field& field : structure.fields) {
    if (serialize) {
      serialization_c::write_serialize_field(out, field, wire);
    } else {
      serialization_c::write_deserialize_field(out, field, wire);
    }
  }
  out.line("return true;");
}

cdr::Spelling c_spelling(const std::string& wire) {
  return {wire,
          "ros_message->",
          ".size",
          ".data",
          "&",
          [](const Structure& nested) { return naming::serialized_size_function(nested); },
          [](const Structure& nested) { return naming::max_serialized_size_function(nested); },
          [](const Structure& structure) { return naming::c_type(structure); }};
}

void write_sizes(CodeWriter& out, const Structure& structure, const std::string& wire) {
  const std::string type = naming::c_type(structure);
  {
    auto body = out.block("size_t $function$(const void * untyped_ros_message, size_t current_alignment)",
                          {{"function", naming::serialized_size_function(structure)}});
    if (cdr::size_reads_message(structure)) {
      out.line("const $type$ * ros_message = static_cast<const $type$ *>(untyped_ros_message);",
               {{"type", type}});
    } else {
      out.line("(void)untyped_ros_message;  // the size of this type does not depend on its values");
    }
    cdr::write_size_body(out, structure, c_spelling(wire));
  }
  out.line();
  {
    auto body = out.block("size_t $function$(bool & full_bounded, bool & is_plain, size_t current_alignment)",
                          {{"function", naming::max_serialized_size_function(structure)}});
    cdr::write_max_size_body(out, structure, c_spelling(wire));
  }
  out.line();
}

void write_records(CodeWriter& out, const Structure& structure) {
  cdr::write_message_record(
      out, structure,
      {naming::cdr_serialize_function(structure), naming::cdr_deserialize_function(structure),
       naming::serialized_size_function(structure) + "(untyped_ros_message, 0)",
       naming::max_serialized_size_function(structure),
       naming::identifier_variable(Deliverable::SerializationC),
       naming::message_handle(Deliverable::SerializationC, structure)});
}

void write_service_records(CodeWriter& out, const Interface& interface, const Service& service) {
  cdr::write_service_record(out, interface, service,
                            {naming::identifier_variable(Deliverable::SerializationC),
                             naming::message_handle(Deliverable::SerializationC, *service.request),
                             naming::message_handle(Deliverable::SerializationC, *service.response),
                             naming::service_handle(Deliverable::SerializationC, interface, service)});
}

GeneratedFile interface_source(const Interface& interface) {
  const std::string wire = "wire";
  CodeWriter out;
  out.append(banner(interface));
  out.line();
  out.line("#include \"$header$\"", {{"header", naming::serialization_c_header(interface)}});
  out.line();
  out.lines("#include <cstddef>\n#include <cstdint>\n#include <cstdio>\n\n");
  out.line("#include \"fastcdr/Cdr.h\"");
  out.line("#include \"rosidl_runtime_c/primitives_sequence_functions.h\"");
  out.line("#include \"rosidl_runtime_c/string_functions.h\"");
  out.line("#include \"rosidl_typesupport_fastrtps_c/identifier.h\"");
  out.line("#include \"rosidl_typesupport_fastrtps_cpp/message_type_support.h\"");
  out.line("#include \"rosidl_typesupport_fastrtps_cpp/service_type_support.h\"");
  out.line("#include \"$header$\"", {{"header", naming::c_functions_header(interface)}});
  out.line("#include \"$header$\"", {{"header", naming::runtime_header(naming::RuntimeHeader::CWire)}});
  for (const Interface* nested : common::uses_of(interface).nested) {
    out.line("#include \"$header$\"", {{"header", naming::c_functions_header(*nested)}});
    out.line("#include \"$header$\"", {{"header", naming::serialization_c_header(*nested)}});
  }
  out.line();
  out.line("namespace $alias$ = $namespace$;",
           {{"alias", wire}, {"namespace", naming::runtime_namespace(naming::RuntimeHeader::CWire)}});
  out.line();
  for (const Structure* structure : interface.structures) {
    write_cdr_function(out, *structure, wire, true);
    out.line();
    write_cdr_function(out, *structure, wire, false);
    out.line();
    out.line("extern \"C\" {");
    out.line();
    write_sizes(out, *structure, wire);
    write_records(out, *structure);
    out.line("}  // extern \"C\"");
    out.line();
  }
  if (!interface.services.empty()) {
    out.line("extern \"C\" {");
    out.line();
    for (const Service& service : interface.services) write_service_records(out, interface, service);
    out.line("}  // extern \"C\"");
  }
  return {naming::serialization_c_source(interface), out.text()};
}

}  // namespace

FileSet emit_serialization_c(const Package& package) {
  FileSet files{common::visibility_header(package, naming::Deliverable::SerializationC)};
  for (const Interface* interface : package.interfaces) {
    files.push_back(interface_header(*interface));
    files.push_back(interface_source(*interface));
  }
  return files;
}

}  // namespace idlc
