// Every member function of every class template of every package, instantiated once so that
// the strict warnings see their bodies too.

#include "action_msgs/msg/goal_info.hpp"
#include "action_msgs/msg/goal_status.hpp"
#include "action_msgs/msg/goal_status_array.hpp"
#include "action_msgs/srv/cancel_goal.hpp"
#include "builtin_interfaces/msg/duration.hpp"
#include "builtin_interfaces/msg/time.hpp"
#include "cpp_types.hpp"
#include "geometry_msgs/msg/point.hpp"
#include "geometry_msgs/msg/pose.hpp"
#include "geometry_msgs/msg/quaternion.hpp"
#include "sensor_msgs/msg/image.hpp"
#include "sensor_msgs/msg/point_cloud2.hpp"
#include "sensor_msgs/msg/point_field.hpp"
#include "std_msgs/msg/float64_multi_array.hpp"
#include "std_msgs/msg/header.hpp"
#include "std_msgs/msg/multi_array_dimension.hpp"
#include "std_msgs/msg/multi_array_layout.hpp"
#include "unique_identifier_msgs/msg/uuid.hpp"

#define INSTANTIATE(package, kind, Type) template struct package::kind::Type##_<std::allocator<void>>;
#define INSTANTIATE_PACKAGE_TYPE(kind, Type) INSTANTIATE(corvanthelis_interfaces, kind, Type)

CORVANTHELIS_CPP_TYPES(INSTANTIATE_PACKAGE_TYPE)
INSTANTIATE(builtin_interfaces, msg, Time)
INSTANTIATE(builtin_interfaces, msg, Duration)
INSTANTIATE(std_msgs, msg, Header)
INSTANTIATE(std_msgs, msg, MultiArrayDimension)
INSTANTIATE(std_msgs, msg, MultiArrayLayout)
INSTANTIATE(std_msgs, msg, Float64MultiArray)
INSTANTIATE(geometry_msgs, msg, Point)
INSTANTIATE(geometry_msgs, msg, Quaternion)
INSTANTIATE(geometry_msgs, msg, Pose)
INSTANTIATE(sensor_msgs, msg, PointField)
INSTANTIATE(sensor_msgs, msg, Image)
INSTANTIATE(sensor_msgs, msg, PointCloud2)
INSTANTIATE(unique_identifier_msgs, msg, UUID)
INSTANTIATE(action_msgs, msg, GoalInfo)
INSTANTIATE(action_msgs, msg, GoalStatus)
INSTANTIATE(action_msgs, msg, GoalStatusArray)
INSTANTIATE(action_msgs, srv, CancelGoal_Request)
INSTANTIATE(action_msgs, srv, CancelGoal_Response)
