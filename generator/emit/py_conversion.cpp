// The Python conversion library of a package: per interface one C11 unit with the from- and
// to-Python conversion of each of its structures, and a header declaring them for the
// extension modules and for the conversions of packages that nest these types.

#include <algorithm>

#include "emit/common.hpp"
#include "emit/emitters.hpp"
#include "emit/py_conversion.hpp"
#include "naming.hpp"

namespace idlc {
namespace {

GeneratedFile interface_header(const Interface& interface) {
  const std::string path = naming::py_conversion_header(interface);
  CodeWriter out;
  common::open_header(out, banner(interface), path);
  out.line("#include <Python.h>");
  out.line();
  out.line("#include <stdbool.h>");
  out.line();
  out.line("#include \"$header$\"",
           {{"header", naming::visibility_header(interface.package, naming::Deliverable::GeneratorPy)}});
  out.line();
  common::open_c_linkage(out);
  const std::string macro = naming::visibility_macro(interface.package, naming::Deliverable::GeneratorPy);
  for (const Structure* structure : interface.structures) {
    common::declare(out, macro, "bool " + naming::py_convert_from(*structure) +
                                    "(PyObject * _pymsg, void * _ros_message)");
    common::declare(out, macro, "PyObject * " + naming::py_convert_to(*structure) +
                                    "(void * raw_ros_message)");
  }
  common::close_c_linkage(out);
  common::close_header(out, path);
  return {naming::root(naming::Deliverable::GeneratorPy) + "/" + path, out.text()};
}

// The sequence types the interface's fields hold, each once, in order of first use.
std::vector<const Type*> sequence_types(const Interface& interface) {
  std::vector<const Type*> types;
  for (const Structure* structure : interface.structures) {
    for (const Field& field : structure->fields) {
      if (!field.type.is_sequence()) continue;
      const std::string reserve = naming::py_sequence_reserve(field.type);
      const bool seen = std::any_of(types.begin(), types.end(), [&](const Type* type) {
        return naming::py_sequence_reserve(*type) == reserve;
      });
      if (!seen) types.push_back(&field.type);
    }
  }
  return types;
}

// Sizes a sequence member through its record's own initialiser; its failure names the record.
void write_reserve(CodeWriter& out, const Type& type) {
  out.lines(R"c(static bool $reserve$(void * member, size_t count, void ** elements) {
  $sequence$ * sequence = member;
  if (!$init$(sequence, count)) {
    PyErr_SetString(PyExc_RuntimeError, "unable to create $label$ ros_message");
    return false;
  }
  *elements = sequence->data;
  return true;
}

)c",
            {{"reserve", naming::py_sequence_reserve(type)},
             {"sequence", naming::c_sequence_type_of(type)},
             {"init", naming::c_sequence_function_of(type, "init")},
             {"label", naming::py_sequence_label(type)}});
}

void write_from_py(CodeWriter& out, const Structure& structure) {
  const std::string expected = naming::py_class_path(structure);
  auto body = out.block("bool $function$(PyObject * _pymsg, void * _ros_message)",
                        {{"function", naming::py_convert_from(structure)}});
  out.line("const pyconv_site site = {__FILE__, __func__};");
  out.line("char full_classname_dest[$length$ + 1];",
           {{"length", std::to_string(expected.size())}});
  {
    auto check = out.block(
        "if (!pyconv_check_class(\n"
        "      &site, _pymsg, \"$expected$\", full_classname_dest, sizeof full_classname_dest))",
        {{"expected", expected}});
    out.line("return false;");
  }
  out.line("$type$ * ros_message = _ros_message;", {{"type", naming::c_type(structure)}});
  if (structure.has_placeholder) {
    out.line("ros_message->$member$ = 0;", {{"member", structure.fields.front().name}});
  } else {
    for (const Field& field : structure.fields) py_conversion::write_from_py_field(out, field);
  }
  out.line("return true;");
}

void write_to_py(CodeWriter& out, const Structure& structure) {
  auto body = out.block("PyObject * $function$(void * raw_ros_message)",
                        {{"function", naming::py_convert_to(structure)}});
  out.line("const pyconv_site site = {__FILE__, __func__};");
  out.line("PyObject * _pymessage = pyconv_new_message(&site, \"$module$\", \"$class$\");",
           {{"module", naming::py_module(*structure.owner)}, {"class", structure.name}});
  {
    auto made = out.block("if (!_pymessage)");
    out.line("return NULL;");
  }
  if (structure.has_placeholder) {
    out.line("(void)raw_ros_message;  // the placeholder member carries nothing");
  } else {
    out.line("$type$ * ros_message = raw_ros_message;", {{"type", naming::c_type(structure)}});
    for (const Field& field : structure.fields) py_conversion::write_to_py_field(out, field);
  }
  out.line("return _pymessage;");
}

GeneratedFile interface_source(const Interface& interface) {
  CodeWriter out;
  out.append(banner(interface));
  out.line();
  out.line("#include <Python.h>");
  out.line();
  out.line("#include <stdbool.h>");
  out.line("#include <stddef.h>");
  out.line();
  out.line("#include \"$header$\"", {{"header", naming::py_conversion_header(interface)}});
  out.line("#include \"$header$\"",
           {{"header", naming::py_conversion_rules_header(interface.package)}});
  out.line("#include \"$header$\"", {{"header", naming::c_functions_header(interface)}});
  const common::InterfaceUses uses = common::uses_of(interface);
  if (uses.primitive_sequences) {
    out.line("#include \"rosidl_runtime_c/primitives_sequence_functions.h\"");
  }
  for (const Interface* nested : uses.nested) {
    out.line("#include \"$header$\"", {{"header", naming::c_functions_header(*nested)}});
    out.line("#include \"$header$\"", {{"header", naming::py_conversion_header(*nested)}});
  }
  out.line();
  for (const Type* type : sequence_types(interface)) write_reserve(out, *type);
  for (const Structure* structure : interface.structures) {
    write_from_py(out, *structure);
    out.line();
    write_to_py(out, *structure);
    out.line();
  }
  return {naming::py_conversion_source(interface), out.text()};
}

}  // namespace

FileSet emit_generator_py(const Package& package) {
  FileSet files{common::visibility_header(package, naming::Deliverable::GeneratorPy),
                py_conversion::rules_header(package)};
  for (const Interface* interface : package.interfaces) {
    files.push_back(interface_header(*interface));
    files.push_back(interface_source(*interface));
  }
  return files;
}

}  // namespace idlc
