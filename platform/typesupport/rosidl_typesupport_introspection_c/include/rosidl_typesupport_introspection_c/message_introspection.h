#ifndef ROSIDL_TYPESUPPORT_INTROSPECTION_C__MESSAGE_INTROSPECTION_H_
#define ROSIDL_TYPESUPPORT_INTROSPECTION_C__MESSAGE_INTROSPECTION_H_

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#include "rosidl_runtime_c/message_initialization.h"
#include "rosidl_runtime_c/message_type_support_struct.h"

#ifdef __cplusplus
extern "C" {
#endif

// One field of a C structure. For an array or sequence, type_id_ describes the elements and
// the accessors reach them; members_ is the nested type's type-support record.
typedef struct rosidl_typesupport_introspection_c__MessageMember_s
{
  const char * name_;
  uint8_t type_id_;
  size_t string_upper_bound_;
  const rosidl_message_type_support_t * members_;
  bool is_array_;
  size_t array_size_;
  bool is_upper_bound_;
  uint32_t offset_;
  const void * default_value_;
  size_t (* size_function)(const void *);
  const void * (* get_const_function)(const void *, size_t index);
  void * (* get_function)(void *, size_t index);
  void (* fetch_function)(const void *, size_t index, void *);
  void (* assign_function)(void *, size_t index, const void *);
  bool (* resize_function)(void *, size_t size);
} rosidl_typesupport_introspection_c__MessageMember;

typedef struct rosidl_typesupport_introspection_c__MessageMembers_s
{
  const char * message_namespace_;
  const char * message_name_;
  uint32_t member_count_;
  size_t size_of_;
  const rosidl_typesupport_introspection_c__MessageMember * members_;
  void (* init_function)(void *, enum rosidl_runtime_c__message_initialization);
  void (* fini_function)(void *);
} rosidl_typesupport_introspection_c__MessageMembers;

#ifdef __cplusplus
}
#endif

#endif  // ROSIDL_TYPESUPPORT_INTROSPECTION_C__MESSAGE_INTROSPECTION_H_
