#ifndef ROSIDL_TYPESUPPORT_CPP__TYPE_SUPPORT_MAP_H_
#define ROSIDL_TYPESUPPORT_CPP__TYPE_SUPPORT_MAP_H_

// The C++ dispatch's maps have the layout of the C runtime's; in the stand-ins they are its very
// type, so that the one lookup serves both runtimes.
#include "rosidl_typesupport_c/type_support_map.h"

#endif  // ROSIDL_TYPESUPPORT_CPP__TYPE_SUPPORT_MAP_H_
