// The package's rules for the number types its fields use: how each is read from Python and
// made into Python, in the shape the runtime's sequence and array rules take as a callback.
// What holds for every field of a kind lives in the runtime's conversion header.

#include <set>

#include "emit/emitters.hpp"
#include "emit/py_conversion.hpp"
#include "naming.hpp"

namespace idlc::py_conversion {
namespace {

// How a primitive's Python value is checked and read, and which call makes one.
struct PrimitiveRule {
  std::string check;  // the type check, also the precondition's wording
  std::string read;   // statements before the store; empty when the value is read in place
  std::string value;  // what is stored, of type $c_type$
  std::string make;   // the call making a Python value of the member
};

PrimitiveRule rule_of(LiteralClass literal) {
  switch (literal) {
    case LiteralClass::Boolean: return {"PyBool_Check", "", "value == Py_True", "PyBool_FromLong"};
    case LiteralClass::Signed:
    case LiteralClass::Unsigned: {
      const bool is_signed = literal == LiteralClass::Signed;
      const std::string type = is_signed ? "long" : "unsigned long";
      // Only the error tells an unrepresentable value from a -1 that was read.
      const std::string read = is_signed ? "PyLong_AsLong" : "PyLong_AsUnsignedLong";
      return {"PyLong_Check",
              "  const " + type + " read = " + read + "(value);\n" +
                  "  if (read == (" + type + ")-1 && PyErr_Occurred()) {\n" +
                  "    return false;\n" +
                  "  }\n",
              "($c_type$)read", is_signed ? "PyLong_FromLong" : "PyLong_FromUnsignedLong"};
    }
    case LiteralClass::Floating:
      return {"PyFloat_Check", "", "($c_type$)PyFloat_AS_DOUBLE(value)", "PyFloat_FromDouble"};
  }
  return {};
}

// Reading and making values of one primitive the package's fields use.
void write_primitive_rules(CodeWriter& out, Primitive primitive) {
  const PrimitiveInfo& info = primitive_info(primitive);
  const Type type{ElementKind::Primitive, primitive};
  const PrimitiveRule rule = rule_of(info.literal);
  const std::string text = R"c(static inline bool $store$(
  const pyconv_site * site, const char * subject, PyObject * value, void * element) {
  if (!$check$(value)) {
    return pyconv_broken(site, "$check$(%s)", subject);
  }
)c" + rule.read + R"c(  *($c_type$ *)element = )c" + rule.value + R"c(;
  return true;
}

static inline PyObject * $make$(const void * element) {
  return $from$(*(const $c_type$ *)element);
}

)c";
  out.lines(text, {{"store", store_function(type)},
                   {"make", make_function(type)},
                   {"check", rule.check},
                   {"from", rule.make},
                   {"c_type", std::string(info.c_type)}});
}

}  // namespace

std::string store_function(const Type& type) {
  switch (type.element) {
    case ElementKind::Primitive:
      return "pyconv_store_" + std::string(primitive_info(type.primitive).ros_name);
    case ElementKind::String: return "pyconv_store_string";
    case ElementKind::Nested: break;  // messages convert through their type's own function
  }
  return "";
}

std::string make_function(const Type& type) {
  switch (type.element) {
    case ElementKind::Primitive:
      return "pyconv_make_" + std::string(primitive_info(type.primitive).ros_name);
    case ElementKind::String: return "pyconv_make_string";
    case ElementKind::Nested: break;
  }
  return "";
}

GeneratedFile rules_header(const Package& package) {
  const std::string path = naming::py_conversion_rules_header(package.name);
  CodeWriter out;
  out.append(package_banner(package));
  out.line();
  out.line("#ifndef $guard$", {{"guard", naming::include_guard(path)}});
  out.line("#define $guard$", {{"guard", naming::include_guard(path)}});
  out.line();
  out.line("#include \"$header$\"",
           {{"header", naming::runtime_header(naming::RuntimeHeader::PythonConversion)}});
  out.line();
  std::set<Primitive> used;
  for (const Structure* structure : structures_of(package)) {
    for (const Field& field : structure->fields) {
      if (field.type.element == ElementKind::Primitive) used.insert(field.type.primitive);
    }
  }
  for (Primitive primitive : used) write_primitive_rules(out, primitive);
  out.line("#endif  // $guard$", {{"guard", naming::include_guard(path)}});
  return {naming::root(naming::Deliverable::GeneratorPy) + "/" + path, out.text()};
}

}  // namespace idlc::py_conversion
