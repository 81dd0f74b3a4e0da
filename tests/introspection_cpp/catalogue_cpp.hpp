#pragma once

// Where the C++ compiler puts the members of the package's 44 classes, written out
// independently of the interface compiler and in the order of the C catalogue, whose names,
// type codes and nesting the C++ tables share.

#include <cstddef>
#include <string>
#include <vector>

#include "cpp_types.hpp"

namespace catalogue_cpp {

struct Layout {
  const char* name;
  std::size_t size;
  std::vector<std::size_t> offsets;  // in member order
};

#define CPP_OFFSET(kind, type, field) offsetof(corvanthelis_interfaces::kind::type, field)

inline const std::vector<Layout>& layouts() {
  static const std::vector<Layout> all = {
      {"MoveToGrab_Request", sizeof(corvanthelis_interfaces::srv::MoveToGrab_Request),
       {
           CPP_OFFSET(srv, MoveToGrab_Request, clean_mode),
           CPP_OFFSET(srv, MoveToGrab_Request, clean_task_type),
           CPP_OFFSET(srv, MoveToGrab_Request, current_pose),
           CPP_OFFSET(srv, MoveToGrab_Request, trash_position),
       }},
      {"MoveToGrab_Response", sizeof(corvanthelis_interfaces::srv::MoveToGrab_Response),
       {
           CPP_OFFSET(srv, MoveToGrab_Response, flag),
           CPP_OFFSET(srv, MoveToGrab_Response, target_pose),
           CPP_OFFSET(srv, MoveToGrab_Response, depart_pose),
       }},
      {"DetectedWastes", sizeof(corvanthelis_interfaces::msg::DetectedWastes),
       {
           CPP_OFFSET(msg, DetectedWastes, header),
           CPP_OFFSET(msg, DetectedWastes, ids),
           CPP_OFFSET(msg, DetectedWastes, class_names),
           CPP_OFFSET(msg, DetectedWastes, goal_poses),
           CPP_OFFSET(msg, DetectedWastes, detected_dis),
       }},
      {"GrabTrashCloud", sizeof(corvanthelis_interfaces::msg::GrabTrashCloud),
       {
           CPP_OFFSET(msg, GrabTrashCloud, trash_type),
           CPP_OFFSET(msg, GrabTrashCloud, trash_cloud),
       }},
      {"Trash", sizeof(corvanthelis_interfaces::msg::Trash),
       {
           CPP_OFFSET(msg, Trash, type),
           CPP_OFFSET(msg, Trash, location),
           CPP_OFFSET(msg, Trash, mainaxis_type),
           CPP_OFFSET(msg, Trash, grab_pose),
           CPP_OFFSET(msg, Trash, obb_pose),
           CPP_OFFSET(msg, Trash, obb_size),
       }},
      {"Trashes", sizeof(corvanthelis_interfaces::msg::Trashes),
       {
           CPP_OFFSET(msg, Trashes, header),
           CPP_OFFSET(msg, Trashes, trashes),
       }},
      {"TrashInfo", sizeof(corvanthelis_interfaces::msg::TrashInfo),
       {
           CPP_OFFSET(msg, TrashInfo, class_id),
           CPP_OFFSET(msg, TrashInfo, location),
           CPP_OFFSET(msg, TrashInfo, mainaxis_type),
           CPP_OFFSET(msg, TrashInfo, map_pose),
           CPP_OFFSET(msg, TrashInfo, grab_pose),
           CPP_OFFSET(msg, TrashInfo, obb_pose),
           CPP_OFFSET(msg, TrashInfo, obb_size),
       }},
      {"TrashInfos", sizeof(corvanthelis_interfaces::msg::TrashInfos),
       {
           CPP_OFFSET(msg, TrashInfos, trashinfos),
       }},
      {"GrabSortedTrash_Request", sizeof(corvanthelis_interfaces::srv::GrabSortedTrash_Request),
       {
           CPP_OFFSET(srv, GrabSortedTrash_Request, trash_type),
           CPP_OFFSET(srv, GrabSortedTrash_Request, target_pose),
           CPP_OFFSET(srv, GrabSortedTrash_Request, rot_x),
           CPP_OFFSET(srv, GrabSortedTrash_Request, rot_y),
           CPP_OFFSET(srv, GrabSortedTrash_Request, rot_z),
       }},
      {"GrabSortedTrash_Response", sizeof(corvanthelis_interfaces::srv::GrabSortedTrash_Response),
       {
           CPP_OFFSET(srv, GrabSortedTrash_Response, isgrab_done),
       }},
      {"SamProcess_Request", sizeof(corvanthelis_interfaces::srv::SamProcess_Request),
       {
           CPP_OFFSET(srv, SamProcess_Request, image),
       }},
      {"SamProcess_Response", sizeof(corvanthelis_interfaces::srv::SamProcess_Response),
       {
           CPP_OFFSET(srv, SamProcess_Response, is_processed),
           CPP_OFFSET(srv, SamProcess_Response, process_status),
           CPP_OFFSET(srv, SamProcess_Response, pixel_coords),
       }},
      {"TrashCloud_Request", sizeof(corvanthelis_interfaces::srv::TrashCloud_Request),
       {
           CPP_OFFSET(srv, TrashCloud_Request, structure_needs_at_least_one_member),
       }},
      {"TrashCloud_Response", sizeof(corvanthelis_interfaces::srv::TrashCloud_Response),
       {
           CPP_OFFSET(srv, TrashCloud_Response, trash_type),
           CPP_OFFSET(srv, TrashCloud_Response, trash_cloud),
       }},
      {"ArmRelease_Request", sizeof(corvanthelis_interfaces::srv::ArmRelease_Request),
       {
           CPP_OFFSET(srv, ArmRelease_Request, cmd),
           CPP_OFFSET(srv, ArmRelease_Request, target_pose),
           CPP_OFFSET(srv, ArmRelease_Request, target_joints),
           CPP_OFFSET(srv, ArmRelease_Request, obb_pose),
           CPP_OFFSET(srv, ArmRelease_Request, obb_size),
       }},
      {"ArmRelease_Response", sizeof(corvanthelis_interfaces::srv::ArmRelease_Response),
       {
           CPP_OFFSET(srv, ArmRelease_Response, status),
           CPP_OFFSET(srv, ArmRelease_Response, errmsg),
       }},
      {"ArmGrab_Request", sizeof(corvanthelis_interfaces::srv::ArmGrab_Request),
       {
           CPP_OFFSET(srv, ArmGrab_Request, cmd),
           CPP_OFFSET(srv, ArmGrab_Request, trash_type),
           CPP_OFFSET(srv, ArmGrab_Request, target_pose),
           CPP_OFFSET(srv, ArmGrab_Request, obb_pose),
           CPP_OFFSET(srv, ArmGrab_Request, obb_size),
       }},
      {"ArmGrab_Response", sizeof(corvanthelis_interfaces::srv::ArmGrab_Response),
       {
           CPP_OFFSET(srv, ArmGrab_Response, status),
           CPP_OFFSET(srv, ArmGrab_Response, errmsg),
       }},
      {"ArmMoveJoints_Request", sizeof(corvanthelis_interfaces::srv::ArmMoveJoints_Request),
       {
           CPP_OFFSET(srv, ArmMoveJoints_Request, cmd),
           CPP_OFFSET(srv, ArmMoveJoints_Request, target_pose),
           CPP_OFFSET(srv, ArmMoveJoints_Request, target_joints),
       }},
      {"ArmMoveJoints_Response", sizeof(corvanthelis_interfaces::srv::ArmMoveJoints_Response),
       {
           CPP_OFFSET(srv, ArmMoveJoints_Response, status),
           CPP_OFFSET(srv, ArmMoveJoints_Response, errmsg),
       }},
      {"DetectTrash_Request", sizeof(corvanthelis_interfaces::srv::DetectTrash_Request),
       {
           CPP_OFFSET(srv, DetectTrash_Request, cmd),
           CPP_OFFSET(srv, DetectTrash_Request, cam_choice),
       }},
      {"DetectTrash_Response", sizeof(corvanthelis_interfaces::srv::DetectTrash_Response),
       {
           CPP_OFFSET(srv, DetectTrash_Response, status),
           CPP_OFFSET(srv, DetectTrash_Response, trashes_detected),
           CPP_OFFSET(srv, DetectTrash_Response, errmsg),
       }},
      {"ElevatorButtonPose_Request", sizeof(corvanthelis_interfaces::srv::ElevatorButtonPose_Request),
       {
           CPP_OFFSET(srv, ElevatorButtonPose_Request, cmd),
           CPP_OFFSET(srv, ElevatorButtonPose_Request, button_index),
           CPP_OFFSET(srv, ElevatorButtonPose_Request, pixel_x),
           CPP_OFFSET(srv, ElevatorButtonPose_Request, pixel_y),
       }},
      {"ElevatorButtonPose_Response", sizeof(corvanthelis_interfaces::srv::ElevatorButtonPose_Response),
       {
           CPP_OFFSET(srv, ElevatorButtonPose_Response, status),
           CPP_OFFSET(srv, ElevatorButtonPose_Response, push_pose),
           CPP_OFFSET(srv, ElevatorButtonPose_Response, errmsg),
       }},
      {"ArmPushButton_Request", sizeof(corvanthelis_interfaces::srv::ArmPushButton_Request),
       {
           CPP_OFFSET(srv, ArmPushButton_Request, cmd),
           CPP_OFFSET(srv, ArmPushButton_Request, target_pose),
           CPP_OFFSET(srv, ArmPushButton_Request, target_joints),
       }},
      {"ArmPushButton_Response", sizeof(corvanthelis_interfaces::srv::ArmPushButton_Response),
       {
           CPP_OFFSET(srv, ArmPushButton_Response, status),
           CPP_OFFSET(srv, ArmPushButton_Response, errmsg),
       }},
      {"GraspState_Request", sizeof(corvanthelis_interfaces::srv::GraspState_Request),
       {
           CPP_OFFSET(srv, GraspState_Request, image),
       }},
      {"GraspState_Response", sizeof(corvanthelis_interfaces::srv::GraspState_Response),
       {
           CPP_OFFSET(srv, GraspState_Response, status),
           CPP_OFFSET(srv, GraspState_Response, errmsg),
       }},
      {"ArmTask_Goal", sizeof(corvanthelis_interfaces::action::ArmTask_Goal),
       {
           CPP_OFFSET(action, ArmTask_Goal, cmd),
       }},
      {"ArmTask_Result", sizeof(corvanthelis_interfaces::action::ArmTask_Result),
       {
           CPP_OFFSET(action, ArmTask_Result, status),
           CPP_OFFSET(action, ArmTask_Result, errmsg),
           CPP_OFFSET(action, ArmTask_Result, trash_blacklist),
       }},
      {"ArmTask_Feedback", sizeof(corvanthelis_interfaces::action::ArmTask_Feedback),
       {
           CPP_OFFSET(action, ArmTask_Feedback, run_stage),
       }},
      {"ArmTask_SendGoal_Request", sizeof(corvanthelis_interfaces::action::ArmTask_SendGoal_Request),
       {
           CPP_OFFSET(action, ArmTask_SendGoal_Request, goal_id),
           CPP_OFFSET(action, ArmTask_SendGoal_Request, goal),
       }},
      {"ArmTask_SendGoal_Response", sizeof(corvanthelis_interfaces::action::ArmTask_SendGoal_Response),
       {
           CPP_OFFSET(action, ArmTask_SendGoal_Response, accepted),
           CPP_OFFSET(action, ArmTask_SendGoal_Response, stamp),
       }},
      {"ArmTask_GetResult_Request", sizeof(corvanthelis_interfaces::action::ArmTask_GetResult_Request),
       {
           CPP_OFFSET(action, ArmTask_GetResult_Request, goal_id),
       }},
      {"ArmTask_GetResult_Response", sizeof(corvanthelis_interfaces::action::ArmTask_GetResult_Response),
       {
           CPP_OFFSET(action, ArmTask_GetResult_Response, status),
           CPP_OFFSET(action, ArmTask_GetResult_Response, result),
       }},
      {"ArmTask_FeedbackMessage", sizeof(corvanthelis_interfaces::action::ArmTask_FeedbackMessage),
       {
           CPP_OFFSET(action, ArmTask_FeedbackMessage, goal_id),
           CPP_OFFSET(action, ArmTask_FeedbackMessage, feedback),
       }},
      {"ArmTaskDecision_Goal", sizeof(corvanthelis_interfaces::action::ArmTaskDecision_Goal),
       {
           CPP_OFFSET(action, ArmTaskDecision_Goal, cmd_id),
           CPP_OFFSET(action, ArmTaskDecision_Goal, task_mode),
           CPP_OFFSET(action, ArmTaskDecision_Goal, aim_trash),
       }},
      {"ArmTaskDecision_Result", sizeof(corvanthelis_interfaces::action::ArmTaskDecision_Result),
       {
           CPP_OFFSET(action, ArmTaskDecision_Result, status),
           CPP_OFFSET(action, ArmTaskDecision_Result, status_code),
           CPP_OFFSET(action, ArmTaskDecision_Result, errmsg),
       }},
      {"ArmTaskDecision_Feedback", sizeof(corvanthelis_interfaces::action::ArmTaskDecision_Feedback),
       {
           CPP_OFFSET(action, ArmTaskDecision_Feedback, run_stage),
       }},
      {"ArmTaskDecision_SendGoal_Request", sizeof(corvanthelis_interfaces::action::ArmTaskDecision_SendGoal_Request),
       {
           CPP_OFFSET(action, ArmTaskDecision_SendGoal_Request, goal_id),
           CPP_OFFSET(action, ArmTaskDecision_SendGoal_Request, goal),
       }},
      {"ArmTaskDecision_SendGoal_Response", sizeof(corvanthelis_interfaces::action::ArmTaskDecision_SendGoal_Response),
       {
           CPP_OFFSET(action, ArmTaskDecision_SendGoal_Response, accepted),
           CPP_OFFSET(action, ArmTaskDecision_SendGoal_Response, stamp),
       }},
      {"ArmTaskDecision_GetResult_Request", sizeof(corvanthelis_interfaces::action::ArmTaskDecision_GetResult_Request),
       {
           CPP_OFFSET(action, ArmTaskDecision_GetResult_Request, goal_id),
       }},
      {"ArmTaskDecision_GetResult_Response", sizeof(corvanthelis_interfaces::action::ArmTaskDecision_GetResult_Response),
       {
           CPP_OFFSET(action, ArmTaskDecision_GetResult_Response, status),
           CPP_OFFSET(action, ArmTaskDecision_GetResult_Response, result),
       }},
      {"ArmTaskDecision_FeedbackMessage", sizeof(corvanthelis_interfaces::action::ArmTaskDecision_FeedbackMessage),
       {
           CPP_OFFSET(action, ArmTaskDecision_FeedbackMessage, goal_id),
           CPP_OFFSET(action, ArmTaskDecision_FeedbackMessage, feedback),
       }},
  };
  return all;
}

#undef CPP_OFFSET

// "geometry_msgs__msg__Pose" as the C++ tables name it: "geometry_msgs::msg" and "Pose".
inline std::string cpp_name(const std::string& c_name) {
  std::string name = c_name;
  for (std::size_t at = name.find("__"); at != std::string::npos; at = name.find("__", at + 2)) {
    name.replace(at, 2, "::");
  }
  return name;
}

}  // namespace catalogue_cpp
