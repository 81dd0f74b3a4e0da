// A record that breaks the sequence invariant must stop the process, in release builds too, with
// a report that names the broken condition, the source unit and the function.

#include <functional>
#include <string>

#include "c_messages_support.hpp"

namespace c_messages {
namespace {

// Escapes a literal for gtest's POSIX extended regular expressions.
std::string literal(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos) out += '\\';
    out += c;
  }
  return out;
}

using FiniOn = std::function<void(bool with_data, size_t size, size_t capacity)>;

template <class T>
FiniOn fini_on() {
  return [](bool with_data, size_t size, size_t capacity) {
    T element{};  // only its address is used: the checks come before any element access
    typename Ops<T>::Seq record{with_data ? &element : nullptr, size, capacity};
    Ops<T>::seq_fini(&record);
  };
}

struct TypeCase {
  const char* unit;
  const char* function;
  FiniOn fini;
};

struct Breach {
  bool with_data;
  size_t size, capacity;
  const char* expression;
};

TEST(SequenceInvariantDeathTest, BrokenRecordsStopTheProcessWithAPreciseReport) {
  const std::string root = "rosidl_generator_c/corvanthelis_interfaces/";
  const TypeCase types[] = {
      {"srv/detail/move_to_grab__functions.c",
       "corvanthelis_interfaces__srv__MoveToGrab_Request__Sequence__fini",
       fini_on<MoveToGrab_Request>()},
      {"srv/detail/move_to_grab__functions.c",
       "corvanthelis_interfaces__srv__MoveToGrab_Response__Sequence__fini",
       fini_on<MoveToGrab_Response>()},
      {"srv/detail/elevator_button_pose__functions.c",
       "corvanthelis_interfaces__srv__ElevatorButtonPose_Response__Sequence__fini",
       fini_on<ElevatorButtonPose_Response>()},
      {"msg/detail/trash__functions.c", "corvanthelis_interfaces__msg__Trash__Sequence__fini",
       fini_on<Trash>()},
      {"msg/detail/trash_infos__functions.c",
       "corvanthelis_interfaces__msg__TrashInfos__Sequence__fini", fini_on<TrashInfos>()},
      {"action/detail/arm_task_decision__functions.c",
       "corvanthelis_interfaces__action__ArmTaskDecision_FeedbackMessage__Sequence__fini",
       fini_on<ArmTaskDecision_FeedbackMessage>()},
  };
  const Breach breaches[] = {
      {true, 0, 0, "array->capacity > 0"},
      {true, 3, 0, "array->capacity > 0"},
      {false, 1, 0, "0 == array->size"},
      {false, 1, 2, "0 == array->size"},  // size is checked before capacity
      {false, 0, 2, "0 == array->capacity"},
  };
  for (const TypeCase& t : types) {
    for (const Breach& b : breaches) {
      SCOPED_TRACE(testing::Message() << t.function << " data " << (b.with_data ? "set" : "null")
                                      << " size " << b.size << " capacity " << b.capacity);
      const std::string report = literal(root + t.unit) + ":[0-9]+: " + literal(t.function) +
                                 ": Assertion `" + literal(b.expression) + "' failed";
      EXPECT_DEATH(t.fini(b.with_data, b.size, b.capacity), report);
    }
  }
}

}  // namespace
}  // namespace c_messages
