#include "c_types.hpp"

#include <cstdlib>
#include <string>

#include "corvanthelis_interfaces/msg/detail/trashes__type_support.h"
#include "corvanthelis_interfaces/srv/detail/detect_trash__type_support.h"
#include "random_trash.hpp"
#include "rosidl_runtime_c/string_functions.h"
#include "transport/c_message.hpp"

namespace transport_test {
namespace {

void assign(rosidl_runtime_c__String& string, const std::string& text) {
  if (!rosidl_runtime_c__String__assignn(&string, text.data(), text.size())) std::abort();
}

void resize(corvanthelis_interfaces__msg__Trash__Sequence& trashes, size_t count) {
  corvanthelis_interfaces__msg__Trash__Sequence__fini(&trashes);
  if (!corvanthelis_interfaces__msg__Trash__Sequence__init(&trashes, count)) std::abort();
}

}  // namespace

transport::MessageSupport trashes_c() {
  return {
      rosidl_typesupport_c__get_message_type_support_handle__corvanthelis_interfaces__msg__Trashes(),
      transport::c_message_ops<corvanthelis_interfaces__msg__Trashes,
                               &corvanthelis_interfaces__msg__Trashes__create,
                               &corvanthelis_interfaces__msg__Trashes__destroy>()};
}

transport::ServiceSupport detect_trash_c() {
  return transport::service_support(
      rosidl_typesupport_c__get_service_type_support_handle__corvanthelis_interfaces__srv__DetectTrash(),
      transport::c_message_ops<corvanthelis_interfaces__srv__DetectTrash_Request,
                               &corvanthelis_interfaces__srv__DetectTrash_Request__create,
                               &corvanthelis_interfaces__srv__DetectTrash_Request__destroy>(),
      transport::c_message_ops<corvanthelis_interfaces__srv__DetectTrash_Response,
                               &corvanthelis_interfaces__srv__DetectTrash_Response__create,
                               &corvanthelis_interfaces__srv__DetectTrash_Response__destroy>());
}

void fill_random(corvanthelis_interfaces__msg__Trashes& message, std::mt19937_64& random) {
  message.header.stamp.sec = static_cast<int32_t>(random());
  message.header.stamp.nanosec = static_cast<uint32_t>(random());
  assign(message.header.frame_id, random_text(random));
  resize(message.trashes, random() % 6);
  for (size_t i = 0; i < message.trashes.size; ++i)
    fill_random_trash(message.trashes.data[i], random);
}

void answer_detect_trash(const corvanthelis_interfaces__srv__DetectTrash_Request& request,
                         corvanthelis_interfaces__srv__DetectTrash_Response& response) {
  response.status = request.cmd * 2 + request.cam_choice;
  assign(response.errmsg, "camera " + std::to_string(request.cam_choice));
  std::mt19937_64 random(static_cast<uint64_t>(request.cmd));
  resize(response.trashes_detected, static_cast<size_t>(request.cmd) % 4);
  for (size_t i = 0; i < response.trashes_detected.size; ++i)
    fill_random_trash(response.trashes_detected.data[i], random);
}

transport::MessagePtr answer_detect_trash(const transport::MessagePtr& request) {
  transport::MessagePtr response = transport::make_message(detect_trash_c().response.ops);
  answer_detect_trash(
      *static_cast<const corvanthelis_interfaces__srv__DetectTrash_Request*>(request.get()),
      *static_cast<corvanthelis_interfaces__srv__DetectTrash_Response*>(response.get()));
  return response;
}

}  // namespace transport_test
