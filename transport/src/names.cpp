#include "transport/names.hpp"

#include <cctype>
#include <stdexcept>

namespace transport::names {
namespace {

// The name without its leading '/', checked.
std::string relative(const std::string& ros_name) {
  const std::string name =
      !ros_name.empty() && ros_name.front() == '/' ? ros_name.substr(1) : ros_name;
  bool valid = !name.empty() && name.front() != '/' && name.back() != '/' &&
               name.find("//") == std::string::npos;
  for (const char c : name) {
    valid = valid && (std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '/');
  }
  if (!valid)
    throw std::invalid_argument("'" + ros_name + "' is not a valid ROS topic or service name");
  return name;
}

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

}  // namespace

std::string topic(const std::string& ros_name) { return "rt/" + relative(ros_name); }

std::string request_topic(const std::string& ros_name) {
  return "rq/" + relative(ros_name) + "Request";
}

std::string reply_topic(const std::string& ros_name) {
  return "rr/" + relative(ros_name) + "Reply";
}

std::string action_part(const std::string& action, const std::string& part) {
  return "/" + relative(action) + "/_action/" + relative(part);
}

std::string dds_type(const std::string& message_namespace, const std::string& message_name) {
  return replace_all(message_namespace, "__", "::") + "::dds_::" + message_name + "_";
}

}  // namespace transport::names
