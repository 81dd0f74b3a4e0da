#include "dispatch_records.hpp"

#include <dlfcn.h>

namespace transport_test {

const rosidl_message_type_support_t* dispatch_record(const ser::TypeRow& row) {
  const std::string symbol = std::string("rosidl_typesupport_c__get_message_type_support_handle__") +
                             "corvanthelis_interfaces__" + row.kind + "__" + row.name;
  static void* const library = dlopen("libcorvanthelis_interfaces__rosidl_typesupport_c.so", RTLD_NOW);
  void* handle = library ? dlsym(library, symbol.c_str()) : nullptr;
  if (handle == nullptr) return nullptr;
  return reinterpret_cast<const rosidl_message_type_support_t* (*)()>(handle)();
}

transport::MessageSupport c_support(const ser::TypeRow& row) {
  return {dispatch_record(row), {row.create, row.destroy}};
}

}  // namespace transport_test
