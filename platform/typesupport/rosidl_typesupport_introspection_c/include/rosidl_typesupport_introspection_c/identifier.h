#ifndef ROSIDL_TYPESUPPORT_INTROSPECTION_C__IDENTIFIER_H_
#define ROSIDL_TYPESUPPORT_INTROSPECTION_C__IDENTIFIER_H_

#include "rosidl_typesupport_introspection_c/visibility_control.h"

#ifdef __cplusplus
extern "C" {
#endif

// Records of the C introspection type support carry this pointer value as their identifier;
// lookups compare by content, so every record is stamped from this one variable.
ROSIDL_TYPESUPPORT_INTROSPECTION_C_PUBLIC
extern const char * rosidl_typesupport_introspection_c__identifier;

#ifdef __cplusplus
}
#endif

#endif  // ROSIDL_TYPESUPPORT_INTROSPECTION_C__IDENTIFIER_H_
