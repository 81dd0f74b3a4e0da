#pragma once

// Prints a value as YAML from what the C introspection tables say about it, knowing no type of
// any package.

#include <ostream>
#include <string>

#include "rosidl_typesupport_introspection_c/message_introspection.h"

namespace inspect {

void print_value(std::ostream& out, const rosidl_typesupport_introspection_c__MessageMembers& members,
                 const void* message);

}  // namespace inspect
