// The C++ type-support runtime: the C runtime's lookup for the C++ dispatch records, which
// load the package's C++ providers by file name on first use.

#include "rosidl_typesupport_cpp/identifier.hpp"
#include "rosidl_typesupport_cpp/message_type_support_dispatch.hpp"
#include "rosidl_typesupport_cpp/service_type_support_dispatch.hpp"
#include "rosidl_typesupport_cpp/type_support_map.h"
#include "type_support_lookup.hpp"

namespace rosidl_typesupport_cpp
{

const char * typesupport_identifier = "rosidl_typesupport_cpp";

namespace
{

type_support_lookup::Runtime runtime{"rosidl_typesupport_cpp", {}};

}  // namespace

const rosidl_message_type_support_t * get_message_typesupport_handle_function(
  const rosidl_message_type_support_t * handle, const char * identifier)
{
  return type_support_lookup::lookup<type_support_map_t>(runtime, handle, identifier);
}

const rosidl_service_type_support_t * get_service_typesupport_handle_function(
  const rosidl_service_type_support_t * handle, const char * identifier)
{
  return type_support_lookup::lookup<type_support_map_t>(runtime, handle, identifier);
}

}  // namespace rosidl_typesupport_cpp
