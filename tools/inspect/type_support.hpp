#pragma once

// Reaches a type's supports the way a client of the package would: through the package's
// dispatch library, found by file name, and the records that its handle hands out.

#include <stdexcept>
#include <string>

#include "rosidl_runtime_c/message_type_support_struct.h"
#include "rosidl_typesupport_fastrtps_cpp/message_type_support.h"
#include "rosidl_typesupport_introspection_c/message_introspection.h"
#include "rosidl_typesupport_introspection_cpp/message_introspection.hpp"

namespace inspect {

// Every failure the tool reports: one line of text, no stack of causes.
struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// "<pkg>/<kind>/<Type>" resolved to the type's dispatch record.
const rosidl_message_type_support_t* dispatch_record(const std::string& type_name);

const rosidl_typesupport_introspection_c__MessageMembers& introspection(
    const rosidl_message_type_support_t& dispatch);
const message_type_support_callbacks_t& serialization(const rosidl_message_type_support_t& dispatch);

// The C++ table of "<pkg>/<kind>/<Type>", through the package's C++ dispatch library, found by
// file name, as a C++ client reaches it; null when the package has no such library.
const rosidl_typesupport_introspection_cpp::MessageMembers* cpp_introspection(const std::string& type_name);

// A C structure made and released through the type's own table, as a generic reader must.
void* new_message(const rosidl_typesupport_introspection_c__MessageMembers& members);
void delete_message(const rosidl_typesupport_introspection_c__MessageMembers& members, void* message);

// The nested type's table of a member whose type code is MESSAGE.
const rosidl_typesupport_introspection_c__MessageMembers& nested_members(
    const rosidl_typesupport_introspection_c__MessageMember& member);
const rosidl_typesupport_introspection_cpp::MessageMembers& nested_members(
    const rosidl_typesupport_introspection_cpp::MessageMember& member);

}  // namespace inspect
