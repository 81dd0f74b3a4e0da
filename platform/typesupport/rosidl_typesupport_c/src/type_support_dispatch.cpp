// The type-support runtime: finds the support a client asks for in a dispatch record's map and
// loads the package's provider library for it by file name on first use.

#include <dlfcn.h>

#include <cstring>
#include <mutex>
#include <string>

#include "rcutils/error_handling.h"
#include "rosidl_typesupport_c/identifier.h"
#include "rosidl_typesupport_c/message_type_support_dispatch.h"
#include "rosidl_typesupport_c/service_type_support_dispatch.h"
#include "rosidl_typesupport_c/type_support_map.h"

const char * rosidl_typesupport_c__typesupport_identifier = "rosidl_typesupport_c";

namespace {

// Serialises loading, so that concurrent first requests open a provider once and publish its
// handle whole. Later requests read the slot without the lock; the release store below pairs
// with their acquire load.
std::mutex load_mutex;

void * provider_library(const type_support_map_t & map, size_t index)
{
  void ** slot = &map.data[index];
  if (void * library = __atomic_load_n(slot, __ATOMIC_ACQUIRE)) {
    return library;
  }
  std::lock_guard<std::mutex> lock(load_mutex);
  if (void * library = __atomic_load_n(slot, __ATOMIC_ACQUIRE)) {
    return library;
  }
  const std::string file =
    std::string("lib") + map.package_name + "__" + map.typesupport_identifier[index] + ".so";
  // Binding everything now turns a provider with unresolvable dependencies into a clean
  // failure here rather than a crash at its first call.
  void * library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char * reason = dlerror();
    RCUTILS_SET_ERROR_MSG_WITH_FORMAT_STRING(
      "rosidl_typesupport_c: cannot load %s: %s", file.c_str(), reason ? reason : "unknown error");
    return nullptr;
  }
  // Providers stay loaded for the life of the process: their records are handed out for good.
  __atomic_store_n(slot, library, __ATOMIC_RELEASE);
  return library;
}

template<typename Record>
const Record * lookup(const Record * handle, const char * identifier)
{
  if (!handle || !identifier) {
    RCUTILS_SET_ERROR_MSG("rosidl_typesupport_c: null type-support handle or identifier");
    return nullptr;
  }
  if (handle->typesupport_identifier && std::strcmp(handle->typesupport_identifier, identifier) == 0) {
    return handle;
  }
  const auto * map = static_cast<const type_support_map_t *>(handle->data);
  if (!map) {
    RCUTILS_SET_ERROR_MSG("rosidl_typesupport_c: the handle carries no type-support map");
    return nullptr;
  }
  for (size_t i = 0; i < map->size; ++i) {
    if (std::strcmp(map->typesupport_identifier[i], identifier) != 0) {
      continue;
    }
    void * library = provider_library(*map, i);
    if (!library) {
      return nullptr;
    }
    void * symbol = dlsym(library, map->symbol_name[i]);
    if (!symbol) {
      RCUTILS_SET_ERROR_MSG_WITH_FORMAT_STRING(
        "rosidl_typesupport_c: lib%s__%s.so exports no %s", map->package_name,
        map->typesupport_identifier[i], map->symbol_name[i]);
      return nullptr;
    }
    using HandleFunction = const Record * (*)();
    return reinterpret_cast<HandleFunction>(symbol)();
  }
  RCUTILS_SET_ERROR_MSG_WITH_FORMAT_STRING(
    "rosidl_typesupport_c: package %s provides no type support '%s'", map->package_name,
    identifier);
  return nullptr;
}

}  // namespace

extern "C" {

const rosidl_message_type_support_t * rosidl_typesupport_c__get_message_typesupport_handle_function(
  const rosidl_message_type_support_t * handle, const char * identifier)
{
  return lookup(handle, identifier);
}

const rosidl_service_type_support_t * rosidl_typesupport_c__get_service_typesupport_handle_function(
  const rosidl_service_type_support_t * handle, const char * identifier)
{
  return lookup(handle, identifier);
}

}  // extern "C"
