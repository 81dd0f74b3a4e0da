#include "cpp_catalogue.hpp"

#include <stdexcept>

#include "cpp_catalogue_headers.hpp"

namespace ser {
namespace {

#define CPP_ROW(package, kind, Name, role, c_name, T, ...)                                       \
  CppRow{#kind,                                                                                  \
         #Name,                                                                                  \
         #T,                                                                                     \
         &rosidl_typesupport_fastrtps_cpp::get_message_type_support_handle<T>,                   \
         &rosidl_typesupport_fastrtps_cpp__get_message_type_support_handle__##c_name,            \
         &rosidl_typesupport_introspection_cpp::get_message_type_support_handle<T>,              \
         &rosidl_typesupport_introspection_c__get_message_type_support_handle__##c_name,         \
         [](const void* m, size_t at) {                                                          \
           return package::kind::typesupport_fastrtps_cpp::get_serialized_size(                  \
               *static_cast<const T*>(m), at);                                                   \
         },                                                                                      \
         &package::kind::typesupport_fastrtps_cpp::max_serialized_size_##Name,                   \
         [](const void* m, eprosima::fastcdr::Cdr& cdr) {                                        \
           return package::kind::typesupport_fastrtps_cpp::cdr_serialize(                        \
               *static_cast<const T*>(m), cdr);                                                  \
         },                                                                                      \
         [](eprosima::fastcdr::Cdr& cdr, void* m) {                                              \
           return package::kind::typesupport_fastrtps_cpp::cdr_deserialize(cdr,                  \
                                                                           *static_cast<T*>(m)); \
         },                                                                                      \
         []() -> void* { return new T(); },                                                      \
         [](void* m) { delete static_cast<T*>(m); },                                             \
         [](const void* a, const void* b) {                                                      \
           return *static_cast<const T*>(a) == *static_cast<const T*>(b);                        \
         }},

#define CPP_SERVICE(package, kind, Name, c_name, S, infix, Request, Response)                              \
  CppServiceRow{                                                                                           \
      #kind,                                                                                               \
      #Name,                                                                                               \
      #S,                                                                                                  \
      &rosidl_typesupport_fastrtps_cpp::get_service_type_support_handle<S>,                                \
      &rosidl_typesupport_fastrtps_cpp__get_service_type_support_handle__##c_name,                         \
      &rosidl_typesupport_fastrtps_cpp__get_message_type_support_handle__##package##__##kind##__##Request, \
      &rosidl_typesupport_fastrtps_cpp__get_message_type_support_handle__##package##__##kind##__##Response},

}  // namespace

const std::vector<CppRow>& cpp_types() {
  static const std::vector<CppRow> rows = {
#define CATALOGUE_STRUCTURE CPP_ROW
#include "catalogue/interfaces.def"
  };
  return rows;
}

const std::vector<CppServiceRow>& cpp_services() {
  static const std::vector<CppServiceRow> rows = {
#define CATALOGUE_SERVICE CPP_SERVICE
#include "catalogue/interfaces.def"
  };
  return rows;
}

const CppRow& cpp_type(const std::string& name) {
  for (const CppRow& row : cpp_types()) {
    if (name == row.name) return row;
  }
  throw std::invalid_argument("no C++ type " + name);
}

std::vector<uint8_t> cpp_write(const CppRow& row, const void* msg, size_t lead) {
  return write_through(row.callbacks(), row.name, msg, row.size(msg, lead), lead);
}

}  // namespace ser
