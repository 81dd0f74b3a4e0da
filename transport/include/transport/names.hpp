#pragma once

// The DDS names under which ROS 2 Humble nodes on Fast DDS publish topics, services, actions
// and types, so that such a node on this host could talk to ours.

#include <string>

namespace transport::names {

// "/trashes" or "trashes" -> "rt/trashes". Throws std::invalid_argument for a name that no
// ROS node could use (empty, a lone '/', '//' or a trailing '/', characters outside
// [A-Za-z0-9_/]).
std::string topic(const std::string& ros_name);

// "/detect_trash" -> "rq/detect_trashRequest" and "rr/detect_trashReply".
std::string request_topic(const std::string& ros_name);
std::string reply_topic(const std::string& ros_name);

// The ROS names of an action's parts: ("/arm_task", "send_goal") -> "/arm_task/_action/send_goal".
// Services: send_goal, get_result, cancel_goal; topics: feedback, status.
std::string action_part(const std::string& action, const std::string& part);

// ("corvanthelis_interfaces::msg" or "corvanthelis_interfaces__msg", "Trashes")
// -> "corvanthelis_interfaces::msg::dds_::Trashes_".
std::string dds_type(const std::string& message_namespace, const std::string& message_name);

}  // namespace transport::names
