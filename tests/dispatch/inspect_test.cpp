// The inspect tool as a user runs it: output, error line and exit status.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "corvanthelis_interfaces/srv/detect_trash.h"
#include "corvanthelis_interfaces/srv/detect_trash.hpp"

namespace {

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

std::string slurp(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

ToolRun inspect(const std::string& arguments) {
  // CTest runs the cases of this file as parallel processes: one pair of files each.
  const std::string base = ::testing::TempDir() + "inspect_test_" + std::to_string(getpid());
  const std::string command =
      std::string("'") + INSPECT_TOOL + "' " + arguments + " >'" + base + ".out' 2>'" + base + ".err'";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(base + ".out"), slurp(base + ".err")};
}

void expect_one_line_failure(const ToolRun& run) {
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.out.empty()) << run.out;
  ASSERT_FALSE(run.err.empty());
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
}

// DetectTrash_Response: status 1, one Trash (type 2, location 3, mainaxis_type 1, poses and a
// size), errmsg "ok".
const char* const kSample =
    "00010000 01000000 01000000 020301 0000000000"
    " 000000000000e03f 000000000000f4bf 0000000000000040 0000000000000000 0000000000000000"
    " 0000000000000000 000000000000f03f 000000000000f83f 0000000000000440 000000000000d03f"
    " 0000000000000000 0000000000000000 cd3b7f669ea0e63f cd3b7f669ea0e63f 9a9999999999c93f"
    " 9a9999999999b93f 9a9999999999a93f 03000000 6f6b00";

TEST(InspectTool, ShowPrintsTheLayoutWithNestedTypes) {
  const ToolRun run = inspect("show corvanthelis_interfaces/srv/DetectTrash_Response");
  ASSERT_EQ(run.status, 0) << run.err;
  using Response = corvanthelis_interfaces__srv__DetectTrash_Response;
  EXPECT_EQ(run.out.rfind("corvanthelis_interfaces/srv/DetectTrash_Response  size " +
                              std::to_string(sizeof(Response)) + "\n", 0),
            0u)
      << run.out;
  EXPECT_NE(run.out.find("\n  trashes_detected: corvanthelis_interfaces/msg/Trash[]  offset " +
                         std::to_string(offsetof(Response, trashes_detected)) + "  size 24\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("\n    grab_pose: geometry_msgs/msg/Pose  offset " +
                         std::to_string(offsetof(corvanthelis_interfaces__msg__Trash, grab_pose))),
            std::string::npos);
  EXPECT_NE(run.out.find("\n        w: float64  offset 24  size 8\n"), std::string::npos);
  EXPECT_NE(run.out.find("\n  errmsg: string  offset " + std::to_string(offsetof(Response, errmsg))),
            std::string::npos);
}

TEST(InspectTool, ShowPrintsTheCppLayoutAfterTheCOne) {
  const ToolRun run = inspect("show corvanthelis_interfaces/srv/DetectTrash_Response");
  ASSERT_EQ(run.status, 0) << run.err;
  using Response = corvanthelis_interfaces::srv::DetectTrash_Response;
  const auto cpp = run.out.find("\ncorvanthelis_interfaces::srv::DetectTrash_Response  size " +
                                std::to_string(sizeof(Response)) + "\n");
  ASSERT_NE(cpp, std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\n  errmsg: string  offset " + std::to_string(offsetof(Response, errmsg)) + "  size " +
                             std::to_string(sizeof(std::string)) + "\n",
                         cpp),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("\n    obb_size: geometry_msgs/msg/Point  offset " +
                             std::to_string(offsetof(corvanthelis_interfaces::msg::Trash, obb_size)),
                         cpp),
            std::string::npos);
}

TEST(InspectTool, DecodePrintsTheValueAsYaml) {
  const ToolRun run = inspect(std::string("decode corvanthelis_interfaces/srv/DetectTrash_Response '") + kSample + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("status: 1\ntrashes_detected:\n  - type: 2\n    location: 3\n    mainaxis_type: 1\n"
                          "    grab_pose:\n      position:\n        x: 0.5\n        y: -1.25\n",
                          0),
            0u)
      << run.out;
  EXPECT_NE(run.out.find("        z: 0.7071067811865476\n"), std::string::npos);
  EXPECT_NE(run.out.find("\n    obb_size:\n      x: 0.2\n      y: 0.1\n      z: 0.05\nerrmsg: \"ok\"\n"),
            std::string::npos)
      << run.out;
}

TEST(InspectTool, DecodeOfEmptySequencesAndEscapedText) {
  // Trashes: header (stamp 5 s 6 ns, frame_id "a\"b\n"), no trashes.
  const ToolRun run = inspect(
      "decode corvanthelis_interfaces/msg/Trashes "
      "'00010000 05000000 06000000 05000000 6122620a00 000000 00000000'");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "header:\n  stamp:\n    sec: 5\n    nanosec: 6\n  frame_id: \"a\\\"b\\x0a\"\ntrashes: []\n");
}

TEST(InspectTool, FailuresAreOneLineAndStatusOne) {
  expect_one_line_failure(inspect("show corvanthelis_interfaces/msg/NoSuchType"));
  expect_one_line_failure(inspect("show no_such_package/msg/Trash"));
  expect_one_line_failure(inspect("show ../corvanthelis_interfaces/msg/Trash"));
  expect_one_line_failure(inspect("decode corvanthelis_interfaces/msg/Trash 00010000zz"));
  expect_one_line_failure(inspect("decode corvanthelis_interfaces/msg/Trash 0001000"));
  expect_one_line_failure(inspect("decode corvanthelis_interfaces/msg/Trash 0001"));
  // Cut short in the middle of the first pose.
  expect_one_line_failure(inspect("decode corvanthelis_interfaces/srv/DetectTrash_Response "
                                  "0001000001000000010000000203010000000000000000000000e03f"));
}

std::string without_spaces(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return text;
}

TEST(InspectTool, EncodeWritesTheBytesDecodeReads) {
  // The value of kSample, in YAML flow style; left-out members keep their initial values.
  const ToolRun run = inspect(
      "encode corvanthelis_interfaces/srv/DetectTrash_Response '{status: 1, trashes_detected: [{type: 2, "
      "location: 3, mainaxis_type: 1, grab_pose: {position: {x: 0.5, y: -1.25, z: 2}}, "
      "obb_pose: {position: {x: 1.5, y: 2.5, z: 0.25}, orientation: {z: 0.7071067811865476, w: 0.7071067811865476}}, "
      "obb_size: {x: 0.2, y: 0.1, z: 0.05}}], errmsg: \"ok\"}'");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, without_spaces(kSample) + "\n");

  // JSON, escapes and a fixed array, there and back.
  const ToolRun uuid = inspect("encode unique_identifier_msgs/msg/UUID "
                               "'{\"uuid\": [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 255]}'");
  ASSERT_EQ(uuid.status, 0) << uuid.err;
  EXPECT_EQ(uuid.out, "000100000102030405060708090a0b0c0d0e0fff\n");
  const ToolRun text = inspect("encode corvanthelis_interfaces/msg/Trashes '{header: {frame_id: \"a\\\"b\\n\"}}'");
  ASSERT_EQ(text.status, 0) << text.err;
  const ToolRun back = inspect("decode corvanthelis_interfaces/msg/Trashes " + text.out.substr(0, text.out.size() - 1));
  EXPECT_EQ(back.out, "header:\n  stamp:\n    sec: 0\n    nanosec: 0\n  frame_id: \"a\\\"b\\x0a\"\ntrashes: []\n");
}

TEST(InspectTool, EncodeRefusesWhatTheTypeCannotHold) {
  const std::string trash = "encode corvanthelis_interfaces/msg/Trash ";
  expect_one_line_failure(inspect(trash + "'{type: 256}'"));
  expect_one_line_failure(inspect(trash + "'{type: -1}'"));
  expect_one_line_failure(inspect(trash + "'{type: 1.5}'"));
  expect_one_line_failure(inspect(trash + "'{type: \"1\"}'"));
  expect_one_line_failure(inspect(trash + "'{kind: 1}'"));
  expect_one_line_failure(inspect(trash + "'{type: 1, type: 2}'"));
  expect_one_line_failure(inspect(trash + "'{grab_pose: {position: {x: 1e999}}}'"));
  expect_one_line_failure(inspect(trash + "'{grab_pose: {position: {x: nan}}}'"));
  expect_one_line_failure(inspect(trash + "'{type: 1'"));
  expect_one_line_failure(inspect(trash + "'{type: 1} {}'"));
  expect_one_line_failure(inspect(trash + "'[1]'"));
  expect_one_line_failure(inspect("encode unique_identifier_msgs/msg/UUID '{uuid: [1, 2]}'"));
  // A C string cannot carry a NUL through.
  expect_one_line_failure(inspect("encode corvanthelis_interfaces/srv/ArmGrab_Response '{errmsg: \"a\\u0000b\"}'"));
  // Nesting far beyond any type's fails instead of exhausting the stack.
  expect_one_line_failure(inspect(trash + "'" + std::string(100000, '[') + "'"));
}

TEST(InspectTool, HostileCountsFailCleanly) {
  // Element counts far beyond the bytes that follow.
  expect_one_line_failure(inspect("decode corvanthelis_interfaces/srv/DetectTrash_Response 0001000001000000ffffffff"));
  expect_one_line_failure(inspect("decode corvanthelis_interfaces/msg/TrashInfos 00010000ffffff7f"));
  expect_one_line_failure(inspect("decode corvanthelis_interfaces/msg/DetectedWastes "
                                  "'00010000 00000000 00000000 01000000 00 000000 ffffffff'"));
  // A string length beyond the input.
  expect_one_line_failure(inspect("decode corvanthelis_interfaces/srv/DetectTrash_Response "
                                  "'00010000 01000000 00000000 ffffff7f 6f6b00'"));
}

}  // namespace
