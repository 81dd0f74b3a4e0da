#pragma once

// Handle functions looked up by their exported names, the way the runtime finds them.

#include <dlfcn.h>

#include <stdexcept>
#include <string>

#include "catalogue/catalogue.hpp"
#include "rosidl_runtime_c/action_type_support_struct.h"
#include "rosidl_runtime_c/message_type_support_struct.h"
#include "rosidl_runtime_c/service_type_support_struct.h"

namespace handles {

template <typename Record>
const Record* call(void* library, const std::string& symbol) {
  void* function = dlsym(library, symbol.c_str());
  if (function == nullptr) throw std::runtime_error("no exported function " + symbol);
  return reinterpret_cast<const Record* (*)()>(function)();
}

// A provider library of the package, by file name; the loader hands back the copy that is
// already loaded, if any.
inline void* library(const std::string& support) {
  const std::string file = "libcorvanthelis_interfaces__" + support + ".so";
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) throw std::runtime_error(dlerror());
  return handle;
}

inline const rosidl_message_type_support_t* message(const std::string& support, const catalogue::Structure& row) {
  return call<rosidl_message_type_support_t>(library(support), catalogue::handle(support, row));
}
inline const rosidl_service_type_support_t* service(const std::string& support, const catalogue::Service& row) {
  return call<rosidl_service_type_support_t>(library(support), catalogue::handle(support, row));
}

}  // namespace handles
