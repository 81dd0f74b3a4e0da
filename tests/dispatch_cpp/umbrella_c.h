#ifndef DISPATCH_CPP_UMBRELLA_C_H_
#define DISPATCH_CPP_UMBRELLA_C_H_

// What a C client gets from the package's umbrella headers alone (umbrella_c.c includes
// nothing else): the C dispatch record of every structure, service and action, in catalogue
// order, through the macros rcl uses. Each function fills `out` and returns the count.

#include <stddef.h>

#include "rosidl_runtime_c/action_type_support_struct.h"

#ifdef __cplusplus
extern "C" {
#endif

size_t umbrella_c_messages(const rosidl_message_type_support_t ** out);
size_t umbrella_c_services(const rosidl_service_type_support_t ** out);
size_t umbrella_c_actions(const rosidl_action_type_support_t ** out);

#ifdef __cplusplus
}
#endif

#endif  // DISPATCH_CPP_UMBRELLA_C_H_
