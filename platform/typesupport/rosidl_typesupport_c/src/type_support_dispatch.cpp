// The C type-support runtime: finds the support a client asks for in a dispatch record's map
// and loads the package's provider library for it by file name on first use.

#include "rosidl_typesupport_c/identifier.h"
#include "rosidl_typesupport_c/message_type_support_dispatch.h"
#include "rosidl_typesupport_c/service_type_support_dispatch.h"
#include "rosidl_typesupport_c/type_support_map.h"
#include "type_support_lookup.hpp"

const char * rosidl_typesupport_c__typesupport_identifier = "rosidl_typesupport_c";

namespace {

type_support_lookup::Runtime runtime{"rosidl_typesupport_c", {}};

}  // namespace

extern "C" {

const rosidl_message_type_support_t * rosidl_typesupport_c__get_message_typesupport_handle_function(
  const rosidl_message_type_support_t * handle, const char * identifier)
{
  return type_support_lookup::lookup<type_support_map_t>(runtime, handle, identifier);
}

const rosidl_service_type_support_t * rosidl_typesupport_c__get_service_typesupport_handle_function(
  const rosidl_service_type_support_t * handle, const char * identifier)
{
  return type_support_lookup::lookup<type_support_map_t>(runtime, handle, identifier);
}

}  // extern "C"
