#include "embedded_python.hpp"

#include <gtest/gtest.h>

namespace embedded {
namespace {

class Interpreter : public ::testing::Environment {
 public:
  void SetUp() override {
    PyPreConfig preconfig;
    PyPreConfig_InitPythonConfig(&preconfig);
    preconfig.allocator = PYMEM_ALLOCATOR_MALLOC;
    const PyStatus status = Py_PreInitialize(&preconfig);
    if (PyStatus_Exception(status)) Py_ExitStatusException(status);
    PyConfig config;
    PyConfig_InitPythonConfig(&config);
    config.write_bytecode = 0;  // keeps the source tree free of __pycache__ folders
    const PyStatus started = Py_InitializeFromConfig(&config);
    PyConfig_Clear(&config);
    if (PyStatus_Exception(started)) Py_ExitStatusException(started);
  }
};

const ::testing::Environment* const kInterpreter =
    ::testing::AddGlobalTestEnvironment(new Interpreter);

void* capsule_pointer(PyObject* module, const std::string& name) {
  PyObject* capsule = PyObject_GetAttrString(module, name.c_str());
  void* pointer = capsule ? PyCapsule_GetPointer(capsule, nullptr) : nullptr;
  Py_XDECREF(capsule);
  return pointer;
}

}  // namespace

Entry entry_of(const std::string& infix) {
  PyObject* module = PyImport_ImportModule(
      "corvanthelis_interfaces.corvanthelis_interfaces_s__rosidl_typesupport_c");
  if (!module) {
    PyErr_Print();
    return {};
  }
  Entry entry;
  entry.create =
      reinterpret_cast<Create>(capsule_pointer(module, "create_ros_message_msg__" + infix));
  entry.destroy =
      reinterpret_cast<Destroy>(capsule_pointer(module, "destroy_ros_message_msg__" + infix));
  entry.convert_from_py =
      reinterpret_cast<ConvertFromPy>(capsule_pointer(module, "convert_from_py_msg__" + infix));
  entry.convert_to_py =
      reinterpret_cast<ConvertToPy>(capsule_pointer(module, "convert_to_py_msg__" + infix));
  Py_DECREF(module);
  return entry;
}

PyObject* evaluate(const std::string& expression, const std::string& imports) {
  PyObject* globals = PyDict_New();
  PyDict_SetItemString(globals, "__builtins__", PyEval_GetBuiltins());
  PyObject* imported = PyRun_String(imports.c_str(), Py_file_input, globals, globals);
  Py_XDECREF(imported);
  PyObject* value = imported ? PyRun_String(expression.c_str(), Py_eval_input, globals, globals)
                             : nullptr;
  Py_DECREF(globals);
  if (!value) PyErr_Print();
  return value;
}

std::string standing_error() {
  PyObject* type = nullptr;
  PyObject* value = nullptr;
  PyObject* traceback = nullptr;
  PyErr_Fetch(&type, &value, &traceback);
  std::string text = reinterpret_cast<PyTypeObject*>(type)->tp_name;
  PyObject* message = value ? PyObject_Str(value) : nullptr;
  if (type == PyExc_RuntimeError && message) text += std::string(": ") + PyUnicode_AsUTF8(message);
  Py_XDECREF(message);
  Py_XDECREF(type);
  Py_XDECREF(value);
  Py_XDECREF(traceback);
  return text;
}

}  // namespace embedded
