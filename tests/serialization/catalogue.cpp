#include "catalogue.hpp"

#include <rosidl_runtime_c/primitives_sequence_functions.h>
#include <rosidl_runtime_c/string_functions.h>

#include <cstdlib>
#include <stdexcept>

#include "catalogue_headers.hpp"

namespace ser {
namespace {

#define CI(kind, T) corvanthelis_interfaces__##kind##__##T

// Sequence contents are replaced wholesale so that a fill never depends on what was there.
#define RESIZE(seq, prefix, n)                                \
  do {                                                        \
    prefix##__Sequence__fini(&(seq));                         \
    if (!prefix##__Sequence__init(&(seq), (n))) std::abort(); \
  } while (0)

size_t count_for(int v) { return v == 0 ? 0 : v == 1 ? 1 : 3; }
const char* text_for(int v) { return v == 0 ? "" : v == 1 ? "ok" : "gripper blocked at joint 3"; }
double real(int v, int k) { return v * 10.5 + k * 0.25 - 3.0; }

void fill_point(geometry_msgs__msg__Point& p, int v, int k) {
  p.x = real(v, k);
  p.y = real(v, k + 1);
  p.z = -real(v, k + 2);
}
void fill_pose(geometry_msgs__msg__Pose& p, int v, int k) {
  fill_point(p.position, v, k);
  p.orientation.x = 0.5 * v;
  p.orientation.y = -0.5;
  p.orientation.z = 0.125 * k;
  p.orientation.w = 0.75;
}
void fill_time(builtin_interfaces__msg__Time& t, int v) {
  t.sec = -7 * v - 1;
  t.nanosec = 4000000000u - static_cast<uint32_t>(v);
}
void fill_header(std_msgs__msg__Header& h, int v) {
  fill_time(h.stamp, v);
  set_string(h.frame_id, v == 0 ? "" : "camera_link");
}
void fill_uuid(unique_identifier_msgs__msg__UUID& u, int v) {
  for (int i = 0; i < 16; ++i) u.uuid[i] = static_cast<uint8_t>(i * 17 + v);
}
void fill_f64ma(std_msgs__msg__Float64MultiArray& a, int v) {
  const size_t n = count_for(v);
  RESIZE(a.layout.dim, std_msgs__msg__MultiArrayDimension, n);
  for (size_t i = 0; i < n; ++i) {
    set_string(a.layout.dim.data[i].label, i % 2 ? "" : "joint");
    a.layout.dim.data[i].size = static_cast<uint32_t>(6 + i);
    a.layout.dim.data[i].stride = static_cast<uint32_t>(1 + i);
  }
  a.layout.data_offset = static_cast<uint32_t>(v);
  RESIZE(a.data, rosidl_runtime_c__double, 2 * n);
  for (size_t i = 0; i < 2 * n; ++i) a.data.data[i] = real(v, static_cast<int>(i));
}
void fill_pc2(sensor_msgs__msg__PointCloud2& c, int v) {
  fill_header(c.header, v);
  c.height = 1;
  c.width = static_cast<uint32_t>(count_for(v));
  RESIZE(c.fields, sensor_msgs__msg__PointField, count_for(v));
  for (size_t i = 0; i < c.fields.size; ++i) {
    set_string(c.fields.data[i].name, i == 1 ? "" : "xyz");
    c.fields.data[i].offset = static_cast<uint32_t>(4 * i);
    c.fields.data[i].datatype = 7;
    c.fields.data[i].count = 1;
  }
  c.is_bigendian = v == 2;
  c.point_step = 12;
  c.row_step = 12 * c.width;
  RESIZE(c.data, rosidl_runtime_c__uint8, 5 * count_for(v));
  for (size_t i = 0; i < c.data.size; ++i) c.data.data[i] = static_cast<uint8_t>(i * 31 + 1);
  c.is_dense = v != 1;
}
void fill_image(sensor_msgs__msg__Image& m, int v) {
  fill_header(m.header, v);
  m.height = static_cast<uint32_t>(v + 1);
  m.width = 3;
  set_string(m.encoding, v == 0 ? "" : "rgb8");
  m.is_bigendian = static_cast<uint8_t>(v);
  m.step = 9;
  RESIZE(m.data, rosidl_runtime_c__uint8, 3 * count_for(v));
  for (size_t i = 0; i < m.data.size; ++i) m.data.data[i] = static_cast<uint8_t>(255 - i);
}
void fill_trash(CI(msg, Trash) & t, int v, int k) {
  t.type = static_cast<uint8_t>(1 + v);
  t.location = static_cast<uint8_t>(k);
  t.mainaxis_type = 0xFE;
  fill_pose(t.grab_pose, v, k);
  fill_pose(t.obb_pose, v, k + 7);
  fill_point(t.obb_size, v, k + 9);
}
void fill_trash_info(CI(msg, TrashInfo) & t, int v, int k) {
  t.class_id = static_cast<uint8_t>(9 + v);
  t.location = static_cast<uint8_t>(k);
  t.mainaxis_type = 0x80;
  fill_pose(t.map_pose, v, k + 1);
  fill_pose(t.grab_pose, v, k + 2);
  fill_pose(t.obb_pose, v, k + 3);
  fill_point(t.obb_size, v, k + 4);
}
template <class Seq>
void fill_trashes(Seq& s, int v) {
  RESIZE(s, corvanthelis_interfaces__msg__Trash, count_for(v));
  for (size_t i = 0; i < s.size; ++i) fill_trash(s.data[i], v, static_cast<int>(i));
}
template <class M>
void fill_status_errmsg(M& m, int v) {
  m.status = v == 1 ? -1 : 3 * v;
  set_string(m.errmsg, text_for(v));
}
template <class M>
void fill_cmd_pose_joints(M& m, int v) {
  m.cmd = 100 + v;
  fill_pose(m.target_pose, v, 2);
  fill_f64ma(m.target_joints, v);
}

void fill_MoveToGrab_Request(CI(srv, MoveToGrab_Request) & m, int v) {
  m.clean_mode = v - 1;
  m.clean_task_type = 7 * v;
  fill_pose(m.current_pose, v, 1);
  fill_point(m.trash_position, v, 2);
}
void fill_MoveToGrab_Response(CI(srv, MoveToGrab_Response) & m, int v) {
  m.flag = -v;
  fill_pose(m.target_pose, v, 3);
  fill_pose(m.depart_pose, v, 4);
}
void fill_DetectedWastes(CI(msg, DetectedWastes) & m, int v) {
  fill_header(m.header, v);
  const size_t n = count_for(v);
  RESIZE(m.ids, rosidl_runtime_c__int32, n);
  for (size_t i = 0; i < n; ++i) m.ids.data[i] = static_cast<int32_t>(i) - 1;
  RESIZE(m.class_names, rosidl_runtime_c__int32, n + (v == 2));
  for (size_t i = 0; i < m.class_names.size; ++i)
    m.class_names.data[i] = static_cast<int32_t>(i * 1000 + 7);
  RESIZE(m.goal_poses, geometry_msgs__msg__Pose, n);
  for (size_t i = 0; i < n; ++i) fill_pose(m.goal_poses.data[i], v, static_cast<int>(i));
  RESIZE(m.detected_dis, rosidl_runtime_c__double, n * 2);
  for (size_t i = 0; i < m.detected_dis.size; ++i)
    m.detected_dis.data[i] = real(v, static_cast<int>(i));
}
void fill_GrabTrashCloud(CI(msg, GrabTrashCloud) & m, int v) {
  m.trash_type = static_cast<uint8_t>(200 + v);
  fill_pc2(m.trash_cloud, v);
}
void fill_Trash(CI(msg, Trash) & m, int v) { fill_trash(m, v, 5); }
void fill_Trashes(CI(msg, Trashes) & m, int v) {
  fill_header(m.header, v);
  fill_trashes(m.trashes, v);
}
void fill_TrashInfo(CI(msg, TrashInfo) & m, int v) { fill_trash_info(m, v, 3); }
void fill_TrashInfos(CI(msg, TrashInfos) & m, int v) {
  RESIZE(m.trashinfos, corvanthelis_interfaces__msg__TrashInfo, count_for(v));
  for (size_t i = 0; i < m.trashinfos.size; ++i)
    fill_trash_info(m.trashinfos.data[i], v, static_cast<int>(i));
}
void fill_GrabSortedTrash_Request(CI(srv, GrabSortedTrash_Request) & m, int v) {
  m.trash_type = static_cast<uint8_t>(v + 4);
  fill_pose(m.target_pose, v, 6);
  m.rot_x = real(v, 1);
  m.rot_y = real(v, 2);
  m.rot_z = real(v, 3);
}
void fill_GrabSortedTrash_Response(CI(srv, GrabSortedTrash_Response) & m, int v) {
  m.isgrab_done = v != 0;
}
void fill_SamProcess_Request(CI(srv, SamProcess_Request) & m, int v) { fill_image(m.image, v); }
void fill_SamProcess_Response(CI(srv, SamProcess_Response) & m, int v) {
  m.is_processed = v == 1;
  m.process_status = static_cast<uint8_t>(250 - v);
  RESIZE(m.pixel_coords, geometry_msgs__msg__Point, count_for(v));
  for (size_t i = 0; i < m.pixel_coords.size; ++i)
    fill_point(m.pixel_coords.data[i], v, static_cast<int>(i));
}
void fill_TrashCloud_Request(CI(srv, TrashCloud_Request) & m, int v) {
  m.structure_needs_at_least_one_member = static_cast<uint8_t>(0xA0 + v);
}
void fill_TrashCloud_Response(CI(srv, TrashCloud_Response) & m, int v) {
  m.trash_type = static_cast<uint8_t>(v);
  fill_pc2(m.trash_cloud, v);
}
void fill_ArmRelease_Request(CI(srv, ArmRelease_Request) & m, int v) {
  fill_cmd_pose_joints(m, v);
  fill_pose(m.obb_pose, v, 8);
  fill_point(m.obb_size, v, 9);
}
void fill_ArmGrab_Request(CI(srv, ArmGrab_Request) & m, int v) {
  m.cmd = -v;
  m.trash_type = static_cast<uint8_t>(v + 1);
  fill_pose(m.target_pose, v, 1);
  fill_pose(m.obb_pose, v, 2);
  fill_point(m.obb_size, v, 3);
}
void fill_DetectTrash_Request(CI(srv, DetectTrash_Request) & m, int v) {
  m.cmd = v;
  m.cam_choice = static_cast<uint8_t>(2 - v);
}
void fill_DetectTrash_Response(CI(srv, DetectTrash_Response) & m, int v) {
  fill_status_errmsg(m, v);
  fill_trashes(m.trashes_detected, v);
}
void fill_ElevatorButtonPose_Request(CI(srv, ElevatorButtonPose_Request) & m, int v) {
  m.cmd = v;
  m.button_index = static_cast<uint8_t>(v + 12);
  m.pixel_x = 0xFFFFFFFFu - static_cast<uint32_t>(v);
  m.pixel_y = 0x80000000u + static_cast<uint32_t>(v);
}
void fill_ElevatorButtonPose_Response(CI(srv, ElevatorButtonPose_Response) & m, int v) {
  fill_status_errmsg(m, v);
  fill_pose(m.push_pose, v, 4);
}
void fill_GraspState_Request(CI(srv, GraspState_Request) & m, int v) { fill_image(m.image, v); }

void fill_ArmTask_Goal(CI(action, ArmTask_Goal) & m, int v) { m.cmd = 41 * v - 1; }
void fill_ArmTask_Result(CI(action, ArmTask_Result) & m, int v) {
  fill_status_errmsg(m, v);
  fill_trashes(m.trash_blacklist, v);
}
void fill_ArmTask_Feedback(CI(action, ArmTask_Feedback) & m, int v) { m.run_stage = v + 2; }
void fill_ArmTask_SendGoal_Request(CI(action, ArmTask_SendGoal_Request) & m, int v) {
  fill_uuid(m.goal_id, v);
  fill_ArmTask_Goal(m.goal, v);
}
template <class M>
void fill_send_goal_response(M& m, int v) {
  m.accepted = v != 0;
  fill_time(m.stamp, v);
}
void fill_ArmTask_GetResult_Request(CI(action, ArmTask_GetResult_Request) & m, int v) {
  fill_uuid(m.goal_id, v);
}
void fill_ArmTask_GetResult_Response(CI(action, ArmTask_GetResult_Response) & m, int v) {
  m.status = static_cast<int8_t>(-v - 1);
  fill_ArmTask_Result(m.result, v);
}
void fill_ArmTask_FeedbackMessage(CI(action, ArmTask_FeedbackMessage) & m, int v) {
  fill_uuid(m.goal_id, v);
  fill_ArmTask_Feedback(m.feedback, v);
}
void fill_ArmTaskDecision_Goal(CI(action, ArmTaskDecision_Goal) & m, int v) {
  m.cmd_id = v;
  m.task_mode = -2 * v;
  fill_trash_info(m.aim_trash, v, 1);
}
void fill_ArmTaskDecision_Result(CI(action, ArmTaskDecision_Result) & m, int v) {
  m.status = v == 2;
  m.status_code = 5 - v;
  set_string(m.errmsg, text_for(v));
}
void fill_ArmTaskDecision_Feedback(CI(action, ArmTaskDecision_Feedback) & m, int v) {
  m.run_stage = -v;
}
void fill_ArmTaskDecision_SendGoal_Request(CI(action, ArmTaskDecision_SendGoal_Request) & m,
                                           int v) {
  fill_uuid(m.goal_id, v);
  fill_ArmTaskDecision_Goal(m.goal, v);
}
void fill_ArmTaskDecision_GetResult_Request(CI(action, ArmTaskDecision_GetResult_Request) & m,
                                            int v) {
  fill_uuid(m.goal_id, v + 3);
}
void fill_ArmTaskDecision_GetResult_Response(CI(action, ArmTaskDecision_GetResult_Response) & m,
                                             int v) {
  m.status = static_cast<int8_t>(v + 2);
  fill_ArmTaskDecision_Result(m.result, v);
}
void fill_ArmTaskDecision_FeedbackMessage(CI(action, ArmTaskDecision_FeedbackMessage) & m, int v) {
  fill_uuid(m.goal_id, v);
  fill_ArmTaskDecision_Feedback(m.feedback, v);
}

#define FILL_AS(kind, T, how) \
  void fill_##T(CI(kind, T) & m, int v) { how(m, v); }
FILL_AS(srv, ArmRelease_Response, fill_status_errmsg)
FILL_AS(srv, ArmGrab_Response, fill_status_errmsg)
FILL_AS(srv, ArmMoveJoints_Response, fill_status_errmsg)
FILL_AS(srv, ArmPushButton_Response, fill_status_errmsg)
FILL_AS(srv, GraspState_Response, fill_status_errmsg)
FILL_AS(srv, ArmMoveJoints_Request, fill_cmd_pose_joints)
FILL_AS(srv, ArmPushButton_Request, fill_cmd_pose_joints)
FILL_AS(action, ArmTask_SendGoal_Response, fill_send_goal_response)
FILL_AS(action, ArmTaskDecision_SendGoal_Response, fill_send_goal_response)

// The answers of max_serialized_size about the kind of bound, by the catalogue's word.
constexpr char kBoundsClass_plain = 3, kBoundsClass_bounded = 1, kBoundsClass_unbounded = 0;

}  // namespace

const std::vector<TypeRow>& types() {
  static const std::vector<TypeRow> rows = {
#define CATALOGUE_STRUCTURE(package, kind, Name, role, c_name, cpp_name, infix, max_at_0, wire) \
  TypeRow{#kind,                                                                                \
          #Name,                                                                                \
          #cpp_name,                                                                            \
          &rosidl_typesupport_fastrtps_c__get_message_type_support_handle__##c_name,            \
          &get_serialized_size_##c_name,                                                        \
          &max_serialized_size_##c_name,                                                        \
          []() -> void* { return c_name##__create(); },                                         \
          [](void* m) { c_name##__destroy(static_cast<c_name*>(m)); },                          \
          [](const void* a, const void* b) {                                                    \
            return c_name##__are_equal(static_cast<const c_name*>(a),                           \
                                       static_cast<const c_name*>(b));                          \
          },                                                                                    \
          [](void* m, int v) { fill_##Name(*static_cast<c_name*>(m), v); },                     \
          max_at_0,                                                                             \
          kBoundsClass_##wire},
#include "catalogue/interfaces.def"
  };
  return rows;
}

const std::vector<ServiceRow>& services() {
  static const std::vector<ServiceRow> rows = {
#define CATALOGUE_SERVICE(package, kind, Name, c_name, cpp_name, infix, Request, Response)               \
  ServiceRow{                                                                                            \
      #kind,                                                                                             \
      #Name,                                                                                             \
      #cpp_name,                                                                                         \
      &rosidl_typesupport_fastrtps_c__get_service_type_support_handle__##c_name,                         \
      &rosidl_typesupport_fastrtps_c__get_message_type_support_handle__##package##__##kind##__##Request, \
      &rosidl_typesupport_fastrtps_c__get_message_type_support_handle__##package##__##kind##__##Response},
#include "catalogue/interfaces.def"
  };
  return rows;
}

const TypeRow& type(const std::string& name) {
  for (const TypeRow& row : types()) {
    if (name == row.name) return row;
  }
  throw std::invalid_argument("no type " + name);
}

std::vector<uint8_t> write(const TypeRow& row, const void* msg, size_t lead) {
  return write_through(row.callbacks(), row.name, msg, row.size(msg, lead), lead);
}

std::vector<uint8_t> write_through(const message_type_support_callbacks_t* callbacks,
                                   const char* name, const void* msg, size_t size, size_t lead) {
  Stream s(2 * size + lead + 256);
  for (size_t i = 0; i < lead; ++i) s.cdr.serialize(static_cast<char>(0xEE));
  if (!callbacks->cdr_serialize(msg, s.cdr)) {
    throw std::runtime_error(std::string("cannot serialize ") + name);
  }
  std::vector<uint8_t> all = s.written();
  return {all.begin() + static_cast<long>(lead), all.end()};
}

void set_string(rosidl_runtime_c__String& s, const char* text) {
  if (!rosidl_runtime_c__String__assign(&s, text)) std::abort();
}

}  // namespace ser
