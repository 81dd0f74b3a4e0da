#include "rosidl_typesupport_introspection_c/identifier.h"

const char * rosidl_typesupport_introspection_c__identifier = "rosidl_typesupport_introspection_c";
