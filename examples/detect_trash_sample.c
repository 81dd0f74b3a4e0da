#include "detect_trash_sample.h"

#include "corvanthelis_interfaces/msg/trash.h"
#include "rosidl_runtime_c/string_functions.h"

bool fill_detect_trash_sample(corvanthelis_interfaces__srv__DetectTrash_Response * response)
{
  response->status = 0;
  if (!corvanthelis_interfaces__msg__Trash__Sequence__init(&response->trashes_detected, 2) ||
    !rosidl_runtime_c__String__assign(&response->errmsg, "two items found on the table"))
  {
    return false;
  }
  corvanthelis_interfaces__msg__Trash * bottle = &response->trashes_detected.data[0];
  bottle->type = 3;
  bottle->location = 1;
  bottle->grab_pose.position.x = 0.42;
  bottle->grab_pose.position.y = -0.10;
  bottle->grab_pose.position.z = 0.05;
  bottle->obb_size.x = 0.07;
  bottle->obb_size.y = 0.07;
  bottle->obb_size.z = 0.25;
  corvanthelis_interfaces__msg__Trash * can = &response->trashes_detected.data[1];
  can->type = 5;
  can->location = 2;
  can->mainaxis_type = 1;
  can->grab_pose.position.x = 0.38;
  can->grab_pose.position.y = 0.12;
  can->obb_size.x = 0.06;
  can->obb_size.y = 0.06;
  can->obb_size.z = 0.12;
  return true;
}
