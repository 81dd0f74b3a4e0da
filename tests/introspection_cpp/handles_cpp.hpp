#pragma once

// The C++ handles in both forms: the template specialisations, reached at compile time from the
// class and key types, and the C-linkage functions, looked up by name as the runtime finds them.

#include <string>
#include <vector>

#include "catalogue.hpp"
#include "cpp_types.hpp"
#include "handles.hpp"
#include "corvanthelis_interfaces/srv/detail/move_to_grab__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_interfaces/msg/detail/detected_wastes__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_interfaces/msg/detail/grab_trash_cloud__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_interfaces/msg/detail/trash__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_interfaces/msg/detail/trashes__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_interfaces/msg/detail/trash_info__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_interfaces/msg/detail/trash_infos__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_interfaces/srv/detail/grab_sorted_trash__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_interfaces/srv/detail/sam_process__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_interfaces/srv/detail/trash_cloud__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_interfaces/srv/detail/arm_release__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_interfaces/srv/detail/arm_grab__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_interfaces/srv/detail/arm_move_joints__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_interfaces/srv/detail/detect_trash__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_interfaces/srv/detail/elevator_button_pose__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_interfaces/srv/detail/arm_push_button__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_interfaces/srv/detail/grasp_state__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_interfaces/action/detail/arm_task__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_interfaces/action/detail/arm_task_decision__rosidl_typesupport_introspection_cpp.hpp"
#include "rosidl_typesupport_introspection_cpp/field_types.hpp"
#include "rosidl_typesupport_introspection_cpp/message_introspection.hpp"
#include "rosidl_typesupport_introspection_cpp/service_introspection.hpp"

namespace handles_cpp {

constexpr const char* kSupport = "rosidl_typesupport_introspection_cpp";

using Members = rosidl_typesupport_introspection_cpp::MessageMembers;
using Member = rosidl_typesupport_introspection_cpp::MessageMember;
using ServiceMembers = rosidl_typesupport_introspection_cpp::ServiceMembers;

struct MessageHandle {
  const char* kind;
  const char* name;
  const rosidl_message_type_support_t* (*handle)();
};

#define CPP_MESSAGE_HANDLE(kind, Type) \
  MessageHandle{#kind, #Type,         \
                &rosidl_typesupport_introspection_cpp::get_message_type_support_handle<corvanthelis_interfaces::kind::Type>},

// In the catalogue's order.
inline const std::vector<MessageHandle>& message_templates() {
  static const std::vector<MessageHandle> all = {CORVANTHELIS_CPP_TYPES(CPP_MESSAGE_HANDLE)};
  return all;
}

#undef CPP_MESSAGE_HANDLE

struct ServiceHandle {
  const char* kind;
  const char* name;
  const rosidl_service_type_support_t* (*handle)();
};

#define CPP_SERVICE_HANDLE(kind, Service) \
  ServiceHandle{#kind, #Service,          \
                &rosidl_typesupport_introspection_cpp::get_service_type_support_handle<corvanthelis_interfaces::kind::Service>}

// In the catalogue's order.
inline const std::vector<ServiceHandle>& service_templates() {
  static const std::vector<ServiceHandle> all = {
      CPP_SERVICE_HANDLE(srv, MoveToGrab),
      CPP_SERVICE_HANDLE(srv, GrabSortedTrash),
      CPP_SERVICE_HANDLE(srv, SamProcess),
      CPP_SERVICE_HANDLE(srv, TrashCloud),
      CPP_SERVICE_HANDLE(srv, ArmRelease),
      CPP_SERVICE_HANDLE(srv, ArmGrab),
      CPP_SERVICE_HANDLE(srv, ArmMoveJoints),
      CPP_SERVICE_HANDLE(srv, DetectTrash),
      CPP_SERVICE_HANDLE(srv, ElevatorButtonPose),
      CPP_SERVICE_HANDLE(srv, ArmPushButton),
      CPP_SERVICE_HANDLE(srv, GraspState),
      CPP_SERVICE_HANDLE(action, ArmTask_SendGoal),
      CPP_SERVICE_HANDLE(action, ArmTask_GetResult),
      CPP_SERVICE_HANDLE(action, ArmTaskDecision_SendGoal),
      CPP_SERVICE_HANDLE(action, ArmTaskDecision_GetResult),
  };
  return all;
}

#undef CPP_SERVICE_HANDLE

inline const rosidl_message_type_support_t* message(const char* kind, const char* name) {
  return handles::message(kSupport, catalogue::c_name(kind, name));
}

inline const Members& members_of(const rosidl_message_type_support_t* record) {
  return *static_cast<const Members*>(record->data);
}

inline const Members& members_of(const char* kind, const char* name) { return members_of(message(kind, name)); }

inline const Member& member_named(const Members& members, const std::string& name) {
  for (uint32_t i = 0; i < members.member_count_; ++i) {
    if (name == members.members_[i].name_) return members.members_[i];
  }
  throw std::runtime_error("no member " + name + " in " + members.message_name_);
}

}  // namespace handles_cpp
