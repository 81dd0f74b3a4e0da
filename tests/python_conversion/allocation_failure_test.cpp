// Allocation failures inside the conversions from Python, driven by the allocation-failure
// injector in an embedded interpreter: whichever allocation fails, the conversion returns false
// with a Python exception standing (never true, never false without one), names the sequence
// record it could not create, and leaves a structure that its destroy function releases.

#include <Python.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/alloc_injector.hpp"

namespace {

using Create = void* (*)();
using Destroy = void (*)(void*);
using ConvertFromPy = bool (*)(PyObject*, void*);

class Interpreter : public ::testing::Environment {
 public:
  void SetUp() override { Py_Initialize(); }
};

const ::testing::Environment* const kInterpreter =
    ::testing::AddGlobalTestEnvironment(new Interpreter);

// A new reference to the value of a Python expression, evaluated after the imports it uses.
PyObject* evaluate(const std::string& expression) {
  PyObject* globals = PyDict_New();
  PyDict_SetItemString(globals, "__builtins__", PyEval_GetBuiltins());
  PyObject* imported = PyRun_String(
      "from corvanthelis_interfaces.msg import DetectedWastes, Trash\n"
      "from corvanthelis_interfaces.srv import ArmRelease, DetectTrash\n"
      "from geometry_msgs.msg import Pose\n",
      Py_file_input, globals, globals);
  Py_XDECREF(imported);
  PyObject* value = imported ? PyRun_String(expression.c_str(), Py_eval_input, globals, globals)
                             : nullptr;
  Py_DECREF(globals);
  if (!value) PyErr_Print();
  return value;
}

void* capsule_pointer(PyObject* module, const std::string& name) {
  PyObject* capsule = PyObject_GetAttrString(module, name.c_str());
  void* pointer = capsule ? PyCapsule_GetPointer(capsule, nullptr) : nullptr;
  Py_XDECREF(capsule);
  return pointer;
}

struct Entry {
  Create create = nullptr;
  Destroy destroy = nullptr;
  ConvertFromPy convert_from_py = nullptr;
};

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
  Py_DECREF(module);
  return entry;
}

// "RuntimeError: unable to create ...", or the type alone for errors whose text varies.
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

struct Row {
  const char* infix;
  const char* message;
  std::vector<std::string> errors;  // each must be met by some failing allocation
};

TEST(ConversionAllocationFailures, EveryFailureReturnsFalseWithAnException) {
  if (!alloc_injector::available()) GTEST_SKIP() << "the sanitizer owns malloc";
  const std::vector<Row> rows = {
      {"srv__detect_trash__response",
       "DetectTrash.Response(status=1, trashes_detected=[Trash(type=2)] * 3, errmsg='blocked')",
       {"RuntimeError: unable to create corvanthelis_interfaces__msg__Trash__Sequence ros_message",
        "MemoryError"}},
      {"msg__detected_wastes",
       "DetectedWastes(ids=[1, 2], class_names=[3], goal_poses=[Pose()] * 2, detected_dis=[0.5])",
       {"RuntimeError: unable to create int32__Sequence ros_message",
        "RuntimeError: unable to create double__Sequence ros_message",
        "RuntimeError: unable to create geometry_msgs__msg__Pose__Sequence ros_message",
        "MemoryError"}},
      {"srv__arm_release__response", "ArmRelease.Response(status=4, errmsg='Grüße')",
       {"MemoryError"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.infix);
    const Entry entry = entry_of(row.infix);
    ASSERT_NE(entry.convert_from_py, nullptr);
    PyObject* message = evaluate(row.message);
    ASSERT_NE(message, nullptr);
    std::set<std::string> met;
    const std::size_t runs = alloc_injector::for_each_failure([&] {
      void* ros_message = nullptr;
      {
        alloc_injector::Pause pause;
        ros_message = entry.create();
      }
      const bool converted = entry.convert_from_py(message, ros_message);
      alloc_injector::Pause pause;
      if (converted) {
        EXPECT_FALSE(PyErr_Occurred()) << "true with an exception standing";
        PyErr_Clear();
      } else if (PyErr_Occurred()) {
        met.insert(standing_error());
      } else {
        ADD_FAILURE() << "false without an exception";
      }
      entry.destroy(ros_message);
    });
    EXPECT_GT(runs, 0u);
    for (const std::string& error : row.errors) EXPECT_EQ(met.count(error), 1u) << error;
    Py_DECREF(message);
  }
}

}  // namespace
