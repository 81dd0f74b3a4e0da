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

using naming::Support;

// What the package's wire header includes, and the rules it holds besides the size helpers.
constexpr const char* kWireIncludes = R"(#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fastcdr/Cdr.h"
#include "fastcdr/exceptions/NotEnoughMemoryException.h"
#include "rosidl_runtime_c/message_type_support_struct.h"
#include "rosidl_runtime_c/string.h"
#include "rosidl_runtime_c/string_functions.h"
#include "rosidl_typesupport_fastrtps_cpp/message_type_support.h"
)";

constexpr const char* kWireRules = R"(inline const message_type_support_callbacks_t * callbacks(const rosidl_message_type_support_t * handle) {
  return static_cast<const message_type_support_callbacks_t *>(handle->data);
}

// A count from the wire is believed only when the rest of the stream could hold that many
// elements of at least `minimum_element_bytes` each; otherwise a hostile or truncated packet
// would make the reader allocate far more than the packet could ever fill. The stream's own
// exception is raised, so callers see the same failure as for any short buffer.
inline size_t read_count(eprosima::fastcdr::Cdr & cdr, size_t minimum_element_bytes) {
  int32_t wire_count = 0;
  cdr.deserialize(wire_count);
  const size_t count = static_cast<uint32_t>(wire_count);
  eprosima::fastcdr::Cdr::state before = cdr.getState();
  const bool fits = cdr.jump(count * minimum_element_bytes);
  cdr.setState(before);
  if (!fits) {
    throw eprosima::fastcdr::exception::NotEnoughMemoryException(
      eprosima::fastcdr::exception::NotEnoughMemoryException::NOT_ENOUGH_MEMORY_MESSAGE_DEFAULT);
  }
  return count;
}

template<typename Wire, typename Field>
inline Field read_as(eprosima::fastcdr::Cdr & cdr) {
  Wire value{};
  cdr.deserialize(value);
  return static_cast<Field>(value);
}

// Any octet other than 0 reads as true.
inline bool read_bool(eprosima::fastcdr::Cdr & cdr) {
  return read_as<char, char>(cdr) != 0;
}

inline bool write_string(eprosima::fastcdr::Cdr & cdr, const rosidl_runtime_c__String & text) {
  if (text.capacity == 0 || text.capacity <= text.size) {
    fputs("string capacity not greater than size\n", stderr);
    return false;
  }
  // a record with room but no characters cannot be terminated either
  if (!text.data || text.data[text.size] != '\0') {
    fputs("string not null-terminated\n", stderr);
    return false;
  }
  cdr.serialize(text.data);
  return true;
}

inline bool read_string(eprosima::fastcdr::Cdr & cdr, rosidl_runtime_c__String & text, const char * field) {
  std::string characters;
  cdr.deserialize(characters);
  if (!text.data) {
    rosidl_runtime_c__String__init(&text);
  }
  if (!rosidl_runtime_c__String__assign(&text, characters.c_str())) {
    fprintf(stderr, "failed to assign string into field '%s'\n", field);
    return false;
  }
  return true;
}
)";

// Inline helpers shared by the package's sources: the rules that hold for every field of a
// kind live here once instead of in every generated function.
GeneratedFile wire_header(const Package& package) {
  return cdr::wire_header(package, naming::serialization_c_root(),
                          naming::serialization_c_wire_header(package.name),
                          naming::serialization_c_wire_namespace(package.name), kWireIncludes,
                          kWireRules);
}

GeneratedFile interface_header(const Interface& interface) {
  const std::string path = naming::serialization_c_header(interface);
  CodeWriter out;
  common::open_header(out, banner(interface), path);
  out.line("#include <cstddef>");
  out.line();
  out.line("#include \"rosidl_runtime_c/message_type_support_struct.h\"");
  out.line("#include \"rosidl_runtime_c/service_type_support_struct.h\"");
  out.line("#include \"$header$\"", {{"header", naming::serialization_c_visibility_header(interface.package)}});
  out.line();
  out.line("extern \"C\" {");
  out.line();
  const std::string macro = naming::serialization_c_visibility_macro(interface.package);
  for (const Structure* structure : interface.structures) {
    const Bindings names = {{"macro", macro},
                            {"size", naming::serialized_size_function(*structure)},
                            {"max", naming::max_serialized_size_function(*structure)},
                            {"handle", naming::message_handle(Support::FastCdrC, *structure)}};
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
                                    naming::service_handle(Support::FastCdrC, interface, service) + "()");
  }
  out.line("}  // extern \"C\"");
  out.line();
  common::close_header(out, path);
  return {naming::serialization_c_root() + "/" + path, out.text()};
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
       naming::identifier_variable(Support::FastCdrC),
       naming::message_handle(Support::FastCdrC, structure)});
}

void write_service_records(CodeWriter& out, const Interface& interface, const Service& service) {
  cdr::write_service_record(out, interface, service,
                            {naming::identifier_variable(Support::FastCdrC),
                             naming::message_handle(Support::FastCdrC, *service.request),
                             naming::message_handle(Support::FastCdrC, *service.response),
                             naming::service_handle(Support::FastCdrC, interface, service)});
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
  out.line("#include \"$header$\"", {{"header", naming::serialization_c_wire_header(interface.package)}});
  for (const Interface* nested : common::uses_of(interface).nested) {
    out.line("#include \"$header$\"", {{"header", naming::c_functions_header(*nested)}});
    out.line("#include \"$header$\"", {{"header", naming::serialization_c_header(*nested)}});
  }
  out.line();
  out.line("namespace $alias$ = $namespace$;",
           {{"alias", wire}, {"namespace", naming::serialization_c_wire_namespace(interface.package)}});
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

FileSet emit_c_serialization(const Package& package) {
  FileSet files{common::visibility_header(package, naming::serialization_c_root(),
                                          naming::serialization_c_visibility_header(package.name),
                                          naming::serialization_c_visibility_macro(package.name)),
                wire_header(package)};
  for (const Interface* interface : package.interfaces) {
    files.push_back(interface_header(*interface));
    files.push_back(interface_source(*interface));
  }
  return files;
}

}  // namespace idlc
