// C introspection: per interface one source unit with the member tables of its structures and
// services, their handle functions, the init/fini trampolines and the accessors of array and
// sequence members, plus a header declaring everything the unit exports.

#include <algorithm>

#include "emit/common.hpp"
#include "emit/emitters.hpp"
#include "emit/introspection_common.hpp"
#include "naming.hpp"
#include "support/code_writer.hpp"

namespace idlc {
namespace {

// Whether a plain assignment of a value of this type copies it whole: true when the type owns
// no memory through a pointer, anywhere inside.
bool is_plain(const Type& type);

bool is_plain(const Structure& structure) {
  return std::all_of(structure.fields.begin(), structure.fields.end(),
                     [](const Field& field) { return is_plain(field.type); });
}

bool is_plain(const Type& type) {
  switch (type.kind()) {
    case FieldKind::Primitive:
    case FieldKind::PrimitiveArray: return true;
    case FieldKind::Nested:
    case FieldKind::NestedArray: return is_plain(*type.nested);
    case FieldKind::String:
    case FieldKind::StringArray:
    case FieldKind::PrimitiveSequence:
    case FieldKind::StringSequence:
    case FieldKind::NestedSequence: return false;
  }
  return false;
}

// The elements of a field (the field itself when it is single), as the tables describe them.
struct Element {
  std::string type_code;  // enumerator of rosidl_typesupport_introspection_c/field_types.h
  std::string c_type;
  std::size_t string_bound = 0;
  const Structure* nested = nullptr;
  // A deep-copy call over $from$ and $to$ when plain assignment would share owned memory.
  std::string copy;
};

std::string type_code(const Type& type) {
  return "rosidl_typesupport_introspection_c__ROS_TYPE_" + introspection::type_code_suffix(type);
}

Element element_of(const Type& type) {
  switch (type.element) {
    case ElementKind::Primitive: {
      const PrimitiveInfo& info = primitive_info(type.primitive);
      return {type_code(type), std::string(info.c_type), 0, nullptr, ""};
    }
    case ElementKind::String:
      return {type_code(type), naming::c_string_type(), type.string_bound, nullptr,
              naming::c_string_function("copy") + "($from$, $to$)"};
    case ElementKind::Nested: {
      const Structure& nested = *type.nested;
      const std::string copy =
          is_plain(nested) ? "" : naming::c_function(nested, "copy") + "($from$, $to$)";
      return {type_code(type), naming::c_type(nested), 0, &nested, copy};
    }
  }
  return {};
}

// The sequence record a sequence field's accessors work on, and the record's init and fini,
// which resize uses; all empty for a fixed array, whose member is its first element.
struct Record {
  std::string type;
  std::string init;
  std::string fini;
};

Record record_of(const Type& type) {
  if (!type.is_sequence()) return {};
  return {naming::c_sequence_type_of(type), naming::c_sequence_function_of(type, "init"),
          naming::c_sequence_function_of(type, "fini")};
}

using introspection::accessors_of;
using introspection::shape_of;

std::string signature(const Structure& structure, const Field& field, naming::Accessor accessor) {
  const introspection::AccessorSignature prototype =
      introspection::accessor_signature(accessor, introspection::Language::C);
  return prototype.result + "\n" + naming::introspection_c_accessor(structure, field, accessor) + "(" +
         prototype.parameters + ")";
}

// The six (five for a fixed array) accessors of one field.
void write_accessors(CodeWriter& out, const Structure& structure, const Field& field) {
  const introspection::Shape shape = shape_of(field.type);
  const Record record = record_of(field.type);
  const Element element = element_of(field.type);
  const bool fixed = !shape.is_sequence;
  auto name = [&](naming::Accessor accessor) {
    return naming::introspection_c_accessor(structure, field, accessor);
  };
  // A fixed array's member is its first element; a sequence's member is its record.
  const std::string cast_const = fixed ? "const " + element.c_type + " * member = (const " +
                                             element.c_type + " *)untyped_member;"
                                       : "const " + record.type + " * member = (const " +
                                             record.type + " *)untyped_member;";
  const std::string cast = fixed ? element.c_type + " * member = (" + element.c_type + " *)untyped_member;"
                                 : record.type + " * member = (" + record.type + " *)untyped_member;";
  const std::string items = fixed ? "member" : "member->data";

  {
    auto body = out.block(signature(structure, field, naming::Accessor::Size));
    if (fixed) {
      out.line("(void)untyped_member;");
      out.line("return $n$;", {{"n", std::to_string(shape.array_size)}});
    } else {
      out.line(cast_const);
      out.line("return member->size;");
    }
  }
  out.line();
  {
    auto body = out.block(signature(structure, field, naming::Accessor::GetConst));
    out.line(cast_const);
    out.line("return &$items$[index];", {{"items", items}});
  }
  out.line();
  {
    auto body = out.block(signature(structure, field, naming::Accessor::Get));
    out.line(cast);
    out.line("return &$items$[index];", {{"items", items}});
  }
  out.line();
  const Bindings types = {{"type", element.c_type}};
  {
    auto body = out.block(signature(structure, field, naming::Accessor::Fetch));
    out.line("const $type$ * item = (const $type$ *)$get_const$(untyped_member, index);",
             {{"type", element.c_type}, {"get_const", name(naming::Accessor::GetConst)}});
    out.line("$type$ * value = ($type$ *)untyped_value;", types);
    if (element.copy.empty()) {
      out.line("*value = *item;");
    } else {
      out.line("// A plain assignment would share the element's memory with the caller's value.");
      out.line("(void)" + substitute(element.copy, {{"from", "item"}, {"to", "value"}}) + ";");
    }
  }
  out.line();
  {
    auto body = out.block(signature(structure, field, naming::Accessor::Assign));
    out.line("$type$ * item = ($type$ *)$get$(untyped_member, index);",
             {{"type", element.c_type}, {"get", name(naming::Accessor::Get)}});
    out.line("const $type$ * value = (const $type$ *)untyped_value;", types);
    if (element.copy.empty()) {
      out.line("*item = *value;");
    } else {
      out.line("// A plain assignment would share the caller's memory with the element.");
      out.line("(void)" + substitute(element.copy, {{"from", "value"}, {"to", "item"}}) + ";");
    }
  }
  out.line();
  if (fixed) return;
  {
    auto body = out.block(signature(structure, field, naming::Accessor::Resize));
    out.line(cast);
    if (shape.is_upper_bound) {
      // Refused before anything is released, so a failed resize keeps the elements.
      auto over = out.block("if (size > $bound$)", {{"bound", std::to_string(shape.array_size)}});
      out.line("return false;");
    }
    out.line("// Every element is discarded, also when the length is kept: a resized sequence holds");
    out.line("// freshly initialised elements only.");
    out.line("$fini$(member);", {{"fini", record.fini}});
    out.line("return $init$(member, size);", {{"init", record.init}});
  }
  out.line();
}

std::string optional_function(const std::vector<naming::Accessor>& present, naming::Accessor accessor,
                              const std::string& name) {
  return std::find(present.begin(), present.end(), accessor) == present.end() ? "NULL" : name;
}

// One row of a member array: every column is written, so a reader of the generated table sees
// the whole record.
void write_member_row(CodeWriter& out, const Structure& structure, const Field& field) {
  const introspection::Shape shape = shape_of(field.type);
  const Element element = element_of(field.type);
  const std::vector<naming::Accessor> present = accessors_of(field);
  auto function = [&](naming::Accessor accessor) {
    return optional_function(present, accessor, naming::introspection_c_accessor(structure, field, accessor));
  };
  auto row = out.block("", {}, ",");
  out.line(".name_ = \"$name$\",", {{"name", field.name}});
  out.line(".type_id_ = $code$,", {{"code", element.type_code}});
  out.line(".string_upper_bound_ = $bound$,", {{"bound", std::to_string(element.string_bound)}});
  out.line(element.nested ? ".members_ = NULL,  // bound by the handle function" : ".members_ = NULL,");
  out.line(".is_array_ = $value$,", {{"value", shape.is_array ? "true" : "false"}});
  out.line(".array_size_ = $value$,", {{"value", std::to_string(shape.array_size)}});
  out.line(".is_upper_bound_ = $value$,", {{"value", shape.is_upper_bound ? "true" : "false"}});
  out.line(".offset_ = offsetof($type$, $field$),",
           {{"type", naming::c_type(structure)}, {"field", field.name}});
  out.line(".default_value_ = NULL,");
  out.line(".size_function = $f$,", {{"f", function(naming::Accessor::Size)}});
  out.line(".get_const_function = $f$,", {{"f", function(naming::Accessor::GetConst)}});
  out.line(".get_function = $f$,", {{"f", function(naming::Accessor::Get)}});
  out.line(".fetch_function = $f$,", {{"f", function(naming::Accessor::Fetch)}});
  out.line(".assign_function = $f$,", {{"f", function(naming::Accessor::Assign)}});
  out.line(".resize_function = $f$,", {{"f", function(naming::Accessor::Resize)}});
}

void write_trampolines(CodeWriter& out, const Structure& structure) {
  const Bindings names = {{"init_function", naming::introspection_c_init_function(structure)},
                          {"fini_function", naming::introspection_c_fini_function(structure)},
                          {"type", naming::c_type(structure)},
                          {"init", naming::c_function(structure, "init")},
                          {"fini", naming::c_function(structure, "fini")}};
  out.lines(R"(void
$init_function$(
  void * message_memory, enum rosidl_runtime_c__message_initialization initialization)
{
  // The structure's init sets every member up whatever the mode asks, and this signature has
  // no way to report its failure; callers that must know call the init function directly.
  (void)initialization;
  (void)$init$(($type$ *)message_memory);
}

void
$fini_function$(void * message_memory)
{
  $fini$(($type$ *)message_memory);
}

)", names);
}

void write_message_tables(CodeWriter& out, const Structure& structure) {
  for (const Field& field : structure.fields) {
    if (shape_of(field.type).has_accessors) write_accessors(out, structure, field);
  }
  write_trampolines(out, structure);
  {
    auto array = out.block("static rosidl_typesupport_introspection_c__MessageMember $array$[$count$] =",
                           {{"array", naming::introspection_c_member_array(structure)},
                            {"count", std::to_string(structure.fields.size())}},
                           ";");
    for (const Field& field : structure.fields) write_member_row(out, structure, field);
  }
  out.line();
  {
    auto members = out.block("static const rosidl_typesupport_introspection_c__MessageMembers $members$ =",
                             {{"members", naming::introspection_c_message_members(structure)}}, ";");
    out.line(".message_namespace_ = \"$namespace$\",",
             {{"namespace", naming::c_namespace(structure.package, structure.kind)}});
    out.line(".message_name_ = \"$name$\",", {{"name", structure.name}});
    out.line(".member_count_ = $count$,", {{"count", std::to_string(structure.fields.size())}});
    out.line(".size_of_ = sizeof($type$),", {{"type", naming::c_type(structure)}});
    out.line(".members_ = $array$,", {{"array", naming::introspection_c_member_array(structure)}});
    out.line(".init_function = $f$,", {{"f", naming::introspection_c_init_function(structure)}});
    out.line(".fini_function = $f$,", {{"f", naming::introspection_c_fini_function(structure)}});
  }
  out.line();
  {
    auto record = out.block("static rosidl_message_type_support_t $record$ =",
                            {{"record", naming::introspection_c_message_record(structure)}}, ";");
    out.line(".typesupport_identifier = NULL,  // stamped by the handle function");
    out.line(".data = &$members$,", {{"members", naming::introspection_c_message_members(structure)}});
    out.line(".func = get_message_typesupport_handle_function,");
  }
  out.line();
}

void write_message_handle(CodeWriter& out, const Structure& structure) {
  const std::string array = naming::introspection_c_member_array(structure);
  auto body = out.block("const rosidl_message_type_support_t *\n$handle$(void)",
                        {{"handle", naming::message_handle(naming::Deliverable::IntrospectionC, structure)}});
  for (std::size_t i = 0; i < structure.fields.size(); ++i) {
    const Type& type = structure.fields[i].type;
    if (type.element != ElementKind::Nested) continue;
    out.line("bind_nested(&$array$[$i$], $nested$());",
             {{"array", array},
              {"i", std::to_string(i)},
              {"nested", naming::message_handle(naming::Deliverable::IntrospectionC, *type.nested)}});
  }
  out.line("stamp_identifier(&$record$.typesupport_identifier);",
           {{"record", naming::introspection_c_message_record(structure)}});
  out.line("return &$record$;", {{"record", naming::introspection_c_message_record(structure)}});
}

void write_service(CodeWriter& out, const Interface& interface, const Service& service) {
  const std::string members = naming::introspection_c_service_members(interface, service);
  const std::string record = naming::introspection_c_service_record(interface, service);
  {
    auto block = out.block("static rosidl_typesupport_introspection_c__ServiceMembers $members$ =",
                           {{"members", members}}, ";");
    out.line(".service_namespace_ = \"$namespace$\",",
             {{"namespace", naming::c_namespace(interface.package, interface.kind)}});
    out.line(".service_name_ = \"$name$\",", {{"name", service.name}});
    out.line(".request_members_ = NULL,  // set by the handle function");
    out.line(".response_members_ = NULL,  // set by the handle function");
  }
  out.line();
  {
    auto block = out.block("static rosidl_service_type_support_t $record$ =", {{"record", record}}, ";");
    out.line(".typesupport_identifier = NULL,  // stamped by the handle function");
    out.line(".data = &$members$,", {{"members", members}});
    out.line(".func = get_service_typesupport_handle_function,");
  }
  out.line();
  auto body = out.block("const rosidl_service_type_support_t *\n$handle$(void)",
                        {{"handle", naming::service_handle(naming::Deliverable::IntrospectionC, interface, service)}});
  out.line("stamp_identifier(&$record$.typesupport_identifier);", {{"record", record}});
  out.line("bind_side(&$members$.request_members_, $request$);",
           {{"members", members},
            {"request", naming::message_handle(naming::Deliverable::IntrospectionC, *service.request)}});
  out.line("bind_side(&$members$.response_members_, $response$);",
           {{"members", members},
            {"response", naming::message_handle(naming::Deliverable::IntrospectionC, *service.response)}});
  out.line("return &$record$;", {{"record", record}});
}

bool has_nested_field(const Interface& interface) {
  for (const Structure* structure : interface.structures) {
    for (const auto& field : structure->fields) {
      if (field.type.element == ElementKind::Nested) return true;
    }
  }
  return false;
}

// Only the helpers the unit calls: clang rejects an unused static function in a source file.
void write_store_helpers(CodeWriter& out, const Interface& interface) {
  out.lines(R"(// Handles may run on several threads at once. Each store writes the value that any caller
// would write, and the atomic accesses keep such concurrent stores well defined.
static inline void
stamp_identifier(const char ** identifier)
{
  if (!__atomic_load_n(identifier, __ATOMIC_ACQUIRE)) {
    __atomic_store_n(identifier, rosidl_typesupport_introspection_c__identifier, __ATOMIC_RELEASE);
  }
}

)");
  if (has_nested_field(interface)) {
    out.lines(R"(static inline void
bind_nested(
  rosidl_typesupport_introspection_c__MessageMember * member,
  const rosidl_message_type_support_t * nested)
{
  // Every call binds again, but a link that already holds the value is not written: once the
  // tables are complete, readers never meet a store.
  if (__atomic_load_n(&member->members_, __ATOMIC_ACQUIRE) != nested) {
    __atomic_store_n(&member->members_, nested, __ATOMIC_RELEASE);
  }
}

)");
  }
  if (interface.services.empty()) return;
  out.lines(R"(// Once set, a side's table is final, so its message handle is not called again.
static inline void
bind_side(
  const rosidl_typesupport_introspection_c__MessageMembers ** side,
  const rosidl_message_type_support_t * (*message_handle)(void))
{
  if (!__atomic_load_n(side, __ATOMIC_ACQUIRE)) {
    const rosidl_message_type_support_t * record = message_handle();
    __atomic_store_n(
      side, (const rosidl_typesupport_introspection_c__MessageMembers *)record->data,
      __ATOMIC_RELEASE);
  }
}

)");
}

GeneratedFile source(const Interface& interface) {
  CodeWriter out;
  out.append(banner(interface));
  out.line();
  out.line("#include \"$header$\"", {{"header", naming::introspection_c_header(interface)}});
  out.line();
  out.lines("#include <stdbool.h>\n#include <stddef.h>\n#include <stdint.h>\n\n");
  out.line("#include \"rosidl_typesupport_introspection_c/field_types.h\"");
  out.line("#include \"rosidl_typesupport_introspection_c/identifier.h\"");
  out.line("#include \"rosidl_typesupport_introspection_c/message_introspection.h\"");
  if (!interface.services.empty()) {
    out.line("#include \"rosidl_typesupport_introspection_c/service_introspection.h\"");
  }
  out.line();
  out.line("#include \"$header$\"", {{"header", naming::c_functions_header(interface)}});
  const common::InterfaceUses uses = common::uses_of(interface);
  if (uses.strings) out.line("#include \"rosidl_runtime_c/string_functions.h\"");
  if (uses.primitive_sequences) out.line("#include \"rosidl_runtime_c/primitives_sequence_functions.h\"");
  for (const Interface* nested : uses.nested) {
    out.line("#include \"$header$\"", {{"header", naming::c_functions_header(*nested)}});
    out.line("#include \"$header$\"", {{"header", naming::introspection_c_header(*nested)}});
  }
  out.line();
  write_store_helpers(out, interface);
  for (const Structure* structure : interface.structures) {
    write_message_tables(out, *structure);
    write_message_handle(out, *structure);
    out.line();
  }
  for (const Service& service : interface.services) {
    write_service(out, interface, service);
    out.line();
  }
  return {naming::introspection_c_source(interface), out.text()};
}

GeneratedFile header(const Interface& interface) {
  const std::string path = naming::introspection_c_header(interface);
  const std::string macro = naming::visibility_macro(interface.package, naming::Deliverable::IntrospectionC);
  CodeWriter out;
  common::open_header(out, banner(interface), path);
  out.lines("#include <stdbool.h>\n#include <stddef.h>\n\n");
  out.line("#include \"rosidl_runtime_c/message_initialization.h\"");
  out.line("#include \"rosidl_runtime_c/message_type_support_struct.h\"");
  if (!interface.services.empty()) out.line("#include \"rosidl_runtime_c/service_type_support_struct.h\"");
  out.line("#include \"$header$\"", {{"header", naming::visibility_header(interface.package, naming::Deliverable::IntrospectionC)}});
  out.line();
  common::open_c_linkage(out);
  for (const Structure* structure : interface.structures) {
    common::declare(out, macro,
            "const rosidl_message_type_support_t *\n" +
                naming::message_handle(naming::Deliverable::IntrospectionC, *structure) + "(void)");
    common::declare(out, macro,
            "void\n" + naming::introspection_c_init_function(*structure) +
                "(void * message_memory, enum rosidl_runtime_c__message_initialization initialization)");
    common::declare(out, macro, "void\n" + naming::introspection_c_fini_function(*structure) + "(void * message_memory)");
    for (const Field& field : structure->fields) {
      for (naming::Accessor accessor : accessors_of(field)) {
        common::declare(out, macro, signature(*structure, field, accessor));
      }
    }
  }
  for (const Service& service : interface.services) {
    common::declare(out, macro,
            "const rosidl_service_type_support_t *\n" +
                naming::service_handle(naming::Deliverable::IntrospectionC, interface, service) + "(void)");
  }
  common::close_c_linkage(out);
  common::close_header(out, path);
  return {naming::root(naming::Deliverable::IntrospectionC) + "/" + path, out.text()};
}

}  // namespace

FileSet emit_introspection_c(const Package& package) {
  FileSet files{common::visibility_header(package, naming::Deliverable::IntrospectionC)};
  for (const Interface* interface : package.interfaces) {
    files.push_back(header(*interface));
    files.push_back(source(*interface));
  }
  return files;
}

}  // namespace idlc
