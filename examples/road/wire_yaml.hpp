#pragma once

// What a C++ message looks like on the wire, as YAML: the bytes its C++ fast-CDR support
// writes, found through the type's C++ dispatch record as the middleware finds it, read back by
// the C support into a structure the C introspection tables describe. Knows no type; the two
// supports must agree for the demo to pass.

#include <string>

#include "rosidl_runtime_c/message_type_support_struct.h"
#include "rosidl_typesupport_cpp/message_type_support.hpp"

namespace road {

std::string wire_yaml(const rosidl_message_type_support_t* dispatch_record, const void* message);

template <typename T>
std::string wire_yaml(const T& message) {
  return wire_yaml(rosidl_typesupport_cpp::get_message_type_support_handle<T>(), &message);
}

}  // namespace road
