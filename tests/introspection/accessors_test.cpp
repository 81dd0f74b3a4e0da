// The sequence accessors, driven generically through the member rows as a reader would, on
// every sequence field of the package.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "catalogue/c_headers.hpp"
#include "catalogue/catalogue.hpp"
#include "handles.hpp"
#include "rosidl_typesupport_introspection_c/message_introspection.h"
#include "support/alloc_injector.hpp"

namespace {

using Members = rosidl_typesupport_introspection_c__MessageMembers;
using Member = rosidl_typesupport_introspection_c__MessageMember;
constexpr const char* kSupport = "rosidl_typesupport_introspection_c";

struct SequenceRecord {
  void* data;
  size_t size;
  size_t capacity;
};

// A message made through its table, as a generic reader makes it.
class Message {
 public:
  explicit Message(const Members& members) : members_(members), memory_(std::calloc(1, members.size_of_)) {
    members_.init_function(memory_, ROSIDL_RUNTIME_C_MSG_INIT_ALL);
  }
  ~Message() {
    members_.fini_function(memory_);
    std::free(memory_);
  }
  void* field(const Member& member) { return static_cast<char*>(memory_) + member.offset_; }

 private:
  const Members& members_;
  void* memory_;
};

struct SequenceField {
  const Members* owner;
  const Member* member;
  size_t element_size;
};

std::vector<SequenceField> sequence_fields() {
  std::vector<SequenceField> fields;
  for (const catalogue::Structure& type : catalogue::structures()) {
    const auto* record = handles::message(kSupport, type);
    const auto* members = static_cast<const Members*>(record->data);
    for (uint32_t i = 0; i < members->member_count_; ++i) {
      const Member& member = members->members_[i];
      if (!member.is_array_) continue;
      size_t size = 0;
      switch (member.type_id_) {
        case 2: size = sizeof(double); break;
        case 13: size = sizeof(int32_t); break;
        case 18: size = static_cast<const Members*>(member.members_->data)->size_of_; break;
        default: ADD_FAILURE() << "unexpected element type " << int(member.type_id_);
      }
      fields.push_back({members, &member, size});
    }
  }
  return fields;
}

std::vector<unsigned char> bytes_at(const void* element, size_t size) {
  const auto* begin = static_cast<const unsigned char*>(element);
  return std::vector<unsigned char>(begin, begin + size);
}

TEST(SequenceAccessors, SizeGetFetchAssignResizeOnEveryField) {
  const std::vector<SequenceField> fields = sequence_fields();
  ASSERT_EQ(fields.size(), 9u);
  for (const SequenceField& field : fields) {
    const Member& member = *field.member;
    SCOPED_TRACE(std::string(field.owner->message_name_) + "." + member.name_);
    Message message(*field.owner);
    void* sequence = message.field(member);
    EXPECT_EQ(member.size_function(sequence), 0u);

    ASSERT_TRUE(member.resize_function(sequence, 3));
    ASSERT_EQ(member.size_function(sequence), 3u);
    const auto* record = static_cast<const SequenceRecord*>(sequence);
    for (size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(member.get_function(sequence, i), member.get_const_function(sequence, i));
      EXPECT_EQ(member.get_const_function(sequence, i), static_cast<const char*>(record->data) + i * field.element_size);
    }
    // Primitive elements are left as allocated; message elements are initialised.
    const bool initialised = member.type_id_ == 18;
    const std::vector<unsigned char> before_0 = bytes_at(member.get_const_function(sequence, 0), field.element_size);
    const std::vector<unsigned char> before_2 = bytes_at(member.get_const_function(sequence, 2), field.element_size);

    // The element types hold no pointers, so any byte pattern is a value.
    std::vector<unsigned char> value(field.element_size);
    for (size_t i = 0; i < value.size(); ++i) value[i] = static_cast<unsigned char>(0x31 + i * 7);
    member.assign_function(sequence, 1, value.data());
    EXPECT_EQ(bytes_at(member.get_const_function(sequence, 1), field.element_size), value);
    EXPECT_EQ(bytes_at(member.get_const_function(sequence, 0), field.element_size), before_0);
    EXPECT_EQ(bytes_at(member.get_const_function(sequence, 2), field.element_size), before_2);

    std::vector<unsigned char> fetched(field.element_size, 0);
    member.fetch_function(sequence, 1, fetched.data());
    EXPECT_EQ(fetched, value);

    // Keeping the length still starts over with initialised elements.
    ASSERT_TRUE(member.resize_function(sequence, 3));
    EXPECT_EQ(member.size_function(sequence), 3u);
    if (initialised) {
      EXPECT_EQ(bytes_at(member.get_const_function(sequence, 1), field.element_size), before_0);
    }

    ASSERT_TRUE(member.resize_function(sequence, 0));
    EXPECT_EQ(member.size_function(sequence), 0u);
    EXPECT_EQ(record->data, nullptr);
    EXPECT_EQ(record->capacity, 0u);
  }
}

TEST(SequenceAccessors, FetchOfAPoseCopiesPositionAndOrientation) {
  const auto* record = handles::message(kSupport, catalogue::structure("DetectedWastes"));
  const auto& members = *static_cast<const Members*>(record->data);
  const Member& goal_poses = members.members_[3];
  ASSERT_STREQ(goal_poses.name_, "goal_poses");
  Message message(members);
  void* sequence = message.field(goal_poses);
  ASSERT_TRUE(goal_poses.resize_function(sequence, 2));
  auto* stored = static_cast<geometry_msgs__msg__Pose*>(goal_poses.get_function(sequence, 1));
  *stored = geometry_msgs__msg__Pose{{1.5, -2.0, 3.25}, {0.1, 0.2, 0.3, 0.9}};
  geometry_msgs__msg__Pose copy{};
  goal_poses.fetch_function(sequence, 1, &copy);
  EXPECT_EQ(copy.position.x, 1.5);
  EXPECT_EQ(copy.position.y, -2.0);
  EXPECT_EQ(copy.position.z, 3.25);
  EXPECT_EQ(copy.orientation.w, 0.9);
  // The element before it keeps the defaults of its init.
  const auto* first = static_cast<const geometry_msgs__msg__Pose*>(goal_poses.get_const_function(sequence, 0));
  EXPECT_EQ(first->orientation.w, 1.0);
}

TEST(SequenceAccessors, FailedResizeLeavesTheSequenceEmpty) {
  if (!alloc_injector::available()) GTEST_SKIP() << "allocation injection is off in this build";
  const auto* record = handles::message(kSupport, catalogue::structure("ArmTask_Result"));
  const auto& members = *static_cast<const Members*>(record->data);
  const Member& blacklist = members.members_[2];
  ASSERT_STREQ(blacklist.name_, "trash_blacklist");
  Message message(members);
  void* sequence = message.field(blacklist);
  ASSERT_TRUE(blacklist.resize_function(sequence, 2));
  const auto* sequence_record = static_cast<const SequenceRecord*>(sequence);
  size_t failures = 0;
  const size_t runs = alloc_injector::for_each_failure([&] {
    const bool resized = blacklist.resize_function(sequence, 4);
    alloc_injector::Pause pause;
    if (!resized) {
      ++failures;
      EXPECT_EQ(sequence_record->data, nullptr);
      EXPECT_EQ(sequence_record->size, 0u);
      EXPECT_EQ(sequence_record->capacity, 0u);
    } else {
      EXPECT_EQ(blacklist.size_function(sequence), 4u);
    }
  });
  EXPECT_GE(runs, 1u);
  EXPECT_EQ(failures, runs);
}

}  // namespace
