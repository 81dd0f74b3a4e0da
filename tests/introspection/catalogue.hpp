#pragma once

// The package's 44 structures and 15 services as the interface definitions give them, written
// out independently of the interface compiler: what the tables must describe. Offsets and sizes
// come from the C compiler, through the C headers.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "corvanthelis_interfaces/srv/move_to_grab.h"
#include "corvanthelis_interfaces/msg/detected_wastes.h"
#include "corvanthelis_interfaces/msg/grab_trash_cloud.h"
#include "corvanthelis_interfaces/msg/trash.h"
#include "corvanthelis_interfaces/msg/trashes.h"
#include "corvanthelis_interfaces/msg/trash_info.h"
#include "corvanthelis_interfaces/msg/trash_infos.h"
#include "corvanthelis_interfaces/srv/grab_sorted_trash.h"
#include "corvanthelis_interfaces/srv/sam_process.h"
#include "corvanthelis_interfaces/srv/trash_cloud.h"
#include "corvanthelis_interfaces/srv/arm_release.h"
#include "corvanthelis_interfaces/srv/arm_grab.h"
#include "corvanthelis_interfaces/srv/arm_move_joints.h"
#include "corvanthelis_interfaces/srv/detect_trash.h"
#include "corvanthelis_interfaces/srv/elevator_button_pose.h"
#include "corvanthelis_interfaces/srv/arm_push_button.h"
#include "corvanthelis_interfaces/srv/grasp_state.h"
#include "corvanthelis_interfaces/action/arm_task.h"
#include "corvanthelis_interfaces/action/arm_task_decision.h"

namespace catalogue {

struct Field {
  const char* name;
  std::uint8_t type_code;  // of the elements, for a sequence
  bool is_sequence;
  std::size_t offset;
  const char* nested;  // C type of a nested message, else nullptr
};

struct Type {
  const char* kind;
  const char* name;
  std::size_t size;
  std::vector<Field> fields;
};

struct Service {
  const char* kind;
  const char* name;
  const char* request;
  const char* response;
};

#define CATALOGUE_FIELD(type, field, code, sequence, nested) \
  Field { #field, code, sequence, offsetof(type, field), nested }

inline const std::vector<Type>& types() {
  static const std::vector<Type> all = {
    {"srv", "MoveToGrab_Request", sizeof(corvanthelis_interfaces__srv__MoveToGrab_Request),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__MoveToGrab_Request, clean_mode, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__MoveToGrab_Request, clean_task_type, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__MoveToGrab_Request, current_pose, 18, false, "geometry_msgs__msg__Pose"),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__MoveToGrab_Request, trash_position, 18, false, "geometry_msgs__msg__Point"),
     }},
    {"srv", "MoveToGrab_Response", sizeof(corvanthelis_interfaces__srv__MoveToGrab_Response),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__MoveToGrab_Response, flag, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__MoveToGrab_Response, target_pose, 18, false, "geometry_msgs__msg__Pose"),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__MoveToGrab_Response, depart_pose, 18, false, "geometry_msgs__msg__Pose"),
     }},
    {"msg", "DetectedWastes", sizeof(corvanthelis_interfaces__msg__DetectedWastes),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__DetectedWastes, header, 18, false, "std_msgs__msg__Header"),
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__DetectedWastes, ids, 13, true, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__DetectedWastes, class_names, 13, true, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__DetectedWastes, goal_poses, 18, true, "geometry_msgs__msg__Pose"),
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__DetectedWastes, detected_dis, 2, true, nullptr),
     }},
    {"msg", "GrabTrashCloud", sizeof(corvanthelis_interfaces__msg__GrabTrashCloud),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__GrabTrashCloud, trash_type, 8, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__GrabTrashCloud, trash_cloud, 18, false, "sensor_msgs__msg__PointCloud2"),
     }},
    {"msg", "Trash", sizeof(corvanthelis_interfaces__msg__Trash),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__Trash, type, 8, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__Trash, location, 8, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__Trash, mainaxis_type, 8, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__Trash, grab_pose, 18, false, "geometry_msgs__msg__Pose"),
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__Trash, obb_pose, 18, false, "geometry_msgs__msg__Pose"),
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__Trash, obb_size, 18, false, "geometry_msgs__msg__Point"),
     }},
    {"msg", "Trashes", sizeof(corvanthelis_interfaces__msg__Trashes),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__Trashes, header, 18, false, "std_msgs__msg__Header"),
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__Trashes, trashes, 18, true, "corvanthelis_interfaces__msg__Trash"),
     }},
    {"msg", "TrashInfo", sizeof(corvanthelis_interfaces__msg__TrashInfo),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__TrashInfo, class_id, 8, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__TrashInfo, location, 8, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__TrashInfo, mainaxis_type, 8, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__TrashInfo, map_pose, 18, false, "geometry_msgs__msg__Pose"),
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__TrashInfo, grab_pose, 18, false, "geometry_msgs__msg__Pose"),
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__TrashInfo, obb_pose, 18, false, "geometry_msgs__msg__Pose"),
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__TrashInfo, obb_size, 18, false, "geometry_msgs__msg__Point"),
     }},
    {"msg", "TrashInfos", sizeof(corvanthelis_interfaces__msg__TrashInfos),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__msg__TrashInfos, trashinfos, 18, true, "corvanthelis_interfaces__msg__TrashInfo"),
     }},
    {"srv", "GrabSortedTrash_Request", sizeof(corvanthelis_interfaces__srv__GrabSortedTrash_Request),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__GrabSortedTrash_Request, trash_type, 8, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__GrabSortedTrash_Request, target_pose, 18, false, "geometry_msgs__msg__Pose"),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__GrabSortedTrash_Request, rot_x, 2, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__GrabSortedTrash_Request, rot_y, 2, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__GrabSortedTrash_Request, rot_z, 2, false, nullptr),
     }},
    {"srv", "GrabSortedTrash_Response", sizeof(corvanthelis_interfaces__srv__GrabSortedTrash_Response),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__GrabSortedTrash_Response, isgrab_done, 6, false, nullptr),
     }},
    {"srv", "SamProcess_Request", sizeof(corvanthelis_interfaces__srv__SamProcess_Request),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__SamProcess_Request, image, 18, false, "sensor_msgs__msg__Image"),
     }},
    {"srv", "SamProcess_Response", sizeof(corvanthelis_interfaces__srv__SamProcess_Response),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__SamProcess_Response, is_processed, 6, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__SamProcess_Response, process_status, 8, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__SamProcess_Response, pixel_coords, 18, true, "geometry_msgs__msg__Point"),
     }},
    {"srv", "TrashCloud_Request", sizeof(corvanthelis_interfaces__srv__TrashCloud_Request),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__TrashCloud_Request, structure_needs_at_least_one_member, 8, false, nullptr),
     }},
    {"srv", "TrashCloud_Response", sizeof(corvanthelis_interfaces__srv__TrashCloud_Response),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__TrashCloud_Response, trash_type, 8, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__TrashCloud_Response, trash_cloud, 18, false, "sensor_msgs__msg__PointCloud2"),
     }},
    {"srv", "ArmRelease_Request", sizeof(corvanthelis_interfaces__srv__ArmRelease_Request),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmRelease_Request, cmd, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmRelease_Request, target_pose, 18, false, "geometry_msgs__msg__Pose"),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmRelease_Request, target_joints, 18, false, "std_msgs__msg__Float64MultiArray"),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmRelease_Request, obb_pose, 18, false, "geometry_msgs__msg__Pose"),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmRelease_Request, obb_size, 18, false, "geometry_msgs__msg__Point"),
     }},
    {"srv", "ArmRelease_Response", sizeof(corvanthelis_interfaces__srv__ArmRelease_Response),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmRelease_Response, status, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmRelease_Response, errmsg, 16, false, nullptr),
     }},
    {"srv", "ArmGrab_Request", sizeof(corvanthelis_interfaces__srv__ArmGrab_Request),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmGrab_Request, cmd, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmGrab_Request, trash_type, 8, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmGrab_Request, target_pose, 18, false, "geometry_msgs__msg__Pose"),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmGrab_Request, obb_pose, 18, false, "geometry_msgs__msg__Pose"),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmGrab_Request, obb_size, 18, false, "geometry_msgs__msg__Point"),
     }},
    {"srv", "ArmGrab_Response", sizeof(corvanthelis_interfaces__srv__ArmGrab_Response),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmGrab_Response, status, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmGrab_Response, errmsg, 16, false, nullptr),
     }},
    {"srv", "ArmMoveJoints_Request", sizeof(corvanthelis_interfaces__srv__ArmMoveJoints_Request),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmMoveJoints_Request, cmd, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmMoveJoints_Request, target_pose, 18, false, "geometry_msgs__msg__Pose"),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmMoveJoints_Request, target_joints, 18, false, "std_msgs__msg__Float64MultiArray"),
     }},
    {"srv", "ArmMoveJoints_Response", sizeof(corvanthelis_interfaces__srv__ArmMoveJoints_Response),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmMoveJoints_Response, status, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmMoveJoints_Response, errmsg, 16, false, nullptr),
     }},
    {"srv", "DetectTrash_Request", sizeof(corvanthelis_interfaces__srv__DetectTrash_Request),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__DetectTrash_Request, cmd, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__DetectTrash_Request, cam_choice, 8, false, nullptr),
     }},
    {"srv", "DetectTrash_Response", sizeof(corvanthelis_interfaces__srv__DetectTrash_Response),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__DetectTrash_Response, status, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__DetectTrash_Response, trashes_detected, 18, true, "corvanthelis_interfaces__msg__Trash"),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__DetectTrash_Response, errmsg, 16, false, nullptr),
     }},
    {"srv", "ElevatorButtonPose_Request", sizeof(corvanthelis_interfaces__srv__ElevatorButtonPose_Request),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ElevatorButtonPose_Request, cmd, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ElevatorButtonPose_Request, button_index, 8, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ElevatorButtonPose_Request, pixel_x, 12, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ElevatorButtonPose_Request, pixel_y, 12, false, nullptr),
     }},
    {"srv", "ElevatorButtonPose_Response", sizeof(corvanthelis_interfaces__srv__ElevatorButtonPose_Response),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ElevatorButtonPose_Response, status, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ElevatorButtonPose_Response, push_pose, 18, false, "geometry_msgs__msg__Pose"),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ElevatorButtonPose_Response, errmsg, 16, false, nullptr),
     }},
    {"srv", "ArmPushButton_Request", sizeof(corvanthelis_interfaces__srv__ArmPushButton_Request),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmPushButton_Request, cmd, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmPushButton_Request, target_pose, 18, false, "geometry_msgs__msg__Pose"),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmPushButton_Request, target_joints, 18, false, "std_msgs__msg__Float64MultiArray"),
     }},
    {"srv", "ArmPushButton_Response", sizeof(corvanthelis_interfaces__srv__ArmPushButton_Response),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmPushButton_Response, status, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__ArmPushButton_Response, errmsg, 16, false, nullptr),
     }},
    {"srv", "GraspState_Request", sizeof(corvanthelis_interfaces__srv__GraspState_Request),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__GraspState_Request, image, 18, false, "sensor_msgs__msg__Image"),
     }},
    {"srv", "GraspState_Response", sizeof(corvanthelis_interfaces__srv__GraspState_Response),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__GraspState_Response, status, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__srv__GraspState_Response, errmsg, 16, false, nullptr),
     }},
    {"action", "ArmTask_Goal", sizeof(corvanthelis_interfaces__action__ArmTask_Goal),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTask_Goal, cmd, 13, false, nullptr),
     }},
    {"action", "ArmTask_Result", sizeof(corvanthelis_interfaces__action__ArmTask_Result),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTask_Result, status, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTask_Result, errmsg, 16, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTask_Result, trash_blacklist, 18, true, "corvanthelis_interfaces__msg__Trash"),
     }},
    {"action", "ArmTask_Feedback", sizeof(corvanthelis_interfaces__action__ArmTask_Feedback),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTask_Feedback, run_stage, 13, false, nullptr),
     }},
    {"action", "ArmTask_SendGoal_Request", sizeof(corvanthelis_interfaces__action__ArmTask_SendGoal_Request),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTask_SendGoal_Request, goal_id, 18, false, "unique_identifier_msgs__msg__UUID"),
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTask_SendGoal_Request, goal, 18, false, "corvanthelis_interfaces__action__ArmTask_Goal"),
     }},
    {"action", "ArmTask_SendGoal_Response", sizeof(corvanthelis_interfaces__action__ArmTask_SendGoal_Response),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTask_SendGoal_Response, accepted, 6, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTask_SendGoal_Response, stamp, 18, false, "builtin_interfaces__msg__Time"),
     }},
    {"action", "ArmTask_GetResult_Request", sizeof(corvanthelis_interfaces__action__ArmTask_GetResult_Request),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTask_GetResult_Request, goal_id, 18, false, "unique_identifier_msgs__msg__UUID"),
     }},
    {"action", "ArmTask_GetResult_Response", sizeof(corvanthelis_interfaces__action__ArmTask_GetResult_Response),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTask_GetResult_Response, status, 9, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTask_GetResult_Response, result, 18, false, "corvanthelis_interfaces__action__ArmTask_Result"),
     }},
    {"action", "ArmTask_FeedbackMessage", sizeof(corvanthelis_interfaces__action__ArmTask_FeedbackMessage),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTask_FeedbackMessage, goal_id, 18, false, "unique_identifier_msgs__msg__UUID"),
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTask_FeedbackMessage, feedback, 18, false, "corvanthelis_interfaces__action__ArmTask_Feedback"),
     }},
    {"action", "ArmTaskDecision_Goal", sizeof(corvanthelis_interfaces__action__ArmTaskDecision_Goal),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTaskDecision_Goal, cmd_id, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTaskDecision_Goal, task_mode, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTaskDecision_Goal, aim_trash, 18, false, "corvanthelis_interfaces__msg__TrashInfo"),
     }},
    {"action", "ArmTaskDecision_Result", sizeof(corvanthelis_interfaces__action__ArmTaskDecision_Result),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTaskDecision_Result, status, 6, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTaskDecision_Result, status_code, 13, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTaskDecision_Result, errmsg, 16, false, nullptr),
     }},
    {"action", "ArmTaskDecision_Feedback", sizeof(corvanthelis_interfaces__action__ArmTaskDecision_Feedback),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTaskDecision_Feedback, run_stage, 13, false, nullptr),
     }},
    {"action", "ArmTaskDecision_SendGoal_Request", sizeof(corvanthelis_interfaces__action__ArmTaskDecision_SendGoal_Request),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTaskDecision_SendGoal_Request, goal_id, 18, false, "unique_identifier_msgs__msg__UUID"),
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTaskDecision_SendGoal_Request, goal, 18, false, "corvanthelis_interfaces__action__ArmTaskDecision_Goal"),
     }},
    {"action", "ArmTaskDecision_SendGoal_Response", sizeof(corvanthelis_interfaces__action__ArmTaskDecision_SendGoal_Response),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTaskDecision_SendGoal_Response, accepted, 6, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTaskDecision_SendGoal_Response, stamp, 18, false, "builtin_interfaces__msg__Time"),
     }},
    {"action", "ArmTaskDecision_GetResult_Request", sizeof(corvanthelis_interfaces__action__ArmTaskDecision_GetResult_Request),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTaskDecision_GetResult_Request, goal_id, 18, false, "unique_identifier_msgs__msg__UUID"),
     }},
    {"action", "ArmTaskDecision_GetResult_Response", sizeof(corvanthelis_interfaces__action__ArmTaskDecision_GetResult_Response),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTaskDecision_GetResult_Response, status, 9, false, nullptr),
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTaskDecision_GetResult_Response, result, 18, false, "corvanthelis_interfaces__action__ArmTaskDecision_Result"),
     }},
    {"action", "ArmTaskDecision_FeedbackMessage", sizeof(corvanthelis_interfaces__action__ArmTaskDecision_FeedbackMessage),
     {
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTaskDecision_FeedbackMessage, goal_id, 18, false, "unique_identifier_msgs__msg__UUID"),
         CATALOGUE_FIELD(corvanthelis_interfaces__action__ArmTaskDecision_FeedbackMessage, feedback, 18, false, "corvanthelis_interfaces__action__ArmTaskDecision_Feedback"),
     }},
  };
  return all;
}

#undef CATALOGUE_FIELD

inline const std::vector<Service>& services() {
  static const std::vector<Service> all = {
      {"srv", "MoveToGrab", "MoveToGrab_Request", "MoveToGrab_Response"},
      {"srv", "GrabSortedTrash", "GrabSortedTrash_Request", "GrabSortedTrash_Response"},
      {"srv", "SamProcess", "SamProcess_Request", "SamProcess_Response"},
      {"srv", "TrashCloud", "TrashCloud_Request", "TrashCloud_Response"},
      {"srv", "ArmRelease", "ArmRelease_Request", "ArmRelease_Response"},
      {"srv", "ArmGrab", "ArmGrab_Request", "ArmGrab_Response"},
      {"srv", "ArmMoveJoints", "ArmMoveJoints_Request", "ArmMoveJoints_Response"},
      {"srv", "DetectTrash", "DetectTrash_Request", "DetectTrash_Response"},
      {"srv", "ElevatorButtonPose", "ElevatorButtonPose_Request", "ElevatorButtonPose_Response"},
      {"srv", "ArmPushButton", "ArmPushButton_Request", "ArmPushButton_Response"},
      {"srv", "GraspState", "GraspState_Request", "GraspState_Response"},
      {"action", "ArmTask_SendGoal", "ArmTask_SendGoal_Request", "ArmTask_SendGoal_Response"},
      {"action", "ArmTask_GetResult", "ArmTask_GetResult_Request", "ArmTask_GetResult_Response"},
      {"action", "ArmTaskDecision_SendGoal", "ArmTaskDecision_SendGoal_Request", "ArmTaskDecision_SendGoal_Response"},
      {"action", "ArmTaskDecision_GetResult", "ArmTaskDecision_GetResult_Request", "ArmTaskDecision_GetResult_Response"},
  };
  return all;
}

// "corvanthelis_interfaces__msg__Trash"
inline std::string c_name(const char* kind, const char* name) {
  return std::string("corvanthelis_interfaces__") + kind + "__" + name;
}

}  // namespace catalogue
