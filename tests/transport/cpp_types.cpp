#include "cpp_types.hpp"

#include "random_trash.hpp"

namespace transport_test {

void fill_random(corvanthelis_interfaces::msg::Trashes& message, std::mt19937_64& random) {
  message.header.stamp.sec = static_cast<int32_t>(random());
  message.header.stamp.nanosec = static_cast<uint32_t>(random());
  message.header.frame_id = random_text(random);
  message.trashes.resize(random() % 6);
  for (auto& trash : message.trashes) fill_random_trash(trash, random);
}

corvanthelis_interfaces::srv::DetectTrash::Response answer(
    const corvanthelis_interfaces::srv::DetectTrash::Request& request) {
  corvanthelis_interfaces::srv::DetectTrash::Response response;
  response.status = request.cmd * 2 + request.cam_choice;
  response.errmsg = "camera " + std::to_string(request.cam_choice);
  response.trashes_detected.resize(static_cast<size_t>(request.cmd % 4));
  for (size_t i = 0; i < response.trashes_detected.size(); ++i) {
    auto& trash = response.trashes_detected[i];
    trash.type = static_cast<uint8_t>(i);
    trash.location = static_cast<uint8_t>(request.cmd % 256);
    trash.mainaxis_type = request.cam_choice;
    trash.grab_pose.position.x = request.cmd + 0.5 * static_cast<double>(i);
    trash.obb_size.z = -0.25 * static_cast<double>(i);
  }
  return response;
}

}  // namespace transport_test
