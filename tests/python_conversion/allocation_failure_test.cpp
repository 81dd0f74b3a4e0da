// Allocation failures inside the conversions from Python, driven by the allocation-failure
// injector in an embedded interpreter: whichever allocation fails, the conversion returns false
// with a Python exception standing (never true, never false without one), names the sequence
// record it could not create, and leaves a structure that its destroy function releases.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "embedded_python.hpp"
#include "support/alloc_injector.hpp"

namespace {

using embedded::entry_of;
using embedded::standing_error;

PyObject* evaluate(const std::string& expression) {
  return embedded::evaluate(expression,
                            "from corvanthelis_interfaces.msg import DetectedWastes, Trash\n"
                            "from corvanthelis_interfaces.srv import ArmRelease, DetectTrash\n"
                            "from geometry_msgs.msg import Pose\n");
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
    const embedded::Entry entry = entry_of(row.infix);
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
