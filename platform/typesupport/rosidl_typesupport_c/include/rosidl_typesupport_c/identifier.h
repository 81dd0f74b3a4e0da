#ifndef ROSIDL_TYPESUPPORT_C__IDENTIFIER_H_
#define ROSIDL_TYPESUPPORT_C__IDENTIFIER_H_

#include "rosidl_typesupport_c/visibility_control.h"

#ifdef __cplusplus
extern "C" {
#endif

// Dispatch records carry this pointer value as their identifier; lookups compare by content,
// so every record is stamped from this one variable.
ROSIDL_TYPESUPPORT_C_PUBLIC
extern const char * rosidl_typesupport_c__typesupport_identifier;

#ifdef __cplusplus
}
#endif

#endif  // ROSIDL_TYPESUPPORT_C__IDENTIFIER_H_
