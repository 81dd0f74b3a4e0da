#include "dispatch_records.hpp"

#include <dlfcn.h>

#include <new>

#include "rosidl_typesupport_introspection_cpp/message_introspection.hpp"

namespace transport_test {

namespace {

const rosidl_message_type_support_t* handle(const char* support, const ser::TypeRow& row) {
  const std::string library_name = std::string("libcorvanthelis_interfaces__") + support + ".so";
  void* library = dlopen(library_name.c_str(), RTLD_NOW);  // stays loaded: the records live in it
  const std::string symbol = std::string(support) +
                             "__get_message_type_support_handle__corvanthelis_interfaces__" +
                             row.kind + "__" + row.name;
  void* function = library ? dlsym(library, symbol.c_str()) : nullptr;
  if (function == nullptr) return nullptr;
  return reinterpret_cast<const rosidl_message_type_support_t* (*)()>(function)();
}

}  // namespace

const rosidl_message_type_support_t* dispatch_record(const ser::TypeRow& row) {
  return handle("rosidl_typesupport_c", row);
}

transport::MessageSupport c_support(const ser::TypeRow& row) {
  return {dispatch_record(row), {row.create, row.destroy}};
}

transport::MessageSupport cpp_support(const ser::TypeRow& row) {
  const rosidl_message_type_support_t* table = handle("rosidl_typesupport_introspection_cpp", row);
  if (table == nullptr) return {};
  const auto& members =
      *static_cast<const rosidl_typesupport_introspection_cpp::MessageMembers*>(table->data);
  return {handle("rosidl_typesupport_fastrtps_cpp", row),
          {[&members] {
             void* message = ::operator new(members.size_of_);
             members.init_function(message, rosidl_runtime_cpp::MessageInitialization::ALL);
             return message;
           },
           [&members](void* message) {
             members.fini_function(message);
             ::operator delete(message);
           }}};
}

}  // namespace transport_test
