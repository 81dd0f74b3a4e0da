#pragma once

// The package's 44 C++ classes, written out independently of the interface compiler, for tests
// that run over every type: X(kind, Type) once per class, in catalogue order.

#include "corvanthelis_interfaces/srv/move_to_grab.hpp"
#include "corvanthelis_interfaces/msg/detected_wastes.hpp"
#include "corvanthelis_interfaces/msg/grab_trash_cloud.hpp"
#include "corvanthelis_interfaces/msg/trash.hpp"
#include "corvanthelis_interfaces/msg/trashes.hpp"
#include "corvanthelis_interfaces/msg/trash_info.hpp"
#include "corvanthelis_interfaces/msg/trash_infos.hpp"
#include "corvanthelis_interfaces/srv/grab_sorted_trash.hpp"
#include "corvanthelis_interfaces/srv/sam_process.hpp"
#include "corvanthelis_interfaces/srv/trash_cloud.hpp"
#include "corvanthelis_interfaces/srv/arm_release.hpp"
#include "corvanthelis_interfaces/srv/arm_grab.hpp"
#include "corvanthelis_interfaces/srv/arm_move_joints.hpp"
#include "corvanthelis_interfaces/srv/detect_trash.hpp"
#include "corvanthelis_interfaces/srv/elevator_button_pose.hpp"
#include "corvanthelis_interfaces/srv/arm_push_button.hpp"
#include "corvanthelis_interfaces/srv/grasp_state.hpp"
#include "corvanthelis_interfaces/action/arm_task.hpp"
#include "corvanthelis_interfaces/action/arm_task_decision.hpp"

#define CORVANTHELIS_CPP_TYPES(X) \
  X(srv, MoveToGrab_Request) \
  X(srv, MoveToGrab_Response) \
  X(msg, DetectedWastes) \
  X(msg, GrabTrashCloud) \
  X(msg, Trash) \
  X(msg, Trashes) \
  X(msg, TrashInfo) \
  X(msg, TrashInfos) \
  X(srv, GrabSortedTrash_Request) \
  X(srv, GrabSortedTrash_Response) \
  X(srv, SamProcess_Request) \
  X(srv, SamProcess_Response) \
  X(srv, TrashCloud_Request) \
  X(srv, TrashCloud_Response) \
  X(srv, ArmRelease_Request) \
  X(srv, ArmRelease_Response) \
  X(srv, ArmGrab_Request) \
  X(srv, ArmGrab_Response) \
  X(srv, ArmMoveJoints_Request) \
  X(srv, ArmMoveJoints_Response) \
  X(srv, DetectTrash_Request) \
  X(srv, DetectTrash_Response) \
  X(srv, ElevatorButtonPose_Request) \
  X(srv, ElevatorButtonPose_Response) \
  X(srv, ArmPushButton_Request) \
  X(srv, ArmPushButton_Response) \
  X(srv, GraspState_Request) \
  X(srv, GraspState_Response) \
  X(action, ArmTask_Goal) \
  X(action, ArmTask_Result) \
  X(action, ArmTask_Feedback) \
  X(action, ArmTask_SendGoal_Request) \
  X(action, ArmTask_SendGoal_Response) \
  X(action, ArmTask_GetResult_Request) \
  X(action, ArmTask_GetResult_Response) \
  X(action, ArmTask_FeedbackMessage) \
  X(action, ArmTaskDecision_Goal) \
  X(action, ArmTaskDecision_Result) \
  X(action, ArmTaskDecision_Feedback) \
  X(action, ArmTaskDecision_SendGoal_Request) \
  X(action, ArmTaskDecision_SendGoal_Response) \
  X(action, ArmTaskDecision_GetResult_Request) \
  X(action, ArmTaskDecision_GetResult_Response) \
  X(action, ArmTaskDecision_FeedbackMessage)
