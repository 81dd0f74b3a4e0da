// The package's inline conversion rules from C to Python: the new object, attributes, lists,
// and the number arrays refilled in place; the rest of the header comes from
// py_conversion_rules.cpp.

#include "emit/py_conversion.hpp"

namespace idlc::py_conversion {

const char* to_python_rules() {
  return R"c(// --- C to Python -------------------------------------------------------------------

// A new message object with default values, of the class `class_name` in `module_name`.
static inline PyObject * pyconv_new_message(
  const pyconv_site * site, const char * module_name, const char * class_name) {
  PyObject * pymessage_module = PyImport_ImportModule(module_name);
  if (!pymessage_module) {
    pyconv_broken(site, "pymessage_module");
    return NULL;
  }
  PyObject * pymessage_class = PyObject_GetAttrString(pymessage_module, class_name);
  Py_DECREF(pymessage_module);
  if (!pymessage_class) {
    pyconv_broken(site, "pymessage_class");
    return NULL;
  }
  PyObject * pymessage = PyObject_CallObject(pymessage_class, NULL);
  Py_DECREF(pymessage_class);
  return pymessage;
}

// Releases a half-built message object: the null result of a failed conversion.
static inline PyObject * pyconv_discard(PyObject * pymessage) {
  Py_DECREF(pymessage);
  return NULL;
}

// Sets the attribute through the class's own assignment and releases `field`, a new reference;
// a null `field` is a failure to make it, whose exception stands.
static inline bool pyconv_assign(PyObject * pymessage, const char * name, PyObject * field) {
  if (!field) {
    return false;
  }
  const int rc = PyObject_SetAttrString(pymessage, name, field);
  Py_DECREF(field);
  return rc == 0;
}

// Text ends at its first NUL; bytes that are not UTF-8 become U+FFFD instead of failing.
static inline PyObject * pyconv_make_string(const void * element) {
  const rosidl_runtime_c__String * text = element;
  const char * characters = text->data ? text->data : "";
  return PyUnicode_DecodeUTF8(characters, (Py_ssize_t)strlen(characters), "replace");
}

// A new list made at its final length, each element by `make` or by the element type's conversion.
static inline PyObject * pyconv_list(
  const pyconv_site * site, void * elements, size_t count, size_t element_size,
  pyconv_make make, pyconv_to_py convert) {
  PyObject * field = PyList_New((Py_ssize_t)count);
  if (!field) {
    return NULL;
  }
  for (size_t i = 0; i < count; ++i) {
    void * element = (char *)elements + i * element_size;
    PyObject * item = make ? make(element) : convert(element);
    if (!item) {
      Py_DECREF(field);
      return NULL;
    }
    // Takes over the item's reference.
    const int rc = PyList_SetItem(field, (Py_ssize_t)i, item);
    if (rc != 0) {
      Py_DECREF(field);
      pyconv_broken(site, "rc == 0");
      return NULL;
    }
  }
  if (!PySequence_Check(field)) {
    Py_DECREF(field);
    pyconv_broken(site, "PySequence_Check(field)");
    return NULL;
  }
  return field;
}

// A sequence or array field as a new list, of values (bools, strings) or of messages.
static inline bool pyconv_to_value_list(
  const pyconv_site * site, PyObject * pymessage, const char * name, void * elements,
  size_t count, size_t element_size, pyconv_make make) {
  return pyconv_assign(
    pymessage, name, pyconv_list(site, elements, count, element_size, make, NULL));
}

static inline bool pyconv_to_message_list(
  const pyconv_site * site, PyObject * pymessage, const char * name, void * elements,
  size_t count, size_t element_size, pyconv_to_py convert) {
  return pyconv_assign(
    pymessage, name, pyconv_list(site, elements, count, element_size, NULL, convert));
}

// Calls the array's method `name` `times` times, with `argument` or, when it is NULL, with none.
static inline bool pyconv_call_method(
  const pyconv_site * site, PyObject * field, const char * name, const char * condition,
  PyObject * argument, size_t times) {
  PyObject * method = PyObject_GetAttrString(field, name);
  if (!method) {
    return pyconv_broken(site, "%s", condition);
  }
  bool called = true;
  for (size_t i = 0; called && i < times; ++i) {
    PyObject * result = argument
      ? PyObject_CallFunctionObjArgs(method, argument, NULL)
      : PyObject_CallObject(method, NULL);
    called = result != NULL;
    Py_XDECREF(result);
  }
  Py_DECREF(method);
  return called;
}

// A number sequence or array goes into the array.array that the new object already holds,
// which must have the element's width.
static inline bool pyconv_check_array(
  const pyconv_site * site, PyObject * field, size_t element_size) {
  if (field->ob_type == NULL) {
    return pyconv_broken(site, "field->ob_type != NULL");
  }
  if (field->ob_type->tp_name == NULL) {
    return pyconv_broken(site, "field->ob_type->tp_name != NULL");
  }
  if (strcmp(field->ob_type->tp_name, "array.array") != 0) {
    return pyconv_broken(site, "strcmp(field->ob_type->tp_name, \"array.array\") == 0");
  }
  PyObject * itemsize_attr = PyObject_GetAttrString(field, "itemsize");
  if (!itemsize_attr) {
    return pyconv_broken(site, "itemsize_attr != NULL");
  }
  const size_t itemsize = PyLong_AsSize_t(itemsize_attr);
  Py_DECREF(itemsize_attr);
  if (itemsize != element_size) {
    PyErr_SetString(PyExc_RuntimeError, "itemsize doesn't match expectation");
    return false;
  }
  return true;
}

// Empties the array, then refills it from the element block in one piece, so that its items
// are the C elements bit for bit; the array itself is never replaced.
static inline bool pyconv_replace_items(
  const pyconv_site * site, PyObject * field, const void * elements, size_t count,
  size_t element_size) {
  const Py_ssize_t length = PyObject_Size(field);
  if (length < 0) {
    return false;
  }
  if (length > 0 && !pyconv_call_method(site, field, "pop", "pop != NULL", NULL, (size_t)length)) {
    return false;
  }
  if (count == 0) {
    return true;
  }
  PyObject * bytes = PyBytes_FromStringAndSize(elements, (Py_ssize_t)(count * element_size));
  if (!bytes) {
    return false;
  }
  const bool called = pyconv_call_method(site, field, "frombytes", "frombytes != NULL", bytes, 1);
  Py_DECREF(bytes);
  return called;
}

static inline bool pyconv_refill_array(
  const pyconv_site * site, PyObject * pymessage, const char * name, const void * elements,
  size_t count, size_t element_size) {
  PyObject * field = PyObject_GetAttrString(pymessage, name);
  if (!field) {
    return false;
  }
  const bool refilled = pyconv_check_array(site, field, element_size) &&
    pyconv_replace_items(site, field, elements, count, element_size);
  Py_DECREF(field);
  return refilled;
}

)c";
}

}  // namespace idlc::py_conversion
