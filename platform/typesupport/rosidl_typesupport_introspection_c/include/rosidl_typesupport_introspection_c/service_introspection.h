#ifndef ROSIDL_TYPESUPPORT_INTROSPECTION_C__SERVICE_INTROSPECTION_H_
#define ROSIDL_TYPESUPPORT_INTROSPECTION_C__SERVICE_INTROSPECTION_H_

#include "rosidl_typesupport_introspection_c/message_introspection.h"

#ifdef __cplusplus
extern "C" {
#endif

// Unlike a nested member, a service points straight at its request and response tables.
typedef struct rosidl_typesupport_introspection_c__ServiceMembers_s
{
  const char * service_namespace_;
  const char * service_name_;
  const rosidl_typesupport_introspection_c__MessageMembers * request_members_;
  const rosidl_typesupport_introspection_c__MessageMembers * response_members_;
} rosidl_typesupport_introspection_c__ServiceMembers;

#ifdef __cplusplus
}
#endif

#endif  // ROSIDL_TYPESUPPORT_INTROSPECTION_C__SERVICE_INTROSPECTION_H_
