#ifndef CORVANTHELIS_EXAMPLES__DETECT_TRASH_SAMPLE_HPP_
#define CORVANTHELIS_EXAMPLES__DETECT_TRASH_SAMPLE_HPP_

#include "corvanthelis_interfaces/srv/detect_trash.hpp"

// The response of detect_trash_sample.c as a C++ node builds it: the same bottle and can.
inline corvanthelis_interfaces::srv::DetectTrash_Response detect_trash_sample()
{
  corvanthelis_interfaces::msg::Trash bottle;
  bottle.set__type(3).set__location(1);
  bottle.grab_pose.position.set__x(0.42).set__y(-0.10).set__z(0.05);
  bottle.obb_size.set__x(0.07).set__y(0.07).set__z(0.25);
  corvanthelis_interfaces::msg::Trash can;
  can.set__type(5).set__location(2).set__mainaxis_type(1);
  can.grab_pose.position.set__x(0.38).set__y(0.12);
  can.obb_size.set__x(0.06).set__y(0.06).set__z(0.12);

  corvanthelis_interfaces::srv::DetectTrash_Response response;
  response.set__status(0).set__trashes_detected({bottle, can}).set__errmsg("two items found on the table");
  return response;
}

#endif  // CORVANTHELIS_EXAMPLES__DETECT_TRASH_SAMPLE_HPP_
