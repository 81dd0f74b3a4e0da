#pragma once

// Fills an initialised C structure from a value, knowing no type: the C introspection table
// says where each member lies and what it holds. Members the value leaves out keep what the
// structure's init gave them.

#include "rosidl_typesupport_introspection_c/message_introspection.h"
#include "value_text.hpp"

namespace inspect {

void fill_message(const rosidl_typesupport_introspection_c__MessageMembers& members, void* message,
                  const Value& value);

}  // namespace inspect
