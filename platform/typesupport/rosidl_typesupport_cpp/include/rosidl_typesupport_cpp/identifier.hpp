#ifndef ROSIDL_TYPESUPPORT_CPP__IDENTIFIER_HPP_
#define ROSIDL_TYPESUPPORT_CPP__IDENTIFIER_HPP_

#include "rosidl_typesupport_cpp/visibility_control.h"

namespace rosidl_typesupport_cpp
{

// The C++ dispatch records carry this pointer value as their identifier; lookups compare by
// content, so every record is stamped from this one variable.
ROSIDL_TYPESUPPORT_CPP_PUBLIC
extern const char * typesupport_identifier;

}  // namespace rosidl_typesupport_cpp

#endif  // ROSIDL_TYPESUPPORT_CPP__IDENTIFIER_HPP_
