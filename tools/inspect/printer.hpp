#pragma once

// Prints what the C introspection tables say: a type's layout, or a value as YAML. Neither
// knows any type of any package; everything comes from the tables.

#include <ostream>
#include <string>

#include "rosidl_typesupport_introspection_c/message_introspection.h"

namespace inspect {

void print_layout(std::ostream& out, const std::string& title,
                  const rosidl_typesupport_introspection_c__MessageMembers& members);

void print_value(std::ostream& out, const rosidl_typesupport_introspection_c__MessageMembers& members,
                 const void* message);

}  // namespace inspect
