// What the traits say of every class, service and action, and the YAML that the classes print.

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/cpp_headers.hpp"

namespace {

namespace traits = rosidl_generator_traits;

struct Row {
  std::string kind;
  std::string name;
  std::string cpp_name;
  std::string role;
  std::string wire;
  std::string data_type;
  std::string ros_name;
  bool fixed;
  bool bounded;
  bool message;
  bool request;
  bool response;
  bool goal;
  bool result;
  bool feedback;
  bool service;
};

#define TRAITS_ROW(package, kind, Type, role, c_name, T, infix, max_at_0, wire) \
  Row{#kind,                                                                     \
      #Type,                                                                     \
      #T,                                                                        \
      #role,                                                                     \
      #wire,                                                                     \
      traits::data_type<T>(),                                                    \
      traits::name<T>(),                                                         \
      traits::has_fixed_size<T>::value,                                          \
      traits::has_bounded_size<T>::value,                                        \
      traits::is_message<T>::value,                                              \
      traits::is_service_request<T>::value,                                      \
      traits::is_service_response<T>::value,                                     \
      traits::is_action_goal<T>::value,                                          \
      traits::is_action_result<T>::value,                                        \
      traits::is_action_feedback<T>::value,                                      \
      traits::is_service<T>::value},

bool ends_with(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

TEST(CppTraits, EveryClassIsNamedAndSizedAsItsFieldsSay) {
  const std::vector<Row> rows = {
#define CATALOGUE_STRUCTURE TRAITS_ROW
#include "catalogue/interfaces.def"
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.data_type, row.cpp_name);
    EXPECT_EQ(row.ros_name, "corvanthelis_interfaces/" + row.kind + "/" + row.name);
    // Only a string or a sequence makes a size unbounded; no string or sequence of the package
    // has a bound, so whatever is bounded is fixed too.
    EXPECT_EQ(row.fixed, row.wire != "unbounded");
    EXPECT_EQ(row.bounded, row.fixed);
    EXPECT_TRUE(row.message);
    EXPECT_FALSE(row.service);
    EXPECT_EQ(row.request, ends_with(row.role, "request"));
    EXPECT_EQ(row.response, ends_with(row.role, "response"));
    EXPECT_EQ(row.goal, row.role == "goal");
    EXPECT_EQ(row.result, row.role == "result");
    EXPECT_EQ(row.feedback, row.role == "feedback");
  }
}

TEST(CppTraits, ServicesAndActions) {
  namespace srv = corvanthelis_interfaces::srv;
  namespace action = corvanthelis_interfaces::action;
  EXPECT_STREQ(traits::name<srv::DetectTrash>(), "corvanthelis_interfaces/srv/DetectTrash");
  EXPECT_STREQ(traits::data_type<srv::DetectTrash>(), "corvanthelis_interfaces::srv::DetectTrash");
  static_assert(traits::is_service<srv::DetectTrash>::value, "");
  static_assert(!traits::is_message<srv::DetectTrash>::value, "");
  static_assert(!traits::has_fixed_size<srv::DetectTrash>::value, "the response holds a sequence");
  static_assert(traits::has_fixed_size<srv::GrabSortedTrash>::value, "");
  static_assert(traits::has_bounded_size<action::ArmTask_SendGoal>::value, "");
  static_assert(traits::is_service<action::ArmTaskDecision_GetResult>::value, "");
  EXPECT_STREQ(traits::name<action::ArmTask_GetResult>(), "corvanthelis_interfaces/action/ArmTask_GetResult");

  static_assert(traits::is_action<action::ArmTask>::value, "");
  static_assert(!traits::is_service<action::ArmTask>::value, "");
  static_assert(!traits::has_fixed_size<action::ArmTask>::value, "the result holds a string");
  EXPECT_STREQ(traits::name<action::ArmTaskDecision>(), "corvanthelis_interfaces/action/ArmTaskDecision");
  EXPECT_STREQ(traits::data_type<action::ArmTask>(), "corvanthelis_interfaces::action::ArmTask");

  // The stand-in packages' classes carry their own names.
  EXPECT_STREQ(traits::name<geometry_msgs::msg::Pose>(), "geometry_msgs/msg/Pose");
  static_assert(traits::has_fixed_size<unique_identifier_msgs::msg::UUID>::value, "");
  static_assert(!traits::has_bounded_size<sensor_msgs::msg::Image>::value, "");
}

corvanthelis_interfaces::msg::DetectedWastes sample_wastes() {
  corvanthelis_interfaces::msg::DetectedWastes wastes;
  wastes.header.stamp.sec = 5;
  wastes.header.stamp.nanosec = 6;
  wastes.header.frame_id = "cam\n\"1\"";
  wastes.ids = {1, -2};
  geometry_msgs::msg::Pose pose;
  pose.position.set__x(1.0).set__y(2.0).set__z(3.0);
  wastes.goal_poses = {pose, geometry_msgs::msg::Pose()};
  wastes.goal_poses[1].orientation.w = 0.5;
  wastes.detected_dis = {0.5};
  return wastes;
}

TEST(CppYaml, BlockStyleNestsMessagesAndListsSequences) {
  const std::string expected =
      "header:\n"
      "  stamp:\n"
      "    sec: 5\n"
      "    nanosec: 6\n"
      "  frame_id: \"cam\\n\\\"1\\\"\"\n"
      "ids: [1, -2]\n"
      "class_names: []\n"
      "goal_poses:\n"
      "  - position:\n"
      "      x: 1.00000\n"
      "      y: 2.00000\n"
      "      z: 3.00000\n"
      "    orientation:\n"
      "      x: 0.00000\n"
      "      y: 0.00000\n"
      "      z: 0.00000\n"
      "      w: 1.00000\n"
      "  - position:\n"
      "      x: 0.00000\n"
      "      y: 0.00000\n"
      "      z: 0.00000\n"
      "    orientation:\n"
      "      x: 0.00000\n"
      "      y: 0.00000\n"
      "      z: 0.00000\n"
      "      w: 0.500000\n"
      "detected_dis: [0.500000]\n";
  const auto wastes = sample_wastes();
  EXPECT_EQ(to_yaml(wastes), expected);
  std::ostringstream streamed;
  streamed << wastes;
  EXPECT_EQ(streamed.str(), expected);
}

TEST(CppYaml, FlowStyleIsOneLine) {
  const std::string expected =
      "{header: {stamp: {sec: 5, nanosec: 6}, frame_id: \"cam\\n\\\"1\\\"\"}, ids: [1, -2], class_names: [], "
      "goal_poses: [{position: {x: 1.00000, y: 2.00000, z: 3.00000}, "
      "orientation: {x: 0.00000, y: 0.00000, z: 0.00000, w: 1.00000}}, "
      "{position: {x: 0.00000, y: 0.00000, z: 0.00000}, "
      "orientation: {x: 0.00000, y: 0.00000, z: 0.00000, w: 0.500000}}], detected_dis: [0.500000]}";
  const auto wastes = sample_wastes();
  EXPECT_EQ(to_yaml(wastes, true), expected);
  EXPECT_EQ(to_flow_style_yaml(wastes), expected);
}

TEST(CppYaml, EmptySequencesOfMessagesAndOtherKindsOfValue) {
  corvanthelis_interfaces::msg::Trashes trashes;
  EXPECT_EQ(to_yaml(trashes), "header:\n  stamp:\n    sec: 0\n    nanosec: 0\n  frame_id: \"\"\ntrashes: []\n");
  corvanthelis_interfaces::action::ArmTaskDecision_GetResult_Response response;
  response.status = -3;
  response.result.status = true;
  response.result.errmsg = "tab\there";
  EXPECT_EQ(to_yaml(response, true), "{status: -3, result: {status: true, status_code: 0, errmsg: \"tab\\there\"}}");
  unique_identifier_msgs::msg::UUID id;
  id.uuid[0] = 255;
  EXPECT_EQ(to_yaml(id, true), "{uuid: [255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]}");
}

}  // namespace
