#pragma once

// What the introspection tables say about where a type's members lie, for the C structures and
// the C++ classes alike: the two families of tables have the same shape and type codes, and
// differ only in the records their strings and sequences are.

#include <cstddef>
#include <ostream>
#include <string>

#include "rosidl_typesupport_introspection_c/message_introspection.h"
#include "rosidl_typesupport_introspection_cpp/message_introspection.hpp"

namespace inspect {

struct ElementType {
  std::string name;  // "float64", "string<=8", "geometry_msgs/msg/Pose"
  std::size_t size;  // in the structure or class described
};

// "pkg/msg/Type" from either family's namespace ("pkg__msg", "pkg::msg") and name.
std::string type_name(const char* message_namespace, const char* message_name);

// The member's type, or its elements' for an array or sequence.
ElementType element_type(const rosidl_typesupport_introspection_c__MessageMember& member);

// Arrays whose length changes, as opposed to fixed arrays.
bool is_sequence(const rosidl_typesupport_introspection_c__MessageMember& member);

void print_layout(std::ostream& out, const std::string& title,
                  const rosidl_typesupport_introspection_c__MessageMembers& members);
void print_layout(std::ostream& out, const std::string& title,
                  const rosidl_typesupport_introspection_cpp::MessageMembers& members);

}  // namespace inspect
