#ifndef ROSIDL_TYPESUPPORT_FASTRTPS_CPP__MESSAGE_TYPE_SUPPORT_H_
#define ROSIDL_TYPESUPPORT_FASTRTPS_CPP__MESSAGE_TYPE_SUPPORT_H_

// The callbacks record shared by the C and the C++ fast-CDR type support: the middleware reads
// a type's record through the `data` of its handle and never links the functions by name.

#include <cstddef>
#include <cstdint>

#include "fastcdr/Cdr.h"
#include "rosidl_runtime_c/message_type_support_struct.h"

// Bounds classes reported by max_serialized_size.
#define ROSIDL_TYPESUPPORT_FASTRTPS_UNBOUNDED_TYPE 0x00
#define ROSIDL_TYPESUPPORT_FASTRTPS_BOUNDED_TYPE 0x01
#define ROSIDL_TYPESUPPORT_FASTRTPS_PLAIN_TYPE 0x03

typedef struct message_type_support_callbacks_t
{
  const char * message_namespace_;
  const char * message_name_;
  bool (* cdr_serialize)(const void * untyped_ros_message, eprosima::fastcdr::Cdr & cdr);
  bool (* cdr_deserialize)(eprosima::fastcdr::Cdr & cdr, void * untyped_ros_message);
  uint32_t (* get_serialized_size)(const void * untyped_ros_message);
  size_t (* max_serialized_size)(char & bounds_info);
} message_type_support_callbacks_t;

#endif  // ROSIDL_TYPESUPPORT_FASTRTPS_CPP__MESSAGE_TYPE_SUPPORT_H_
