#include "cpp_catalogue.hpp"

#include <stdexcept>

#include "cpp_catalogue_headers.hpp"

namespace ser {
namespace {

#define CPP_ROW(kind, T)                                                                             \
  CppRow {                                                                                           \
    #kind, #T, &rosidl_typesupport_fastrtps_cpp::get_message_type_support_handle<                    \
                   corvanthelis_interfaces::kind::T>,                                                \
        &rosidl_typesupport_fastrtps_cpp__get_message_type_support_handle__corvanthelis_interfaces__##kind##__##T, \
        &rosidl_typesupport_introspection_cpp::get_message_type_support_handle<                      \
            corvanthelis_interfaces::kind::T>,                                                       \
        &rosidl_typesupport_introspection_c__get_message_type_support_handle__corvanthelis_interfaces__##kind##__##T, \
        [](const void* m, size_t at) {                                                               \
          return corvanthelis_interfaces::kind::typesupport_fastrtps_cpp::get_serialized_size(       \
              *static_cast<const corvanthelis_interfaces::kind::T*>(m), at);                         \
        },                                                                                           \
        &corvanthelis_interfaces::kind::typesupport_fastrtps_cpp::max_serialized_size_##T,           \
        [](const void* m, eprosima::fastcdr::Cdr& cdr) {                                             \
          return corvanthelis_interfaces::kind::typesupport_fastrtps_cpp::cdr_serialize(             \
              *static_cast<const corvanthelis_interfaces::kind::T*>(m), cdr);                        \
        },                                                                                           \
        [](eprosima::fastcdr::Cdr& cdr, void* m) {                                                   \
          return corvanthelis_interfaces::kind::typesupport_fastrtps_cpp::cdr_deserialize(           \
              cdr, *static_cast<corvanthelis_interfaces::kind::T*>(m));                              \
        },                                                                                           \
        []() -> void* { return new corvanthelis_interfaces::kind::T(); },                           \
        [](void* m) { delete static_cast<corvanthelis_interfaces::kind::T*>(m); },                  \
        [](const void* a, const void* b) {                                                           \
          return *static_cast<const corvanthelis_interfaces::kind::T*>(a) ==                         \
                 *static_cast<const corvanthelis_interfaces::kind::T*>(b);                           \
        }                                                                                            \
  }

#define CPP_SERVICE(kind, S)                                                                        \
  CppServiceRow {                                                                                   \
    #kind, #S, &rosidl_typesupport_fastrtps_cpp::get_service_type_support_handle<                   \
                   corvanthelis_interfaces::kind::S>,                                               \
        &rosidl_typesupport_fastrtps_cpp__get_service_type_support_handle__corvanthelis_interfaces__##kind##__##S, \
        &rosidl_typesupport_fastrtps_cpp__get_message_type_support_handle__corvanthelis_interfaces__##kind##__##S##_Request, \
        &rosidl_typesupport_fastrtps_cpp__get_message_type_support_handle__corvanthelis_interfaces__##kind##__##S##_Response \
  }

}  // namespace

const std::vector<CppRow>& cpp_types() {
  static const std::vector<CppRow> rows = {
      CPP_ROW(srv, MoveToGrab_Request),
      CPP_ROW(srv, MoveToGrab_Response),
      CPP_ROW(msg, DetectedWastes),
      CPP_ROW(msg, GrabTrashCloud),
      CPP_ROW(msg, Trash),
      CPP_ROW(msg, Trashes),
      CPP_ROW(msg, TrashInfo),
      CPP_ROW(msg, TrashInfos),
      CPP_ROW(srv, GrabSortedTrash_Request),
      CPP_ROW(srv, GrabSortedTrash_Response),
      CPP_ROW(srv, SamProcess_Request),
      CPP_ROW(srv, SamProcess_Response),
      CPP_ROW(srv, TrashCloud_Request),
      CPP_ROW(srv, TrashCloud_Response),
      CPP_ROW(srv, ArmRelease_Request),
      CPP_ROW(srv, ArmRelease_Response),
      CPP_ROW(srv, ArmGrab_Request),
      CPP_ROW(srv, ArmGrab_Response),
      CPP_ROW(srv, ArmMoveJoints_Request),
      CPP_ROW(srv, ArmMoveJoints_Response),
      CPP_ROW(srv, DetectTrash_Request),
      CPP_ROW(srv, DetectTrash_Response),
      CPP_ROW(srv, ElevatorButtonPose_Request),
      CPP_ROW(srv, ElevatorButtonPose_Response),
      CPP_ROW(srv, ArmPushButton_Request),
      CPP_ROW(srv, ArmPushButton_Response),
      CPP_ROW(srv, GraspState_Request),
      CPP_ROW(srv, GraspState_Response),
      CPP_ROW(action, ArmTask_Goal),
      CPP_ROW(action, ArmTask_Result),
      CPP_ROW(action, ArmTask_Feedback),
      CPP_ROW(action, ArmTask_SendGoal_Request),
      CPP_ROW(action, ArmTask_SendGoal_Response),
      CPP_ROW(action, ArmTask_GetResult_Request),
      CPP_ROW(action, ArmTask_GetResult_Response),
      CPP_ROW(action, ArmTask_FeedbackMessage),
      CPP_ROW(action, ArmTaskDecision_Goal),
      CPP_ROW(action, ArmTaskDecision_Result),
      CPP_ROW(action, ArmTaskDecision_Feedback),
      CPP_ROW(action, ArmTaskDecision_SendGoal_Request),
      CPP_ROW(action, ArmTaskDecision_SendGoal_Response),
      CPP_ROW(action, ArmTaskDecision_GetResult_Request),
      CPP_ROW(action, ArmTaskDecision_GetResult_Response),
      CPP_ROW(action, ArmTaskDecision_FeedbackMessage),
  };
  return rows;
}

const std::vector<CppServiceRow>& cpp_services() {
  static const std::vector<CppServiceRow> rows = {
      CPP_SERVICE(srv, MoveToGrab),
      CPP_SERVICE(srv, GrabSortedTrash),
      CPP_SERVICE(srv, SamProcess),
      CPP_SERVICE(srv, TrashCloud),
      CPP_SERVICE(srv, ArmRelease),
      CPP_SERVICE(srv, ArmGrab),
      CPP_SERVICE(srv, ArmMoveJoints),
      CPP_SERVICE(srv, DetectTrash),
      CPP_SERVICE(srv, ElevatorButtonPose),
      CPP_SERVICE(srv, ArmPushButton),
      CPP_SERVICE(srv, GraspState),
      CPP_SERVICE(action, ArmTask_SendGoal),
      CPP_SERVICE(action, ArmTask_GetResult),
      CPP_SERVICE(action, ArmTaskDecision_SendGoal),
      CPP_SERVICE(action, ArmTaskDecision_GetResult),
  };
  return rows;
}

const CppRow& cpp_type(const std::string& name) {
  for (const CppRow& row : cpp_types()) {
    if (name == row.name) return row;
  }
  throw std::invalid_argument("no C++ type " + name);
}

std::vector<uint8_t> cpp_write(const CppRow& row, const void* msg, size_t lead) {
  return write_through(row.callbacks(), row.name, msg, row.size(msg, lead), lead);
}

}  // namespace ser
