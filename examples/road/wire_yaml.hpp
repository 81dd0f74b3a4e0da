#pragma once

// What a C++ message looks like on the wire, as YAML: the bytes its C++ fast-CDR support
// writes, read back by the C support into a structure the C introspection tables describe.
// Knows no type; the two supports must agree for the demo to pass.

#include <string>

#include "rosidl_runtime_c/message_type_support_struct.h"
#include "rosidl_typesupport_fastrtps_cpp/message_type_support_decl.hpp"

namespace road {

std::string wire_yaml(const rosidl_message_type_support_t* cpp_record, const void* message);

template <typename T>
std::string wire_yaml(const T& message) {
  return wire_yaml(rosidl_typesupport_fastrtps_cpp::get_message_type_support_handle<T>(), &message);
}

}  // namespace road
