#pragma once

// How both dispatch runtimes, C and C++, find the support a client asks for in a dispatch
// record's map and load the package's provider library for it by file name on first use. Each
// runtime compiles this into its own library with its own name and its own map type, whose
// layout the two share.

#include <dlfcn.h>

#include <cstddef>
#include <cstring>
#include <mutex>
#include <string>

#include "rcutils/error_handling.h"

namespace type_support_lookup {

// One per runtime library.
struct Runtime {
  const char * name;  // starts every error message
  // Serialises loading, so that concurrent first requests open a provider once and publish its
  // handle whole. Later requests read the slot without the lock; the release store pairs with
  // their acquire load.
  std::mutex load_mutex;
};

template<typename Map>
void * provider_library(Runtime & runtime, const Map & map, size_t index)
{
  void ** slot = &map.data[index];
  if (void * library = __atomic_load_n(slot, __ATOMIC_ACQUIRE)) {
    return library;
  }
  std::lock_guard<std::mutex> lock(runtime.load_mutex);
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
      "%s: cannot load %s: %s", runtime.name, file.c_str(), reason ? reason : "unknown error");
    return nullptr;
  }
  // Providers stay loaded for the life of the process: their records are handed out for good.
  __atomic_store_n(slot, library, __ATOMIC_RELEASE);
  return library;
}

// The record of the support `identifier` for the type of the dispatch record `handle`: the
// record itself when it is that support's, else the provider's; null with an rcutils error
// message when there is none.
template<typename Map, typename Record>
const Record * lookup(Runtime & runtime, const Record * handle, const char * identifier)
{
  if (!handle || !identifier) {
    RCUTILS_SET_ERROR_MSG_WITH_FORMAT_STRING(
      "%s: null type-support handle or identifier", runtime.name);
    return nullptr;
  }
  if (handle->typesupport_identifier && std::strcmp(handle->typesupport_identifier, identifier) == 0) {
    return handle;
  }
  const auto * map = static_cast<const Map *>(handle->data);
  if (!map) {
    RCUTILS_SET_ERROR_MSG_WITH_FORMAT_STRING(
      "%s: the handle carries no type-support map", runtime.name);
    return nullptr;
  }
  for (size_t i = 0; i < map->size; ++i) {
    if (std::strcmp(map->typesupport_identifier[i], identifier) != 0) {
      continue;
    }
    void * library = provider_library(runtime, *map, i);
    if (!library) {
      return nullptr;
    }
    void * symbol = dlsym(library, map->symbol_name[i]);
    if (!symbol) {
      RCUTILS_SET_ERROR_MSG_WITH_FORMAT_STRING(
        "%s: lib%s__%s.so exports no %s", runtime.name, map->package_name,
        map->typesupport_identifier[i], map->symbol_name[i]);
      return nullptr;
    }
    using HandleFunction = const Record * (*)();
    return reinterpret_cast<HandleFunction>(symbol)();
  }
  RCUTILS_SET_ERROR_MSG_WITH_FORMAT_STRING(
    "%s: package %s provides no type support '%s'", runtime.name, map->package_name, identifier);
  return nullptr;
}

}  // namespace type_support_lookup
