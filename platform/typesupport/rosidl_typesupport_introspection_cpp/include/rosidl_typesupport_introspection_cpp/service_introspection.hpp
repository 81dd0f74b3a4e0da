#ifndef ROSIDL_TYPESUPPORT_INTROSPECTION_CPP__SERVICE_INTROSPECTION_HPP_
#define ROSIDL_TYPESUPPORT_INTROSPECTION_CPP__SERVICE_INTROSPECTION_HPP_

#include "rosidl_typesupport_introspection_cpp/message_introspection.hpp"

namespace rosidl_typesupport_introspection_cpp {

// Unlike a nested member, a service points straight at its request and response tables.
typedef struct ServiceMembers_s
{
  const char * service_namespace_;
  const char * service_name_;
  const MessageMembers * request_members_;
  const MessageMembers * response_members_;
} ServiceMembers;

}  // namespace rosidl_typesupport_introspection_cpp

#endif  // ROSIDL_TYPESUPPORT_INTROSPECTION_CPP__SERVICE_INTROSPECTION_HPP_
