// The inspect tool's echo and pub as a user runs them: they know the type by name only; echo
// prints what a node of ours publishes, pub sends what echo then prints.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "c_types.hpp"
#include "peer_process.hpp"
#include "rosidl_runtime_c/string_functions.h"
#include "transport/node.hpp"

namespace {

using namespace std::chrono_literals;

constexpr uint32_t kDomain = TEST_DOMAIN;
constexpr auto kPatience = 20s;


TEST(InspectEcho, PrintsEachSampleOfATopicAsYaml) {
  const std::string partition = transport_test::run_partition("inspect_echo");
  const transport_test::OutputFile output(partition);
  transport::Node node("talker", {kDomain, partition});
  transport::Publisher publisher(node, "/trashes", transport_test::trashes_c());
  transport_test::PeerProcess tool(
      {INSPECT_TOOL, "echo", "/trashes", "corvanthelis_interfaces/msg/Trashes", "--count", "2",
       "--timeout", "20", "--domain", std::to_string(kDomain), "--partition", partition},
      output.path);
  ASSERT_TRUE(publisher.wait_for_subscribers(1, kPatience));

  transport::MessagePtr first = transport::make_message(transport_test::trashes_c().ops);
  auto& trashes = *static_cast<corvanthelis_interfaces__msg__Trashes*>(first.get());
  trashes.header.stamp.sec = 12;
  trashes.header.stamp.nanosec = 500;
  ASSERT_TRUE(rosidl_runtime_c__String__assign(&trashes.header.frame_id, "cam \"left\""));
  ASSERT_TRUE(corvanthelis_interfaces__msg__Trash__Sequence__init(&trashes.trashes, 1));
  trashes.trashes.data[0].type = 2;
  trashes.trashes.data[0].grab_pose.position.x = 0.25;
  trashes.trashes.data[0].obb_size.z = -1.5;
  ASSERT_TRUE(publisher.publish(first.get()));
  transport::MessagePtr second = transport::make_message(transport_test::trashes_c().ops);
  ASSERT_TRUE(publisher.publish(second.get()));
  ASSERT_EQ(tool.wait(kPatience), 0);

  const std::string pose_at_zero =
      "      position:\n        x: 0\n        y: 0\n        z: 0\n"
      "      orientation:\n        x: 0\n        y: 0\n        z: 0\n        w: 1\n";
  EXPECT_EQ(
      output.text(),
      "header:\n  stamp:\n    sec: 12\n    nanosec: 500\n  frame_id: \"cam \\\"left\\\"\"\n"
      "trashes:\n  - type: 2\n    location: 0\n    mainaxis_type: 0\n"
      "    grab_pose:\n      position:\n        x: 0.25\n        y: 0\n        z: 0\n"
      "      orientation:\n        x: 0\n        y: 0\n        z: 0\n        w: 1\n"
      "    obb_pose:\n" +
          pose_at_zero +
          "    obb_size:\n      x: 0\n      y: 0\n      z: -1.5\n"
          "---\n"
          "header:\n  stamp:\n    sec: 0\n    nanosec: 0\n  frame_id: \"\"\ntrashes: []\n---\n");
}

TEST(InspectEcho, PrintsWhatPubSends) {
  const std::string partition = transport_test::run_partition("inspect_pub");
  const transport_test::OutputFile output(partition);
  const std::vector<std::string> place = {"--domain", std::to_string(kDomain), "--partition",
                                          partition};
  std::vector<std::string> echo = {INSPECT_TOOL, "echo", "/points",   "geometry_msgs/msg/Point",
                                   "--count",    "1",    "--timeout", "20"};
  echo.insert(echo.end(), place.begin(), place.end());
  std::vector<std::string> pub = {INSPECT_TOOL,      "pub",    "/points", "geometry_msgs/msg/Point",
                                  "{x: 1.5, z: -2}", "--wait", "20"};
  pub.insert(pub.end(), place.begin(), place.end());
  transport_test::PeerProcess listener(echo, output.path);
  transport_test::PeerProcess talker(pub);
  EXPECT_EQ(talker.wait(kPatience), 0);
  ASSERT_EQ(listener.wait(kPatience), 0);
  EXPECT_EQ(output.text(), "x: 1.5\ny: 0\nz: -2\n---\n");
}

TEST(InspectEcho, PubGivesUpWithoutSubscriber) {
  const std::string partition = transport_test::run_partition("inspect_pub_alone");
  transport_test::PeerProcess talker({INSPECT_TOOL, "pub", "/points", "geometry_msgs/msg/Point",
                                      "{x: 1}", "--wait", "1", "--domain", std::to_string(kDomain),
                                      "--partition", partition});
  EXPECT_EQ(talker.wait(kPatience), 1);
}

TEST(InspectEcho, GivesUpWhenFewerSamplesComeInTime) {
  const std::string partition = transport_test::run_partition("inspect_echo_none");
  transport_test::PeerProcess tool(
      {INSPECT_TOOL, "echo", "/nobody_talks", "corvanthelis_interfaces/msg/Trashes", "--count", "1",
       "--timeout", "1", "--domain", std::to_string(kDomain), "--partition", partition});
  EXPECT_EQ(tool.wait(kPatience), 1);
}

}  // namespace
