// The C serialization library of a package: CDR writing, reading and sizing of every C
// structure through Fast-CDR, and the records through which the middleware reaches them.


#include "emit/c_serialization_fields.hpp"
#include "emit/common.hpp"
#include "emit/emitters.hpp"
#include "naming.hpp"
#include "support/code_writer.hpp"

namespace idlc {
namespace {

using naming::Support;

// Inline helpers shared by the package's sources: the rules that hold for every field of a
// kind live here once instead of in every generated function.
GeneratedFile wire_header(const Package& package) {
  const std::string path = naming::serialization_c_wire_header(package.name);
  CodeWriter out;
  out.append(package_banner(package));
  out.lines(R"(
#ifndef $guard$
#define $guard$

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fastcdr/Cdr.h"
#include "fastcdr/exceptions/NotEnoughMemoryException.h"
#include "rosidl_runtime_c/message_type_support_struct.h"
#include "rosidl_runtime_c/string.h"
#include "rosidl_runtime_c/string_functions.h"
#include "rosidl_typesupport_fastrtps_cpp/message_type_support.h"

namespace $namespace$ {

inline const message_type_support_callbacks_t * callbacks(const rosidl_message_type_support_t * handle) {
  return static_cast<const message_type_support_callbacks_t *>(handle->data);
}

// Bytes that `count` items of `item_size` take at `position`, with the padding before them.
inline size_t padded(size_t position, size_t item_size, size_t count) {
  return eprosima::fastcdr::Cdr::alignment(position, item_size) + count * item_size;
}

// Counts and uint32 values travel through the int32 overload; the bits are the same.
inline void write_count(eprosima::fastcdr::Cdr & cdr, size_t count) {
  cdr.serialize(static_cast<int32_t>(static_cast<uint32_t>(count)));
}

// Whether at least `bytes` more octets follow the stream's position; the position is left
// where it was. Fast-CDR 1.0 keeps the end of its buffer private, and its one public probe,
// Cdr::jump, does not fail on a buffer the stream owns: it reallocates it, moving the caller's
// block and exposing bytes that were never written. Its readers, however, check the bytes left
// and throw without ever growing the buffer. So the span is read through a small scratch block,
// which asks exactly that question of every part of it. The cost is one extra copy of bytes the
// caller is about to read anyway, and the scratch keeps that copy off the heap.
inline bool holds(eprosima::fastcdr::Cdr & cdr, size_t bytes) {
  eprosima::fastcdr::Cdr::state before = cdr.getState();
  char scratch[1024];
  bool enough = true;
  try {
    for (size_t left = bytes; left > 0;) {
      const size_t step = left < sizeof(scratch) ? left : sizeof(scratch);
      cdr.deserializeArray(scratch, step);
      left -= step;
    }
  } catch (const eprosima::fastcdr::exception::NotEnoughMemoryException &) {
    enough = false;
  }
  cdr.setState(before);
  return enough;
}

// A count from the wire is believed only when the rest of the stream could hold that many
// elements of at least `minimum_element_bytes` each; otherwise a hostile or truncated packet
// would make the reader allocate far more than the packet could ever fill. The stream's own
// exception is raised, so callers see the same failure as for any short buffer.
inline size_t read_count(eprosima::fastcdr::Cdr & cdr, size_t minimum_element_bytes) {
  int32_t wire_count = 0;
  cdr.deserialize(wire_count);
  const size_t count = static_cast<uint32_t>(wire_count);
  const bool overflows = minimum_element_bytes != 0 && count > SIZE_MAX / minimum_element_bytes;
  if (overflows || !holds(cdr, count * minimum_element_bytes)) {
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

}  // namespace $namespace$

#endif  // $guard$
)",
            {{"guard", naming::include_guard(path)},
             {"namespace", naming::serialization_c_wire_namespace(package.name)}});
  return {naming::serialization_c_root() + "/" + path, out.text()};
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

void write_sizes(CodeWriter& out, const Structure& structure, const std::string& wire) {
  const std::string type = naming::c_type(structure);
  {
    auto body = out.block("size_t $function$(const void * untyped_ros_message, size_t current_alignment)",
                          {{"function", naming::serialized_size_function(structure)}});
    if (serialization_c::size_reads_message(structure)) {
      out.line("const $type$ * ros_message = static_cast<const $type$ *>(untyped_ros_message);",
               {{"type", type}});
    } else {
      out.line("(void)untyped_ros_message;  // the size of this type does not depend on its values");
    }
    out.line("const size_t initial_alignment = current_alignment;");
    for (const Field& field : structure.fields) serialization_c::write_size_field(out, field, wire);
    out.line("return current_alignment - initial_alignment;");
  }
  out.line();
  {
    auto body = out.block("size_t $function$(bool & full_bounded, bool & is_plain, size_t current_alignment)",
                          {{"function", naming::max_serialized_size_function(structure)}});
    out.line("const size_t initial_alignment = current_alignment;");
    out.line("size_t last_member_size = 0;");
    out.line("full_bounded = true;");
    out.line("is_plain = true;");
    for (const Field& field : structure.fields) serialization_c::write_max_size_field(out, field, wire);
    out.line("const size_t size = current_alignment - initial_alignment;");
    {
      // The memory image equals the encoding only when the last member ends where the
      // encoding does, i.e. no padding differs between the two layouts.
      auto plain = out.block("if (is_plain)");
      out.line("is_plain = offsetof($type$, $last$) + last_member_size == size;",
               {{"type", type}, {"last", structure.fields.back().name}});
    }
    out.line("return size;");
  }
  out.line();
}

void write_records(CodeWriter& out, const Structure& structure) {
  const Bindings names = {
      {"size", naming::serialized_size_function(structure)},
      {"max", naming::max_serialized_size_function(structure)},
      {"size_callback", naming::private_symbol("size_callback", structure)},
      {"max_callback", naming::private_symbol("max_size_callback", structure)},
      {"callbacks", naming::private_symbol("callbacks", structure)},
      {"record", naming::private_symbol("type_support", structure)},
      {"namespace", naming::serialization_namespace(structure)},
      {"name", structure.name},
      {"serialize", naming::cdr_serialize_function(structure)},
      {"deserialize", naming::cdr_deserialize_function(structure)},
      {"handle", naming::message_handle(Support::FastCdrC, structure)},
  };
  out.lines(R"(static uint32_t $size_callback$(const void * untyped_ros_message) {
  return static_cast<uint32_t>($size$(untyped_ros_message, 0));
}

static size_t $max_callback$(char & bounds_info) {
  bool full_bounded;
  bool is_plain;
  const size_t size = $max$(full_bounded, is_plain, 0);
  bounds_info = is_plain ? ROSIDL_TYPESUPPORT_FASTRTPS_PLAIN_TYPE
    : full_bounded ? ROSIDL_TYPESUPPORT_FASTRTPS_BOUNDED_TYPE
    : ROSIDL_TYPESUPPORT_FASTRTPS_UNBOUNDED_TYPE;
  return size;
}

static message_type_support_callbacks_t $callbacks$ = {
  "$namespace$",
  "$name$",
  &$serialize$,
  &$deserialize$,
  &$size_callback$,
  &$max_callback$,
};

// Initialised when the library is loaded: the identifier is the runtime variable's value.
static rosidl_message_type_support_t $record$ = {
  rosidl_typesupport_fastrtps_c__identifier,
  &$callbacks$,
  get_message_typesupport_handle_function,
};

const rosidl_message_type_support_t * $handle$() {
  return &$record$;
}

)", names);
}

void write_service_records(CodeWriter& out, const Interface& interface, const Service& service) {
  const Bindings names = {
      {"callbacks", naming::private_symbol("service_callbacks", interface, service)},
      {"record", naming::private_symbol("service_type_support", interface, service)},
      {"namespace", naming::serialization_service_namespace(interface)},
      {"name", service.name},
      {"request", naming::message_handle(Support::FastCdrC, *service.request)},
      {"response", naming::message_handle(Support::FastCdrC, *service.response)},
      {"handle", naming::service_handle(Support::FastCdrC, interface, service)},
  };
  out.lines(R"(static service_type_support_callbacks_t $callbacks$ = {
  "$namespace$",
  "$name$",
  $request$(),
  $response$(),
};

static rosidl_service_type_support_t $record$ = {
  rosidl_typesupport_fastrtps_c__identifier,
  &$callbacks$,
  get_service_typesupport_handle_function,
};

const rosidl_service_type_support_t * $handle$() {
  return &$record$;
}

)", names);
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
