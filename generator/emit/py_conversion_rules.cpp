// The package's inline conversion rules: what holds for every field of a kind (the class
// check, how a number or a text is read and made, how sequences take their elements and how
// failures are reported) lives here once; the generated conversions only call it.

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

const char* const kPreamble = R"c(#include <Python.h>

#include <stdarg.h>
#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "rosidl_runtime_c/string.h"
#include "rosidl_runtime_c/string_functions.h"

// Members of 64 bits are read through long and unsigned long.
_Static_assert(sizeof(long) == 8, "the conversions need a 64-bit long");

// Where a conversion runs, named by a failed precondition's report.
typedef struct pyconv_site {
  const char * unit;
  const char * function;
} pyconv_site;

// A broken precondition is the caller's programming error, but stopping the process would take
// the interpreter down with it: it becomes a TypeError naming the condition, unit and function.
// An error that was already pending (a failed import, a missing attribute) becomes its cause.
__attribute__((format(printf, 2, 3)))
static inline bool pyconv_broken(const pyconv_site * site, const char * condition_format, ...) {
  char condition[256];
  va_list arguments;
  va_start(arguments, condition_format);
  vsnprintf(condition, sizeof condition, condition_format, arguments);
  va_end(arguments);
  PyObject * cause_type = NULL;
  PyObject * cause = NULL;
  PyObject * cause_traceback = NULL;
  PyErr_Fetch(&cause_type, &cause, &cause_traceback);
  // Normalising calls the error's class, which must not run while another error stands.
  if (cause_type) {
    PyErr_NormalizeException(&cause_type, &cause, &cause_traceback);
  }
  PyErr_Format(
    PyExc_TypeError, "%s: %s: Assertion `%s' failed.", site->unit, site->function, condition);
  if (cause_type) {
    PyObject * type = NULL;
    PyObject * error = NULL;
    PyObject * traceback = NULL;
    PyErr_Fetch(&type, &error, &traceback);
    PyErr_NormalizeException(&type, &error, &traceback);
    // Out of memory, either error may have stayed a bare type: the chain is then dropped.
    if (cause && cause_traceback) {
      PyException_SetTraceback(cause, cause_traceback);
    }
    if (error) {
      PyException_SetCause(error, cause);
    } else {
      Py_XDECREF(cause);
    }
    PyErr_Restore(type, error, traceback);
    Py_DECREF(cause_type);
    Py_XDECREF(cause_traceback);
  }
  return false;
}

typedef bool (*pyconv_store)(
  const pyconv_site * site, const char * subject, PyObject * value, void * element);
typedef PyObject * (*pyconv_make)(const void * element);
typedef bool (*pyconv_from_py)(PyObject * message, void * ros_message);
typedef PyObject * (*pyconv_to_py)(void * ros_message);
// Initialises a sequence member for `count` elements and hands back their block; on failure the
// RuntimeError naming the sequence record stands.
typedef bool (*pyconv_reserve)(void * member, size_t count, void ** elements);

)c";

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
  out.append(kPreamble);
  out.append(from_python_rules());
  out.append(to_python_rules());
  std::set<Primitive> used;
  for (const Structure* structure : structures_of(package)) {
    for (const Field& field : structure->fields) {
      if (field.type.element == ElementKind::Primitive) used.insert(field.type.primitive);
    }
  }
  for (Primitive primitive : used) write_primitive_rules(out, primitive);
  out.line("#endif  // $guard$", {{"guard", naming::include_guard(path)}});
  return {naming::py_conversion_root() + "/" + path, out.text()};
}

}  // namespace idlc::py_conversion
