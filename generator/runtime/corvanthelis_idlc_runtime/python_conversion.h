// The rules of the Python conversions, which every generated conversion calls per field: the
// class check, how a text is taken and made, how the elements of sequences and arrays are
// taken from a buffer or item by item and given back, and how failures are reported. The rules
// of each number type come with the package's conversions, which use them.

#ifndef CORVANTHELIS_IDLC_RUNTIME__PYTHON_CONVERSION_H_
#define CORVANTHELIS_IDLC_RUNTIME__PYTHON_CONVERSION_H_

#include <Python.h>

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

// --- Python to C -------------------------------------------------------------------

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

// "%s.%s" of the module and the class name into `dest`, cut to its first `size` - 1 characters
// exactly as snprintf cuts it, but without the cost of formatting: the check runs for every
// message and every element of a message sequence.
static inline void pyconv_join_class_name(
  char * dest, size_t size, const char * module_name, const char * class_name) {
  const size_t room = size - 1;
  const size_t module_length = strlen(module_name);
  size_t at = module_length < room ? module_length : room;
  memcpy(dest, module_name, at);
  if (at < room) {
    dest[at++] = '.';
  }
  const size_t class_length = strlen(class_name);
  const size_t copied = class_length < room - at ? class_length : room - at;
  memcpy(dest + at, class_name, copied);
  dest[at + copied] = '\0';
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
    pyconv_join_class_name(full_classname_dest, buffer_size, module_name, class_name);
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

// The length a sequence field has no bound on.
#define PYCONV_UNBOUNDED SIZE_MAX

// The elements of a sequence field go into a sequence initialised for the value's count, which
// `length` bounds, or of an array field into the array, which takes exactly `length`.
static inline bool pyconv_from_elements(
  const pyconv_site * site, PyObject * message, const char * name, void * member,
  pyconv_reserve reserve, size_t length, size_t element_size, pyconv_paths paths,
  pyconv_store store, pyconv_from_py convert) {
  pyconv_items items;
  if (!pyconv_open_items(site, message, name, paths, element_size, &items)) {
    return false;
  }
  void * elements = member;
  bool placed = false;
  if (reserve && items.count > length) {
    PyErr_Format(
      PyExc_ValueError, "'%s' takes at most %zu elements, not %zu", name, length, items.count);
  } else if (reserve) {
    placed = reserve(member, items.count, &elements);
  } else if (items.count != length) {
    PyErr_Format(
      PyExc_ValueError, "'%s' takes exactly %zu elements, not %zu", name, length, items.count);
  } else {
    placed = true;
  }
  const bool filled =
    placed && pyconv_fill(site, name, &items, elements, element_size, store, convert);
  pyconv_close_items(&items);
  return filled;
}

static inline bool pyconv_from_sequence(
  const pyconv_site * site, PyObject * message, const char * name, void * member,
  pyconv_reserve reserve, size_t bound, size_t element_size, pyconv_paths paths,
  pyconv_store store) {
  return pyconv_from_elements(
    site, message, name, member, reserve, bound, element_size, paths, store, NULL);
}

static inline bool pyconv_from_message_sequence(
  const pyconv_site * site, PyObject * message, const char * name, void * member,
  pyconv_reserve reserve, size_t bound, size_t element_size, pyconv_from_py convert) {
  return pyconv_from_elements(
    site, message, name, member, reserve, bound, element_size, PYCONV_ITEMS_ONLY, NULL, convert);
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

// --- C to Python -------------------------------------------------------------------

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

// Whether `field` is an array of the array module: of the module's own type when `exact`,
// else of it or of a subclass (a bounded sequence keeps its bound in one). The array type
// itself copies what frombytes gives it and keeps nothing of it.
static inline bool pyconv_is_array(PyObject * field, bool exact) {
  PyObject * module = PyImport_ImportModule("array");
  PyObject * array_type = module ? PyObject_GetAttrString(module, "array") : NULL;
  Py_XDECREF(module);
  if (!array_type) {
    PyErr_Clear();  // only the faster way is lost, or the subclass refused
    return false;
  }
  const bool is_array = exact
    ? (PyObject *)Py_TYPE(field) == array_type
    : PyObject_TypeCheck(field, (PyTypeObject *)array_type);
  Py_DECREF(array_type);
  return is_array;
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
  if (strcmp(field->ob_type->tp_name, "array.array") != 0 && !pyconv_is_array(field, false)) {
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

// Hands the element block to the array's frombytes in one piece. A real array.array gets a
// read-only view of the C block, so the block is copied once, straight into the array, and no
// temporary as large as the block is made; anything else that only carries its name gets a
// bytes copy, which it may keep after the caller frees the structure.
static inline bool pyconv_give_block(
  const pyconv_site * site, PyObject * field, const void * elements, size_t size) {
  PyObject * block = pyconv_is_array(field, true)
    ? PyMemoryView_FromMemory((char *)elements, (Py_ssize_t)size, PyBUF_READ)
    : PyBytes_FromStringAndSize(elements, (Py_ssize_t)size);
  if (!block) {
    return false;
  }
  const bool called = pyconv_call_method(site, field, "frombytes", "frombytes != NULL", block, 1);
  Py_DECREF(block);
  return called;
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
  return pyconv_give_block(site, field, elements, count * element_size);
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

#endif  // CORVANTHELIS_IDLC_RUNTIME__PYTHON_CONVERSION_H_
