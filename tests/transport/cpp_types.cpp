#include "cpp_types.hpp"

namespace transport_test {
namespace {

double real(std::mt19937_64& random) { return std::uniform_real_distribution<double>(-1e6, 1e6)(random); }

void fill_pose(geometry_msgs::msg::Pose& pose, std::mt19937_64& random) {
  pose.position.x = real(random);
  pose.position.y = real(random);
  pose.position.z = real(random);
  pose.orientation.x = real(random);
  pose.orientation.y = real(random);
  pose.orientation.z = real(random);
  pose.orientation.w = real(random);
}

}  // namespace

void fill_random(corvanthelis_interfaces::msg::Trashes& message, std::mt19937_64& random) {
  message.header.stamp.sec = static_cast<int32_t>(random());
  message.header.stamp.nanosec = static_cast<uint32_t>(random());
  message.header.frame_id.assign(random() % 24, ' ');
  for (char& c : message.header.frame_id) c = static_cast<char>(' ' + random() % 95);
  message.trashes.resize(random() % 6);
  for (auto& trash : message.trashes) {
    trash.type = static_cast<uint8_t>(random());
    trash.location = static_cast<uint8_t>(random());
    trash.mainaxis_type = static_cast<uint8_t>(random());
    fill_pose(trash.grab_pose, random);
    fill_pose(trash.obb_pose, random);
    trash.obb_size.x = real(random);
    trash.obb_size.y = real(random);
    trash.obb_size.z = real(random);
  }
}

corvanthelis_interfaces::srv::DetectTrash::Response answer(const corvanthelis_interfaces::srv::DetectTrash::Request& request) {
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
