#include "model/model.hpp"

#include <algorithm>
#include <stdexcept>

namespace idlc {

FieldKind Type::kind() const {
  switch (container) {
    case Container::Single:
      switch (element) {
        case ElementKind::Primitive: return FieldKind::Primitive;
        case ElementKind::String: return FieldKind::String;
        case ElementKind::Nested: return FieldKind::Nested;
      }
      break;
    case Container::FixedArray:
      switch (element) {
        case ElementKind::Primitive: return FieldKind::PrimitiveArray;
        case ElementKind::String: return FieldKind::StringArray;
        case ElementKind::Nested: return FieldKind::NestedArray;
      }
      break;
    case Container::BoundedSequence:
    case Container::UnboundedSequence:
      switch (element) {
        case ElementKind::Primitive: return FieldKind::PrimitiveSequence;
        case ElementKind::String: return FieldKind::StringSequence;
        case ElementKind::Nested: return FieldKind::NestedSequence;
      }
      break;
  }
  return FieldKind::Primitive;  // unreachable: the switches above are exhaustive
}

const std::vector<std::string>& role_words(Role role) {
  static const std::vector<std::string> none, request{"Request"}, response{"Response"},
      goal{"Goal"}, result{"Result"}, feedback{"Feedback"}, send_goal_request{"SendGoal", "Request"},
      send_goal_response{"SendGoal", "Response"}, get_result_request{"GetResult", "Request"},
      get_result_response{"GetResult", "Response"}, feedback_message{"FeedbackMessage"};
  switch (role) {
    case Role::Message: return none;
    case Role::Request: return request;
    case Role::Response: return response;
    case Role::Goal: return goal;
    case Role::Result: return result;
    case Role::Feedback: return feedback;
    case Role::SendGoalRequest: return send_goal_request;
    case Role::SendGoalResponse: return send_goal_response;
    case Role::GetResultRequest: return get_result_request;
    case Role::GetResultResponse: return get_result_response;
    case Role::FeedbackMessage: return feedback_message;
  }
  return none;
}

const std::vector<std::string>& role_words(ServiceRole role) {
  static const std::vector<std::string> none, send_goal{"SendGoal"}, get_result{"GetResult"};
  switch (role) {
    case ServiceRole::Service: return none;
    case ServiceRole::SendGoal: return send_goal;
    case ServiceRole::GetResult: return get_result;
  }
  return none;
}

std::string role_name(const std::string& interface_name, const std::vector<std::string>& words) {
  std::string name = interface_name;
  for (const std::string& word : words) name += "_" + word;
  return name;
}

const Structure& Interface::structure(Role role) const {
  for (const Structure* structure : structures) {
    if (structure->role == role) return *structure;
  }
  throw std::logic_error("the model gives " + name + " no structure of that role");
}

const Service& Interface::service(ServiceRole role) const {
  for (const Service& service : services) {
    if (service.role == role) return service;
  }
  throw std::logic_error("the model gives " + name + " no service of that role");
}

const Package* Model::find_package(const std::string& name) const {
  for (const auto& package : packages) {
    if (package.name == name) return &package;
  }
  return nullptr;
}

const Structure* Model::find_structure(const std::string& package, const std::string& name) const {
  for (const auto& structure : structures) {
    if (structure.package == package && structure.name == name) return &structure;
  }
  return nullptr;
}

std::vector<const Structure*> structures_of(const Package& package) {
  std::vector<const Structure*> result;
  for (const Interface* interface : package.interfaces) {
    result.insert(result.end(), interface->structures.begin(), interface->structures.end());
  }
  return result;
}

std::vector<const Service*> services_of(const Package& package) {
  std::vector<const Service*> result;
  for (const Interface* interface : package.interfaces) {
    for (const Service& service : interface->services) result.push_back(&service);
  }
  return result;
}

std::vector<std::string> direct_dependencies(const Package& package) {
  std::vector<std::string> result;
  for (const Structure* structure : structures_of(package)) {
    for (const Field& field : structure->fields) {
      const Structure* nested = field.type.nested;
      if (nested == nullptr || nested->package == package.name) continue;
      if (std::find(result.begin(), result.end(), nested->package) == result.end()) {
        result.push_back(nested->package);
      }
    }
  }
  return result;
}

}  // namespace idlc
