// The C++ sequence accessors, reached through the member rows as a generic reader reaches them:
// resize keeps what stays, appends fully constructed elements and fails by throwing with the
// vector untouched.

#include <gtest/gtest.h>

#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "handles_cpp.hpp"
#include "support/alloc_injector.hpp"
#include "unique_identifier_msgs/msg/detail/uuid__rosidl_typesupport_introspection_cpp.hpp"

namespace {

using handles_cpp::Member;
using handles_cpp::Members;
using corvanthelis_interfaces::msg::Trash;

const Member& row(const char* type, const char* field) {
  return handles_cpp::member_named(handles_cpp::members_of(type), field);
}

Trash numbered_trash(uint8_t n) {
  Trash trash;
  trash.set__type(n).set__location(static_cast<uint8_t>(n + 1)).set__mainaxis_type(static_cast<uint8_t>(n + 2));
  trash.grab_pose.position.x = n;
  trash.obb_pose.orientation.w = -n;
  trash.obb_size.z = n * 0.5;
  return trash;
}

TEST(IntrospectionCppAccessors, ResizeKeepsElementsAndAppendsDefaultConstructedOnes) {
  corvanthelis_interfaces::action::ArmTask_Result result;
  result.trash_blacklist = {numbered_trash(1), numbered_trash(2)};
  const std::vector<Trash> before = result.trash_blacklist;
  const Member& member = row("ArmTask_Result", "trash_blacklist");

  member.resize_function(&result.trash_blacklist, 3);
  ASSERT_EQ(member.size_function(&result.trash_blacklist), 3u);
  EXPECT_EQ(result.trash_blacklist[0], before[0]);
  EXPECT_EQ(result.trash_blacklist[1], before[1]);
  EXPECT_EQ(result.trash_blacklist[2], Trash());
  EXPECT_EQ(result.trash_blacklist[2].grab_pose.orientation.w, 1.0);
  EXPECT_EQ(result.trash_blacklist[2].obb_pose.orientation.w, 1.0);
  EXPECT_EQ(result.trash_blacklist[2].type, 0);

  member.resize_function(&result.trash_blacklist, 0);
  EXPECT_TRUE(result.trash_blacklist.empty());
}

TEST(IntrospectionCppAccessors, ShrinkDropsTheTailAndGrowthAppendsZeros) {
  corvanthelis_interfaces::msg::DetectedWastes wastes;
  wastes.ids = {10, 11, 12, 13, 14};
  const Member& member = row("DetectedWastes", "ids");
  member.resize_function(&wastes.ids, 2);
  EXPECT_EQ(wastes.ids, (std::vector<int32_t>{10, 11}));
  member.resize_function(&wastes.ids, 4);
  EXPECT_EQ(wastes.ids, (std::vector<int32_t>{10, 11, 0, 0}));
}

TEST(IntrospectionCppAccessors, ElementAccessReadsAndWritesInPlace) {
  corvanthelis_interfaces::msg::DetectedWastes wastes;
  wastes.goal_poses.resize(3);
  wastes.goal_poses[1].position.y = 7.5;
  wastes.goal_poses[1].orientation.z = -0.25;
  const Member& member = row("DetectedWastes", "goal_poses");
  EXPECT_EQ(member.get_const_function(&wastes.goal_poses, 1), &wastes.goal_poses[1]);
  EXPECT_EQ(member.get_function(&wastes.goal_poses, 1), &wastes.goal_poses[1]);

  geometry_msgs::msg::Pose fetched(rosidl_runtime_cpp::MessageInitialization::ZERO);
  member.fetch_function(&wastes.goal_poses, 1, &fetched);
  EXPECT_EQ(fetched, wastes.goal_poses[1]);

  // Fetch then assign of the same index changes nothing.
  const std::vector<geometry_msgs::msg::Pose> before = wastes.goal_poses;
  member.assign_function(&wastes.goal_poses, 1, &fetched);
  EXPECT_EQ(wastes.goal_poses, before);

  fetched.position.x = 3.0;
  member.assign_function(&wastes.goal_poses, 0, &fetched);
  EXPECT_EQ(wastes.goal_poses[0], fetched);
  EXPECT_EQ(wastes.goal_poses[1], before[1]);
  EXPECT_EQ(wastes.goal_poses[2], before[2]);
}

TEST(IntrospectionCppAccessors, CountsBeyondTheMaximumThrowLengthErrorAndKeepTheVector) {
  corvanthelis_interfaces::srv::DetectTrash_Response response;
  response.trashes_detected = {numbered_trash(4)};
  const std::vector<Trash> trashes = response.trashes_detected;
  const Member& member = row("DetectTrash_Response", "trashes_detected");
  try {
    member.resize_function(&response.trashes_detected, std::numeric_limits<size_t>::max());
    ADD_FAILURE() << "no exception";
  } catch (const std::length_error& error) {
    EXPECT_STREQ(error.what(), "vector::_M_default_append");
  }
  EXPECT_EQ(response.trashes_detected, trashes);

  corvanthelis_interfaces::msg::DetectedWastes wastes;
  wastes.detected_dis = {0.5, 1.5};
  EXPECT_THROW(row("DetectedWastes", "detected_dis")
                   .resize_function(&wastes.detected_dis, std::numeric_limits<size_t>::max() / 2),
               std::length_error);
  EXPECT_EQ(wastes.detected_dis, (std::vector<double>{0.5, 1.5}));
}

TEST(IntrospectionCppAccessors, OutOfMemoryThrowsBadAllocAndKeepsTheVector) {
  if (!alloc_injector::available()) GTEST_SKIP() << "allocation failures cannot be injected here";
  corvanthelis_interfaces::msg::TrashInfos infos;
  infos.trashinfos.resize(2);
  infos.trashinfos[1].class_id = 9;
  const auto before = infos.trashinfos;
  const Member& member = row("TrashInfos", "trashinfos");
  std::size_t throws = 0;
  const std::size_t runs = alloc_injector::for_each_failure([&] {
    try {
      member.resize_function(&infos.trashinfos, 50);
    } catch (const std::bad_alloc&) {
      ++throws;
    }
    alloc_injector::Pause pause;
    if (infos.trashinfos.size() == 50) {
      infos.trashinfos.resize(before.size());  // the last run, into which nothing was injected
    }
    EXPECT_EQ(infos.trashinfos, before);
  });
  EXPECT_GE(runs, 1u);
  EXPECT_EQ(throws, runs);
}

TEST(IntrospectionCppAccessors, AFixedArrayHasItsLengthAndNoResize) {
  const Members& members = handles_cpp::members_of(
      rosidl_typesupport_introspection_cpp::get_message_type_support_handle<unique_identifier_msgs::msg::UUID>());
  const Member& uuid = handles_cpp::member_named(members, "uuid");
  EXPECT_TRUE(uuid.is_array_);
  EXPECT_EQ(uuid.array_size_, 16u);
  EXPECT_EQ(uuid.resize_function, nullptr);
  unique_identifier_msgs::msg::UUID id;
  EXPECT_EQ(uuid.size_function(&id.uuid), 16u);
  const uint8_t value = 0xfe;
  uuid.assign_function(&id.uuid, 15, &value);
  EXPECT_EQ(id.uuid[15], 0xfe);
  uint8_t fetched = 0;
  uuid.fetch_function(&id.uuid, 15, &fetched);
  EXPECT_EQ(fetched, 0xfe);
}

}  // namespace
