// The C headers of a package: per interface its structures, its function prototypes, the
// declarations of its dispatch handles and an umbrella header, plus the package's visibility
// header.


#include "emit/common.hpp"
#include "emit/emitters.hpp"
#include "naming.hpp"
#include "support/code_writer.hpp"
#include "support/literals.hpp"

namespace idlc {
namespace {

using common::close_c_linkage;
using common::close_header;
using common::open_c_linkage;
using common::open_header;

// The member declaration of a field, "<type> <name>" with the array extent if any.
std::string c_member(const Field& field) {
  const Type& type = field.type;
  const std::string extent = "[" + std::to_string(type.size) + "]";
  switch (type.kind()) {
    case FieldKind::Primitive:
      return std::string(primitive_info(type.primitive).c_type) + " " + field.name;
    case FieldKind::String: return naming::c_string_type() + " " + field.name;
    case FieldKind::Nested: return naming::c_type(*type.nested) + " " + field.name;
    case FieldKind::PrimitiveArray:
      return std::string(primitive_info(type.primitive).c_type) + " " + field.name + extent;
    case FieldKind::StringArray: return naming::c_string_type() + " " + field.name + extent;
    case FieldKind::NestedArray: return naming::c_type(*type.nested) + " " + field.name + extent;
    case FieldKind::PrimitiveSequence:
    case FieldKind::StringSequence:
    case FieldKind::NestedSequence: return naming::c_sequence_type_of(type) + " " + field.name;
  }
  return "";
}

// Headers the structures of an interface need, in a stable order.
// Integer constants become enumerators where int holds every value of the type; the rest
// become typed static constants so their type survives in C.
void write_constants(CodeWriter& out, const Structure& structure) {
  for (const Constant& constant : structure.constants) {
    const std::string name = naming::c_constant(structure, constant);
    if (constant.is_string) {
      out.line("static const char * const $name$ = $value$;",
               {{"name", name}, {"value", c_literal(constant.primitive, constant.value)}});
      continue;
    }
    const PrimitiveInfo& info = primitive_info(constant.primitive);
    const bool fits_enum = info.literal != LiteralClass::Floating &&
                           info.literal != LiteralClass::Boolean && info.wire_size <= 2;
    const std::string value = c_literal(constant.primitive, constant.value);
    if (fits_enum || constant.primitive == Primitive::Int32) {
      out.line("enum { $name$ = $value$ };", {{"name", name}, {"value", value}});
    } else {
      out.line("static const $type$ $name$ = $value$;",
               {{"type", std::string(info.c_type)}, {"name", name}, {"value", value}});
    }
  }
  if (!structure.constants.empty()) out.line();
}

void write_structure(CodeWriter& out, const Structure& structure) {
  write_constants(out, structure);
  const std::string type = naming::c_type(structure);
  {
    auto body = out.block("typedef struct $type$", {{"type", type}}, " " + type + ";");
    for (const Field& field : structure.fields) out.line(c_member(field) + ";");
  }
  out.line();
  const std::string sequence = naming::c_sequence_type(structure);
  {
    auto body = out.block("typedef struct $sequence$", {{"sequence", sequence}}, " " + sequence + ";");
    out.line("$type$ * data;", {{"type", type}});
    out.line("size_t size;");
    out.line("/// Number of allocated elements, all of them initialised.");
    out.line("size_t capacity;");
  }
  out.line();
}

GeneratedFile struct_header(const Interface& interface) {
  const std::string path = naming::c_struct_header(interface);
  CodeWriter out;
  open_header(out, banner(interface), path);
  const common::InterfaceUses uses = common::uses_of(interface);
  out.lines("#include <stdbool.h>\n#include <stddef.h>\n#include <stdint.h>\n");
  if (uses.non_finite_constants) out.line("#include <math.h>");
  out.line();
  if (uses.strings) out.line("#include \"rosidl_runtime_c/string.h\"");
  if (uses.primitive_sequences) out.line("#include \"rosidl_runtime_c/primitives_sequence.h\"");
  for (const Interface* nested : uses.nested) {
    out.line("#include \"$header$\"", {{"header", naming::c_struct_header(*nested)}});
  }
  out.line();
  open_c_linkage(out);
  for (const Structure* structure : interface.structures) write_structure(out, *structure);
  close_c_linkage(out);
  close_header(out, path);
  return {naming::root(naming::Deliverable::GeneratorC) + "/" + path, out.text()};
}

struct Prototype {
  const char* result;
  const char* operation;
  const char* parameters;  // $type$ and $sequence$ stand for the structure's types
};

// The twelve functions of every structure, in the order of the header.
constexpr Prototype kStructureFunctions[] = {
    {"bool", "init", "$type$ * msg"},
    {"void", "fini", "$type$ * msg"},
    {"$type$ *", "create", "void"},
    {"void", "destroy", "$type$ * msg"},
    {"bool", "are_equal", "const $type$ * lhs, const $type$ * rhs"},
    {"bool", "copy", "const $type$ * input, $type$ * output"},
};
constexpr Prototype kSequenceFunctions[] = {
    {"bool", "init", "$sequence$ * array, size_t size"},
    {"void", "fini", "$sequence$ * array"},
    {"$sequence$ *", "create", "size_t size"},
    {"void", "destroy", "$sequence$ * array"},
    {"bool", "are_equal", "const $sequence$ * lhs, const $sequence$ * rhs"},
    {"bool", "copy", "const $sequence$ * input, $sequence$ * output"},
};

void write_prototype(CodeWriter& out, const Structure& structure, const Prototype& prototype,
                     const std::string& function) {
  const Bindings types = {{"type", naming::c_type(structure)},
                          {"sequence", naming::c_sequence_type(structure)}};
  auto used = [&](const std::string& text) {
    Bindings subset;
    for (const auto& binding : types) {
      if (text.find("$" + binding.first + "$") != std::string::npos) subset.push_back(binding);
    }
    return substitute(text, subset);
  };
  out.line(naming::visibility_macro(structure.package, naming::Deliverable::GeneratorC));
  out.line(used(prototype.result) + " " + function + "(" + used(prototype.parameters) + ");");
  out.line();
}

GeneratedFile functions_header(const Interface& interface) {
  const std::string path = naming::c_functions_header(interface);
  CodeWriter out;
  open_header(out, banner(interface), path);
  out.lines("#include <stdbool.h>\n#include <stddef.h>\n\n");
  out.line("#include \"$header$\"", {{"header", naming::visibility_header(interface.package, naming::Deliverable::GeneratorC)}});
  out.line("#include \"$header$\"", {{"header", naming::c_struct_header(interface)}});
  out.line();
  open_c_linkage(out);
  for (const Structure* structure : interface.structures) {
    for (const Prototype& prototype : kStructureFunctions) {
      write_prototype(out, *structure, prototype, naming::c_function(*structure, prototype.operation));
    }
    for (const Prototype& prototype : kSequenceFunctions) {
      write_prototype(out, *structure, prototype,
                      naming::c_sequence_function(*structure, prototype.operation));
    }
  }
  close_c_linkage(out);
  close_header(out, path);
  return {naming::root(naming::Deliverable::GeneratorC) + "/" + path, out.text()};
}

// The dispatch library defines these; declaring them here lets ROSIDL_GET_MSG_TYPE_SUPPORT and
// its service and action twins work from the umbrella header alone.
GeneratedFile type_support_header(const Interface& interface) {
  const std::string path = naming::dispatch_header(interface);
  const std::string macro = naming::visibility_macro(interface.package, naming::Deliverable::GeneratorC);
  const naming::Deliverable dispatch = naming::Deliverable::TypesupportDispatch;
  CodeWriter out;
  open_header(out, banner(interface), path);
  out.line("#include \"rosidl_runtime_c/message_type_support_struct.h\"");
  if (!interface.services.empty()) out.line("#include \"rosidl_runtime_c/service_type_support_struct.h\"");
  if (interface.kind == InterfaceKind::Action) {
    out.line("#include \"rosidl_runtime_c/action_type_support_struct.h\"");
  }
  out.line("#include \"$header$\"",
           {{"header", naming::visibility_header(interface.package, naming::Deliverable::GeneratorC)}});
  out.line();
  open_c_linkage(out);
  for (const Structure* structure : interface.structures) {
    common::declare(out, macro,
                    "const rosidl_message_type_support_t *\n" +
                        naming::message_handle(dispatch, *structure) + "(void)");
  }
  for (const Service& service : interface.services) {
    common::declare(out, macro,
                    "const rosidl_service_type_support_t *\n" +
                        naming::service_handle(dispatch, interface, service) + "(void)");
  }
  if (interface.kind == InterfaceKind::Action) {
    common::declare(out, macro,
                    "const rosidl_action_type_support_t *\n" + naming::action_handle(dispatch, interface) + "(void)");
  }
  close_c_linkage(out);
  close_header(out, path);
  return {naming::root(naming::Deliverable::GeneratorC) + "/" + path, out.text()};
}

GeneratedFile umbrella_header(const Interface& interface) {
  const std::string path = naming::c_umbrella_header(interface);
  CodeWriter out;
  open_header(out, banner(interface), path);
  out.line("#include \"$header$\"", {{"header", naming::c_struct_header(interface)}});
  out.line("#include \"$header$\"", {{"header", naming::c_functions_header(interface)}});
  out.line("#include \"$header$\"", {{"header", naming::dispatch_header(interface)}});
  out.line();
  close_header(out, path);
  return {naming::root(naming::Deliverable::GeneratorC) + "/" + path, out.text()};
}

}  // namespace

FileSet emit_c_headers(const Package& package) {
  FileSet files{common::visibility_header(package, naming::Deliverable::GeneratorC)};
  for (const Interface* interface : package.interfaces) {
    files.push_back(struct_header(*interface));
    files.push_back(functions_header(*interface));
    files.push_back(type_support_header(*interface));
    files.push_back(umbrella_header(*interface));
  }
  return files;
}

}  // namespace idlc
