// Byte-exact encodings: the C side is the reference wire format of the package, so every
// padding decision is pinned here against hand-assembled bytes, in both directions.

#include <gtest/gtest.h>
#include <rosidl_runtime_c/primitives_sequence_functions.h>
#include <rosidl_runtime_c/string_functions.h>

#include <cstring>
#include <functional>
#include <string>

#include "bytes.hpp"
#include "catalogue.hpp"
#include "catalogue_headers.hpp"

namespace ser {
namespace {

#define SET(kind, T, ...)                                               \
  [](void* p) {                                                         \
    auto& m = *static_cast<corvanthelis_interfaces__##kind##__##T*>(p); \
    __VA_ARGS__;                                                        \
  }

void pose_at(geometry_msgs__msg__Pose& p, double x, double y, double z) {
  p.position.x = x;
  p.position.y = y;
  p.position.z = z;
}
void point_at(geometry_msgs__msg__Point& p, double x, double y, double z) {
  p.x = x;
  p.y = y;
  p.z = z;
}
void uuid_counting(unique_identifier_msgs__msg__UUID& u) {
  for (int i = 0; i < 16; ++i) u.uuid[i] = static_cast<uint8_t>(i);
}
void small_cloud(sensor_msgs__msg__PointCloud2& c) {
  c.header.stamp.sec = 1;
  c.header.stamp.nanosec = 2;
  c.height = 3;
  c.width = 4;
  c.is_bigendian = true;
  c.point_step = 5;
  c.row_step = 6;
  rosidl_runtime_c__uint8__Sequence__init(&c.data, 1);
  c.data.data[0] = 0xAB;
  c.is_dense = true;
}
Bytes& small_cloud_bytes(Bytes& b) {
  return b.u32(1)
      .u32(2)
      .str("")
      .pad(3)
      .u32(3)
      .u32(4)
      .u32(0)
      .u8(1)
      .pad(3)
      .u32(5)
      .u32(6)
      .u32(1)
      .u8(0xAB)
      .u8(1);
}

struct Golden {
  const char* type;
  const char* what;
  std::function<void(void*)> set;
  Bytes bytes;
};

std::vector<Golden> goldens() {
  Bytes cloud_msg, cloud_srv;
  small_cloud_bytes(cloud_msg.u8(9).pad(3));
  small_cloud_bytes(cloud_srv.u8(9).pad(3));
  return {
      {"DetectTrash_Request", "int32 then octet",
       SET(srv, DetectTrash_Request, m.cmd = 1; m.cam_choice = 2), Bytes().u32(1).u8(2)},
      {"ArmGrab_Response", "string counts its NUL",
       SET(srv, ArmGrab_Response, m.status = 0; set_string(m.errmsg, "ok")),
       Bytes().u32(0).str("ok")},
      {"GrabSortedTrash_Request", "7 bytes before a Pose",
       SET(srv, GrabSortedTrash_Request, m.trash_type = 7; pose_at(m.target_pose, 1, 2, 3);
           m.rot_x = 4; m.rot_y = 5; m.rot_z = 6),
       Bytes().u8(7).pad(7).pose(1, 2, 3).f64(4).f64(5).f64(6)},
      {"TrashCloud_Request", "placeholder member is one octet",
       SET(srv, TrashCloud_Request, m.structure_needs_at_least_one_member = 0x5A),
       Bytes().u8(0x5A)},
      {"DetectTrash_Response", "empty sequence and string",
       SET(srv, DetectTrash_Response, m.status = 0), Bytes().u32(0).u32(0).str("")},
      {"DetectTrash_Response", "one Trash element inline",
       SET(srv, DetectTrash_Response, m.status = -3;
           corvanthelis_interfaces__msg__Trash__Sequence__init(&m.trashes_detected, 1);
           auto& t = m.trashes_detected.data[0]; t.type = 1; t.location = 2; t.mainaxis_type = 3;
           pose_at(t.grab_pose, 1, 2, 3); pose_at(t.obb_pose, 4, 5, 6);
           point_at(t.obb_size, 7, 8, 9); set_string(m.errmsg, "no")),
       Bytes()
           .u32(0xFFFFFFFD)
           .u32(1)
           .u8(1)
           .u8(2)
           .u8(3)
           .pad(5)
           .pose(1, 2, 3)
           .pose(4, 5, 6)
           .point(7, 8, 9)
           .str("no")},
      {"ArmTask_SendGoal_Response", "3 bytes before Time",
       SET(action, ArmTask_SendGoal_Response, m.accepted = true; m.stamp.sec = 1;
           m.stamp.nanosec = 2),
       Bytes().u8(1).pad(3).u32(1).u32(2)},
      {"ArmTaskDecision_SendGoal_Response", "3 bytes before Time",
       SET(action, ArmTaskDecision_SendGoal_Response, m.accepted = true; m.stamp.sec = 1;
           m.stamp.nanosec = 2),
       Bytes().u8(1).pad(3).u32(1).u32(2)},
      {"ArmTaskDecision_GetResult_Response", "no padding before a bool, then 2",
       SET(action, ArmTaskDecision_GetResult_Response, m.status = 2; m.result.status = true;
           m.result.status_code = 5),
       Bytes().u8(2).u8(1).pad(2).u32(5).str("")},
      {"ArmTask_GetResult_Response", "3 bytes before a nested int32",
       SET(action, ArmTask_GetResult_Response, m.status = -1; m.result.status = 7),
       Bytes().u8(0xFF).pad(3).u32(7).str("").pad(3).u32(0)},
      {"Trash", "5 bytes after three octets",
       SET(msg, Trash, m.type = 1; m.location = 2; m.mainaxis_type = 3;
           pose_at(m.grab_pose, 1, 2, 3); pose_at(m.obb_pose, 4, 5, 6);
           point_at(m.obb_size, 7, 8, 9)),
       Bytes().u8(1).u8(2).u8(3).pad(5).pose(1, 2, 3).pose(4, 5, 6).point(7, 8, 9)},
      {"TrashInfo", "5 bytes after three octets",
       SET(msg, TrashInfo, m.class_id = 1; m.location = 2; m.mainaxis_type = 3;
           pose_at(m.map_pose, 1, 1, 1); pose_at(m.grab_pose, 2, 2, 2);
           pose_at(m.obb_pose, 3, 3, 3); point_at(m.obb_size, 4, 4, 4)),
       Bytes().u8(1).u8(2).u8(3).pad(5).pose(1, 1, 1).pose(2, 2, 2).pose(3, 3, 3).point(4, 4, 4)},
      {"ArmGrab_Request", "3 bytes after int32 and octet",
       SET(srv, ArmGrab_Request, m.cmd = 1; m.trash_type = 2; pose_at(m.target_pose, 1, 2, 3);
           pose_at(m.obb_pose, 4, 5, 6); point_at(m.obb_size, 7, 8, 9)),
       Bytes().u32(1).u8(2).pad(3).pose(1, 2, 3).pose(4, 5, 6).point(7, 8, 9)},
      {"GrabTrashCloud", "3 bytes before PointCloud2",
       SET(msg, GrabTrashCloud, m.trash_type = 9; small_cloud(m.trash_cloud)), cloud_msg},
      {"TrashCloud_Response", "3 bytes before PointCloud2",
       SET(srv, TrashCloud_Response, m.trash_type = 9; small_cloud(m.trash_cloud)), cloud_srv},
      {"GrabSortedTrash_Response", "true writes 1",
       SET(srv, GrabSortedTrash_Response, m.isgrab_done = true), Bytes().u8(1)},
      {"ElevatorButtonPose_Request", "uint32 max is four 0xFF",
       SET(srv, ElevatorButtonPose_Request, m.pixel_x = 4294967295u; m.pixel_y = 1),
       Bytes().u32(0).u8(0).pad(3).u32(0xFFFFFFFF).u32(1)},
      {"ArmTask_GetResult_Request", "UUID is 16 octets without a count",
       SET(action, ArmTask_GetResult_Request, uuid_counting(m.goal_id)), Bytes().uuid()},
      {"ArmTask_SendGoal_Request", "UUID then int32, no padding",
       SET(action, ArmTask_SendGoal_Request, uuid_counting(m.goal_id); m.goal.cmd = -2),
       Bytes().uuid().u32(0xFFFFFFFE)},
      {"DetectedWastes", "primitive arrays; 4 bytes before the first float64",
       SET(msg, DetectedWastes, m.header.stamp.sec = 1; m.header.stamp.nanosec = 2;
           rosidl_runtime_c__int32__Sequence__init(&m.ids, 1); m.ids.data[0] = 7;
           rosidl_runtime_c__double__Sequence__init(&m.detected_dis, 1);
           m.detected_dis.data[0] = 0.5),
       Bytes().u32(1).u32(2).str("").pad(3).u32(1).u32(7).u32(0).u32(0).u32(1).pad(4).f64(0.5)},
      {"SamProcess_Response", "2 bytes before a sequence count",
       SET(srv, SamProcess_Response, m.is_processed = true; m.process_status = 3;
           geometry_msgs__msg__Point__Sequence__init(&m.pixel_coords, 1);
           point_at(m.pixel_coords.data[0], 1, 2, 3)),
       Bytes().u8(1).u8(3).pad(2).u32(1).point(1, 2, 3)},
      {"ArmMoveJoints_Request", "Float64MultiArray after a Pose",
       SET(srv, ArmMoveJoints_Request, m.cmd = 1; pose_at(m.target_pose, 1, 2, 3);
           std_msgs__msg__MultiArrayDimension__Sequence__init(&m.target_joints.layout.dim, 1);
           set_string(m.target_joints.layout.dim.data[0].label, "a");
           m.target_joints.layout.dim.data[0].size = 2;
           m.target_joints.layout.dim.data[0].stride = 1;
           rosidl_runtime_c__double__Sequence__init(&m.target_joints.data, 1);
           m.target_joints.data.data[0] = 2.5),
       Bytes()
           .u32(1)
           .pad(4)
           .pose(1, 2, 3)
           .u32(1)
           .str("a")
           .pad(2)
           .u32(2)
           .u32(1)
           .u32(0)
           .u32(1)
           .pad(4)
           .f64(2.5)},
  };
}

TEST(Wire, GoldenBytesBothWays) {
  for (const Golden& g : goldens()) {
    SCOPED_TRACE(std::string(g.type) + ": " + g.what);
    const TypeRow& row = type(g.type);
    void* msg = row.create();
    g.set(msg);
    EXPECT_EQ(write(row, msg), g.bytes.b);
    EXPECT_EQ(row.size(msg, 0), g.bytes.b.size());
    EXPECT_EQ(row.callbacks()->get_serialized_size(msg), g.bytes.b.size());

    // Whatever sits in the padding must not leak into the values read.
    Stream in(g.bytes.garbled());
    void* back = row.create();
    EXPECT_TRUE(row.callbacks()->cdr_deserialize(in.cdr, back));
    EXPECT_EQ(in.cdr.getSerializedDataLength(), g.bytes.b.size());
    EXPECT_TRUE(row.equal(msg, back));
    row.destroy(back);
    row.destroy(msg);
  }
}

TEST(Wire, AnyNonZeroOctetReadsAsTrue) {
  struct Case {
    const char* type;
    std::vector<uint8_t> bytes;
    std::function<bool(const void*)> flag;
    bool expected;
    size_t flag_at;
  };
  const auto grab_done = [](const void* p) {
    return static_cast<const corvanthelis_interfaces__srv__GrabSortedTrash_Response*>(p)
        ->isgrab_done;
  };
  const auto accepted = [](const void* p) {
    return static_cast<const corvanthelis_interfaces__action__ArmTask_SendGoal_Response*>(p)
        ->accepted;
  };
  const auto nested = [](const void* p) {
    return static_cast<const corvanthelis_interfaces__action__ArmTaskDecision_GetResult_Response*>(
               p)
        ->result.status;
  };
  const std::vector<Case> cases = {
      {"GrabSortedTrash_Response", {2}, grab_done, true, 0},
      {"GrabSortedTrash_Response", {0}, grab_done, false, 0},
      {"ArmTask_SendGoal_Response", {0xFF, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0}, accepted, true, 0},
      {"ArmTaskDecision_GetResult_Response",
       {2, 0x80, 0, 0, 5, 0, 0, 0, 1, 0, 0, 0, 0},
       nested,
       true,
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    const TypeRow& row = type(c.type);
    Stream in(c.bytes);
    void* msg = row.create();
    ASSERT_TRUE(row.callbacks()->cdr_deserialize(in.cdr, msg));
    EXPECT_EQ(c.flag(msg), c.expected);
    // Whatever octet made it true, it goes out as 1.
    const std::vector<uint8_t> out = write(row, msg);
    ASSERT_GT(out.size(), c.flag_at);
    EXPECT_EQ(out[c.flag_at], c.expected ? 1 : 0);
    row.destroy(msg);
  }
}

TEST(Wire, StringsStopAtTheFirstNul) {
  const TypeRow& row = type("ArmGrab_Response");
  auto* msg = static_cast<corvanthelis_interfaces__srv__ArmGrab_Response*>(row.create());
  set_string(msg->errmsg, "abxcd");
  msg->errmsg.data[2] = '\0';
  EXPECT_EQ(write(row, msg), Bytes().u32(0).str("ab").b);
  // The size computation trusts the record's size member, not the characters.
  EXPECT_EQ(row.size(msg, 0), 4u + 4u + 6u);

  Stream in(Bytes().u32(0).u32(6).u8('a').u8('b').u8(0).u8('c').u8('d').u8(0).b);
  ASSERT_TRUE(row.callbacks()->cdr_deserialize(in.cdr, msg));
  EXPECT_EQ(msg->errmsg.size, 2u);
  EXPECT_STREQ(msg->errmsg.data, "ab");
  row.destroy(msg);
}

}  // namespace
}  // namespace ser
