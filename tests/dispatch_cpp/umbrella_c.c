// Compiles from the umbrella headers alone: a handle that no header declares fails the build.

#include "catalogue/c_headers.hpp"
#include "umbrella_c.h"

size_t umbrella_c_messages(const rosidl_message_type_support_t ** out)
{
  size_t count = 0;
#define CATALOGUE_STRUCTURE(package, kind, Name, ...) \
  out[count++] = ROSIDL_GET_MSG_TYPE_SUPPORT(package, kind, Name);
#include "catalogue/interfaces.def"
  return count;
}

size_t umbrella_c_services(const rosidl_service_type_support_t ** out)
{
  size_t count = 0;
#define CATALOGUE_SERVICE(package, kind, Name, ...) \
  out[count++] = ROSIDL_GET_SRV_TYPE_SUPPORT(package, kind, Name);
#include "catalogue/interfaces.def"
  return count;
}

size_t umbrella_c_actions(const rosidl_action_type_support_t ** out)
{
  size_t count = 0;
#define CATALOGUE_ACTION(package, kind, Name, ...) \
  out[count++] = ROSIDL_GET_ACTION_TYPE_SUPPORT(package, Name);
#include "catalogue/interfaces.def"
  return count;
}
