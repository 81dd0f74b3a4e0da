#pragma once

// What the C++ peers of the transport tests send and answer; the Python tests compute the same.

#include <random>

#include "corvanthelis_interfaces/msg/trashes.hpp"
#include "corvanthelis_interfaces/srv/detect_trash.hpp"

namespace transport_test {

// Random contents everywhere, sequences and strings of random length; no NaN, so that
// equality means what it says.
void fill_random(corvanthelis_interfaces::msg::Trashes& message, std::mt19937_64& random);

// status = 2 cmd + cam_choice; errmsg "camera <cam_choice>"; cmd % 4 trashes, the i-th with
// type i, location cmd % 256, mainaxis_type cam_choice, grab_pose.position.x = cmd + i / 2 and
// obb_size.z = -i / 4. For cmd >= 0.
corvanthelis_interfaces::srv::DetectTrash::Response answer(
    const corvanthelis_interfaces::srv::DetectTrash::Request& request);

}  // namespace transport_test
