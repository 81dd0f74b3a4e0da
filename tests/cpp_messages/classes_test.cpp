// The C++ message classes as a client uses them: the constructor modes, comparison, chained
// setters, constants and the names that services and actions give their parts.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <type_traits>

#include "catalogue/cpp_headers.hpp"

namespace {

using Mode = rosidl_runtime_cpp::MessageInitialization;
using corvanthelis_interfaces::msg::Trash;

constexpr unsigned char kPattern = 0xA5;

// Tells the optimiser that the memory may be read and written behind its back. Without it the
// pattern written before a constructor counts as dead (the object's life starts after it), and
// the bytes the constructor leaves alone count as unknowable rather than as what memory holds.
void opaque(void* memory) { asm volatile("" : : "r"(memory) : "memory"); }

// A class constructed in memory that held a byte pattern before, so that what the
// constructor leaves unassigned shows as the pattern.
template <typename T>
class OnPattern {
 public:
  explicit OnPattern(Mode mode) {
    std::memset(storage_, kPattern, sizeof storage_);
    opaque(storage_);
    object_ = new (storage_) T(mode);
    opaque(storage_);
  }
  ~OnPattern() { object_->~T(); }
  OnPattern(const OnPattern&) = delete;
  OnPattern& operator=(const OnPattern&) = delete;

  const T& operator*() const { return *object_; }
  // The member's bytes, read without asking the compiler for a value it never stored.
  template <typename M>
  bool untouched(const M& member) const {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&member);
    for (std::size_t i = 0; i < sizeof(M); ++i) {
      if (bytes[i] != kPattern) return false;
    }
    return true;
  }

 private:
  alignas(T) unsigned char storage_[sizeof(T)];
  T* object_;
};

void expect_pose(const geometry_msgs::msg::Pose& pose, double w) {
  EXPECT_EQ(pose.position.x, 0.0);
  EXPECT_EQ(pose.position.y, 0.0);
  EXPECT_EQ(pose.position.z, 0.0);
  EXPECT_EQ(pose.orientation.x, 0.0);
  EXPECT_EQ(pose.orientation.y, 0.0);
  EXPECT_EQ(pose.orientation.z, 0.0);
  EXPECT_EQ(pose.orientation.w, w);
}

TEST(CppClasses, TrashUnderEachMode) {
  {
    const OnPattern<Trash> all(Mode::ALL);
    EXPECT_EQ((*all).type, 0);
    EXPECT_EQ((*all).location, 0);
    EXPECT_EQ((*all).mainaxis_type, 0);
    expect_pose((*all).grab_pose, 1.0);
    expect_pose((*all).obb_pose, 1.0);
    EXPECT_EQ((*all).obb_size, geometry_msgs::msg::Point(Mode::ZERO));
  }
  {
    const OnPattern<Trash> zero(Mode::ZERO);
    EXPECT_EQ((*zero).type, 0);
    expect_pose((*zero).grab_pose, 0.0);
    expect_pose((*zero).obb_pose, 0.0);
  }
  {
    const OnPattern<Trash> defaults(Mode::DEFAULTS_ONLY);
    const Trash& trash = *defaults;
    EXPECT_TRUE(defaults.untouched(trash.type));
    EXPECT_TRUE(defaults.untouched(trash.location));
    EXPECT_TRUE(defaults.untouched(trash.mainaxis_type));
    EXPECT_TRUE(defaults.untouched(trash.grab_pose.position));
    EXPECT_TRUE(defaults.untouched(trash.obb_size));
    EXPECT_EQ(trash.grab_pose.orientation.x, 0.0);
    EXPECT_EQ(trash.grab_pose.orientation.w, 1.0);
    EXPECT_EQ(trash.obb_pose.orientation.w, 1.0);
  }
  {
    const OnPattern<Trash> skip(Mode::SKIP);
    EXPECT_TRUE(skip.untouched(*skip));
  }
}

TEST(CppClasses, ResultWithAStringUnderAllAndDefaultsOnly) {
  using corvanthelis_interfaces::action::ArmTaskDecision_Result;
  const OnPattern<ArmTaskDecision_Result> all(Mode::ALL);
  EXPECT_FALSE((*all).status);
  EXPECT_EQ((*all).status_code, 0);
  EXPECT_EQ((*all).errmsg, "");
  const OnPattern<ArmTaskDecision_Result> defaults(Mode::DEFAULTS_ONLY);
  EXPECT_TRUE(defaults.untouched((*defaults).status));
  EXPECT_TRUE(defaults.untouched((*defaults).status_code));
  EXPECT_TRUE((*defaults).errmsg.empty());
}

TEST(CppClasses, VectorsAndStringsStartEmptyInEveryMode) {
  for (const Mode mode : {Mode::ALL, Mode::SKIP, Mode::ZERO, Mode::DEFAULTS_ONLY}) {
    const OnPattern<corvanthelis_interfaces::msg::DetectedWastes> wastes(mode);
    EXPECT_TRUE((*wastes).ids.empty());
    EXPECT_TRUE((*wastes).class_names.empty());
    EXPECT_TRUE((*wastes).goal_poses.empty());
    EXPECT_TRUE((*wastes).detected_dis.empty());
    EXPECT_TRUE((*wastes).header.frame_id.empty());
  }
}

TEST(CppClasses, TheConstructorIsExplicitAndDefaultsToAll) {
  static_assert(!std::is_convertible<Mode, Trash>::value, "a mode must not convert to a message");
  static_assert(std::is_default_constructible<Trash>::value, "");
  EXPECT_EQ(Trash(), Trash(Mode::ALL));
  EXPECT_NE(Trash(), Trash(Mode::ZERO));  // the orientations' w
}

TEST(CppClasses, EqualityComparesEveryMemberAsValues) {
  corvanthelis_interfaces::srv::DetectTrash_Response a;
  a.status = 3;
  a.errmsg = "ok";
  a.trashes_detected.resize(2);
  a.trashes_detected[1].obb_pose.position.z = 0.25;
  corvanthelis_interfaces::srv::DetectTrash_Response b = a;
  EXPECT_TRUE(a == b);
  EXPECT_FALSE(a != b);

  b.trashes_detected[1].obb_pose.position.z = 0.5;
  EXPECT_NE(a, b);
  b = a;
  b.errmsg = "ok ";
  EXPECT_NE(a, b);
  b = a;
  b.trashes_detected.pop_back();
  EXPECT_NE(a, b);

  // IEEE comparison: NaN is unequal even to itself, and the two zeros are equal.
  geometry_msgs::msg::Point nan;
  nan.x = std::numeric_limits<double>::quiet_NaN();
  EXPECT_NE(nan, nan);
  geometry_msgs::msg::Point minus_zero;
  minus_zero.y = -0.0;
  EXPECT_EQ(minus_zero, geometry_msgs::msg::Point());
}

TEST(CppClasses, SettersChainAndReturnTheObject) {
  corvanthelis_interfaces::msg::TrashInfo info;
  geometry_msgs::msg::Pose pose;
  pose.position.x = 2.0;
  corvanthelis_interfaces::msg::TrashInfo& same = info.set__class_id(4).set__location(5).set__map_pose(pose);
  EXPECT_EQ(&same, &info);
  EXPECT_EQ(info.class_id, 4);
  EXPECT_EQ(info.location, 5);
  EXPECT_EQ(info.map_pose, pose);

  corvanthelis_interfaces::msg::DetectedWastes wastes;
  wastes.set__ids({1, 2, 3}).set__detected_dis({0.5});
  EXPECT_EQ(wastes.ids, (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(wastes.detected_dis, (std::vector<double>{0.5}));
}

TEST(CppClasses, PointerAliasesAndConstants) {
  static_assert(std::is_same<Trash::SharedPtr, std::shared_ptr<Trash>>::value, "");
  static_assert(std::is_same<Trash::ConstSharedPtr, std::shared_ptr<const Trash>>::value, "");
  static_assert(std::is_same<Trash::UniquePtr, std::unique_ptr<Trash>>::value, "");
  static_assert(std::is_same<Trash::ConstUniquePtr, std::unique_ptr<const Trash>>::value, "");
  static_assert(std::is_same<Trash::WeakPtr, std::weak_ptr<Trash>>::value, "");
  static_assert(std::is_same<Trash::ConstWeakPtr, std::weak_ptr<const Trash>>::value, "");
  static_assert(sensor_msgs::msg::PointField::FLOAT64 == 8, "");
  static_assert(std::is_same<decltype(sensor_msgs::msg::PointField::INT8), const uint8_t>::value, "");
  static_assert(action_msgs::msg::GoalStatus::STATUS_ABORTED == 6, "");
  static_assert(std::is_same<decltype(action_msgs::msg::GoalStatus::STATUS_ABORTED), const int8_t>::value, "");
  // Used by reference, as a client passing a constant to a function template would.
  const std::vector<uint8_t> codes = {sensor_msgs::msg::PointField::INT8, sensor_msgs::msg::PointField::UINT32};
  EXPECT_EQ(codes, (std::vector<uint8_t>{1, 6}));

  const Trash::SharedPtr shared = std::make_shared<Trash>(Mode::ZERO);
  EXPECT_EQ(shared->grab_pose.orientation.w, 0.0);
}

TEST(CppClasses, FixedArraysAreStdArrays) {
  static_assert(std::is_same<unique_identifier_msgs::msg::UUID::_uuid_type, std::array<uint8_t, 16>>::value, "");
  unique_identifier_msgs::msg::UUID id;
  for (uint8_t byte : id.uuid) EXPECT_EQ(byte, 0);
  const OnPattern<unique_identifier_msgs::msg::UUID> skip(Mode::SKIP);
  EXPECT_TRUE(skip.untouched((*skip).uuid));
}

TEST(CppClasses, ServicesAndActionsNameTheirParts) {
  namespace srv = corvanthelis_interfaces::srv;
  namespace action = corvanthelis_interfaces::action;
  static_assert(std::is_same<srv::DetectTrash::Request, srv::DetectTrash_Request>::value, "");
  static_assert(std::is_same<srv::DetectTrash::Response, srv::DetectTrash_Response>::value, "");
  static_assert(std::is_same<srv::TrashCloud::Request, srv::TrashCloud_Request_<std::allocator<void>>>::value, "");
  static_assert(std::is_same<action::ArmTask_SendGoal::Request, action::ArmTask_SendGoal_Request>::value, "");
  static_assert(std::is_same<action::ArmTaskDecision_GetResult::Response,
                             action::ArmTaskDecision_GetResult_Response>::value, "");
  static_assert(std::is_same<action::ArmTask::Goal, action::ArmTask_Goal>::value, "");
  static_assert(std::is_same<action::ArmTask::Result, action::ArmTask_Result>::value, "");
  static_assert(std::is_same<action::ArmTask::Feedback, action::ArmTask_Feedback>::value, "");
  static_assert(std::is_same<action::ArmTask::SendGoalService, action::ArmTask_SendGoal>::value, "");
  static_assert(std::is_same<action::ArmTask::GetResultService, action::ArmTask_GetResult>::value, "");
  static_assert(std::is_same<action::ArmTask::FeedbackMessage, action::ArmTask_FeedbackMessage>::value, "");
  static_assert(std::is_same<action::ArmTaskDecision::Goal::_aim_trash_type,
                             corvanthelis_interfaces::msg::TrashInfo>::value, "");

  // The placeholder of an empty request is an ordinary member.
  srv::TrashCloud_Request request;
  EXPECT_EQ(request.structure_needs_at_least_one_member, 0);
}

}  // namespace
