// The package's inline conversion rules from Python to C: the class check, single fields and
// the elements of sequences and arrays, taken from a buffer in one copy or item by item. The
// rest of the header comes from py_conversion_rules.cpp.

#include "emit/py_conversion.hpp"

namespace idlc::py_conversion {

const char* from_python_rules() {
  return R"c(// --- Python to C -------------------------------------------------------------------

// The character data of a class's __name__ or __module__ (`what` in reports). Class and module
// names are ASCII identifiers, held one byte per character and terminated like every string.
static inline const char * pyconv_class_text(
  const pyconv_site * site, PyObject * text, const char * what) {
  if (!PyUnicode_Check(text)) {
    pyconv_broken(site, "PyUnicode_Check(%s)", what);
    return NULL;
  }
  if (!PyUnicode_IS_READY(text)) {
    pyconv_broken(site, "PyUnicode_IS_READY(%s)", what);
    return NULL;
  }
  if (!PyUnicode_IS_COMPACT(text) && !((PyUnicodeObject *)text)->data.any) {
    pyconv_broken(site, "((PyUnicodeObject*)(%s))->data.any", what);
    return NULL;
  }
  return (const char *)PyUnicode_1BYTE_DATA(text);
}

// Only a message of the function's own type may be converted. The class's full name goes into
// `full_classname_dest`, N+1 bytes for an expected name of N characters, and only N characters
// are compared: a class whose full name begins with the expected one passes, and the check
// allocates nothing.
static inline bool pyconv_check_class(
  const pyconv_site * site, PyObject * message, const char * expected,
  char * full_classname_dest, size_t buffer_size) {
  PyObject * class_attr = PyObject_GetAttrString(message, "__class__");
  if (!class_attr) {
    return false;
  }
  PyObject * name_attr = PyObject_GetAttrString(class_attr, "__name__");
  if (!name_attr) {
    Py_DECREF(class_attr);
    return false;
  }
  PyObject * module_attr = PyObject_GetAttrString(class_attr, "__module__");
  const char * class_name = module_attr ? pyconv_class_text(site, name_attr, "name_attr") : NULL;
  const char * module_name =
    class_name ? pyconv_class_text(site, module_attr, "module_attr") : NULL;
  if (module_name) {
    snprintf(full_classname_dest, buffer_size, "%s.%s", module_name, class_name);
  }
  Py_XDECREF(module_attr);
  Py_DECREF(name_attr);
  Py_DECREF(class_attr);
  if (!module_name) {
    return false;
  }
  const size_t length = buffer_size - 1;
  if (strncmp(expected, full_classname_dest, length) != 0) {
    return pyconv_broken(site, "strncmp(\"%s\", full_classname_dest, %zu) == 0", expected, length);
  }
  return true;
}

// A single primitive or string field. Integers keep the low-order bits that fit the member; a
// value beyond what the read can represent (outside long, or negative for an unsigned member)
// fails with the read's OverflowError.
static inline bool pyconv_from_field(
  const pyconv_site * site, PyObject * message, const char * name, void * member,
  pyconv_store store) {
  PyObject * field = PyObject_GetAttrString(message, name);
  if (!field) {
    return false;
  }
  const bool stored = store(site, "field", field, member);
  Py_DECREF(field);
  return stored;
}

// A nested message field, through the nested type's own conversion.
static inline bool pyconv_from_message(
  PyObject * message, const char * name, void * member, pyconv_from_py convert) {
  PyObject * field = PyObject_GetAttrString(message, name);
  if (!field) {
    return false;
  }
  const bool converted = convert(field, member);
  Py_DECREF(field);
  return converted;
}

// The text is encoded as UTF-8; the assignment takes a C string, so text after an embedded NUL
// does not arrive.
static inline bool pyconv_store_string(
  const pyconv_site * site, const char * subject, PyObject * value, void * element) {
  if (!PyUnicode_Check(value)) {
    return pyconv_broken(site, "PyUnicode_Check(%s)", subject);
  }
  PyObject * encoded_field = PyUnicode_AsUTF8String(value);
  if (!encoded_field) {
    return false;
  }
  if (!PyBytes_Check(encoded_field)) {
    Py_DECREF(encoded_field);
    return pyconv_broken(site, "PyBytes_Check(encoded_field)");
  }
  const bool assigned = rosidl_runtime_c__String__assign(element, PyBytes_AS_STRING(encoded_field));
  Py_DECREF(encoded_field);
  if (!assigned) {
    PyErr_NoMemory();
  }
  return assigned;
}

// Whether the bytes of a buffer may stand for the elements: only for numbers, where every bit
// pattern is a valid element.
typedef enum pyconv_paths {
  PYCONV_ITEMS_ONLY,
  PYCONV_BUFFER_OR_ITEMS,
} pyconv_paths;

// The elements that a sequence or array value offers: the bytes of its buffer, taken over in
// one copy, or the items of its fast sequence.
typedef struct pyconv_items {
  PyObject * value;
  PyObject * seq_field;  // NULL when the buffer is used
  Py_buffer view;
  size_t count;
} pyconv_items;

static inline void pyconv_close_items(pyconv_items * items) {
  if (items->seq_field) {
    Py_DECREF(items->seq_field);
  } else {
    PyBuffer_Release(&items->view);
  }
  Py_DECREF(items->value);
}

static inline bool pyconv_open_items(
  const pyconv_site * site, PyObject * message, const char * name, pyconv_paths paths,
  size_t element_size, pyconv_items * items) {
  items->value = PyObject_GetAttrString(message, name);
  if (!items->value) {
    return false;
  }
  items->seq_field = NULL;
  if (paths == PYCONV_BUFFER_OR_ITEMS && PyObject_CheckBuffer(items->value)) {
    if (PyObject_GetBuffer(items->value, &items->view, PyBUF_SIMPLE) != 0) {
      Py_DECREF(items->value);
      return false;
    }
    // A tail shorter than one element would be copied past the end of the elements.
    if ((size_t)items->view.len % element_size != 0) {
      PyErr_Format(
        PyExc_ValueError,
        "the buffer in '%s' holds %zd bytes, not a whole number of %zu-byte elements",
        name, items->view.len, element_size);
      pyconv_close_items(items);
      return false;
    }
    items->count = (size_t)items->view.len / element_size;
    return true;
  }
  char expected_sequence[256];
  snprintf(expected_sequence, sizeof expected_sequence, "expected a sequence in '%s'", name);
  items->seq_field = PySequence_Fast(items->value, expected_sequence);
  if (!items->seq_field) {
    Py_DECREF(items->value);
    return false;
  }
  if (!PyList_Check(items->seq_field) && !PyTuple_Check(items->seq_field)) {
    pyconv_close_items(items);
    return pyconv_broken(site, "PyTuple_Check(seq_field)");
  }
  // The count is the value's own length; the items come from iterating it, so the two must agree.
  const Py_ssize_t length = PySequence_Size(items->value);
  if (length < 0) {
    pyconv_close_items(items);
    return false;
  }
  if (length != PySequence_Fast_GET_SIZE(items->seq_field)) {
    PyErr_Format(
      PyExc_ValueError, "'%s' has a length of %zd but yields %zd items",
      name, length, PySequence_Fast_GET_SIZE(items->seq_field));
    pyconv_close_items(items);
    return false;
  }
  items->count = (size_t)length;
  return true;
}

// Converts every element: the buffer's bytes in one copy, or each item by its store or, for
// messages, by the element type's conversion. The first failure ends it; the elements before
// keep their values, those after stay as initialised.
static inline bool pyconv_fill(
  const pyconv_site * site, const char * name, pyconv_items * items, void * elements,
  size_t element_size, pyconv_store store, pyconv_from_py convert) {
  if (!items->seq_field) {
    return items->count == 0 ||
      PyBuffer_ToContiguous(elements, &items->view, items->view.len, 'C') == 0;
  }
  for (size_t i = 0; i < items->count; ++i) {
    // Converting an item runs the classes' Python code, which may shrink a list meanwhile.
    if ((Py_ssize_t)i >= PySequence_Fast_GET_SIZE(items->seq_field)) {
      PyErr_Format(PyExc_ValueError, "'%s' lost items while it was converted", name);
      return false;
    }
    PyObject * item = PySequence_Fast_GET_ITEM(items->seq_field, i);
    Py_INCREF(item);
    void * element = (char *)elements + i * element_size;
    const bool converted = store ? store(site, "item", item, element) : convert(item, element);
    Py_DECREF(item);
    if (!converted) {
      return false;
    }
  }
  return true;
}

// The elements of a sequence field go into a sequence initialised for the value's count, or of
// an array field into the array, which takes exactly its length.
static inline bool pyconv_from_elements(
  const pyconv_site * site, PyObject * message, const char * name, void * member,
  pyconv_reserve reserve, size_t array_length, size_t element_size, pyconv_paths paths,
  pyconv_store store, pyconv_from_py convert) {
  pyconv_items items;
  if (!pyconv_open_items(site, message, name, paths, element_size, &items)) {
    return false;
  }
  void * elements = member;
  bool placed = true;
  if (reserve) {
    placed = reserve(member, items.count, &elements);
  } else if (items.count != array_length) {
    PyErr_Format(
      PyExc_ValueError, "'%s' takes exactly %zu elements, not %zu",
      name, array_length, items.count);
    placed = false;
  }
  const bool filled =
    placed && pyconv_fill(site, name, &items, elements, element_size, store, convert);
  pyconv_close_items(&items);
  return filled;
}

static inline bool pyconv_from_sequence(
  const pyconv_site * site, PyObject * message, const char * name, void * member,
  pyconv_reserve reserve, size_t element_size, pyconv_paths paths, pyconv_store store) {
  return pyconv_from_elements(
    site, message, name, member, reserve, 0, element_size, paths, store, NULL);
}

static inline bool pyconv_from_message_sequence(
  const pyconv_site * site, PyObject * message, const char * name, void * member,
  pyconv_reserve reserve, size_t element_size, pyconv_from_py convert) {
  return pyconv_from_elements(
    site, message, name, member, reserve, 0, element_size, PYCONV_ITEMS_ONLY, NULL, convert);
}

static inline bool pyconv_from_array(
  const pyconv_site * site, PyObject * message, const char * name, void * elements,
  size_t length, size_t element_size, pyconv_paths paths, pyconv_store store) {
  return pyconv_from_elements(
    site, message, name, elements, NULL, length, element_size, paths, store, NULL);
}

static inline bool pyconv_from_message_array(
  const pyconv_site * site, PyObject * message, const char * name, void * elements,
  size_t length, size_t element_size, pyconv_from_py convert) {
  return pyconv_from_elements(
    site, message, name, elements, NULL, length, element_size, PYCONV_ITEMS_ONLY, NULL, convert);
}

)c";
}

}  // namespace idlc::py_conversion
