#pragma once

// The C++ handles in both forms: the template specialisations, reached at compile time from the
// class and key types, and the C-linkage functions, looked up by name as the runtime finds them.

#include <stdexcept>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "catalogue/cpp_headers.hpp"
#include "catalogue/introspection_cpp_headers.hpp"
#include "handles.hpp"
#include "rosidl_typesupport_introspection_cpp/field_types.hpp"
#include "rosidl_typesupport_introspection_cpp/message_introspection.hpp"
#include "rosidl_typesupport_introspection_cpp/service_introspection.hpp"

namespace handles_cpp {

constexpr const char* kSupport = "rosidl_typesupport_introspection_cpp";

using Members = rosidl_typesupport_introspection_cpp::MessageMembers;
using Member = rosidl_typesupport_introspection_cpp::MessageMember;
using ServiceMembers = rosidl_typesupport_introspection_cpp::ServiceMembers;

struct MessageHandle {
  const char* name;
  const rosidl_message_type_support_t* (*handle)();
};

// In the catalogue's order.
inline const std::vector<MessageHandle>& message_templates() {
  static const std::vector<MessageHandle> all = {
#define CATALOGUE_STRUCTURE(package, kind, Name, role, c_name, cpp_name, ...) \
  {#Name, &rosidl_typesupport_introspection_cpp::get_message_type_support_handle<cpp_name>},
#include "catalogue/interfaces.def"
  };
  return all;
}

struct ServiceHandle {
  const char* name;
  const rosidl_service_type_support_t* (*handle)();
};

// In the catalogue's order.
inline const std::vector<ServiceHandle>& service_templates() {
  static const std::vector<ServiceHandle> all = {
#define CATALOGUE_SERVICE(package, kind, Name, c_name, cpp_name, ...) \
  {#Name, &rosidl_typesupport_introspection_cpp::get_service_type_support_handle<cpp_name>},
#include "catalogue/interfaces.def"
  };
  return all;
}

inline const Members& members_of(const rosidl_message_type_support_t* record) {
  return *static_cast<const Members*>(record->data);
}

inline const Members& members_of(const std::string& name) {
  return members_of(handles::message(kSupport, catalogue::structure(name)));
}

inline const Member& member_named(const Members& members, const std::string& name) {
  for (uint32_t i = 0; i < members.member_count_; ++i) {
    if (name == members.members_[i].name_) return members.members_[i];
  }
  throw std::runtime_error("no member " + name + " in " + members.message_name_);
}

}  // namespace handles_cpp
