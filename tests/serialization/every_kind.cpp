#include "every_kind.hpp"

#include <rosidl_typesupport_introspection_c/field_types.h>

#include <cstdint>
#include <stdexcept>

#include "corvanthelis_every_kind/msg/bounded.h"
#include "corvanthelis_every_kind/msg/bounded.hpp"
#include "corvanthelis_every_kind/msg/detail/bounded__rosidl_typesupport_fastrtps_c.h"
#include "corvanthelis_every_kind/msg/detail/bounded__rosidl_typesupport_fastrtps_cpp.hpp"
#include "corvanthelis_every_kind/msg/detail/bounded__rosidl_typesupport_introspection_c.h"
#include "corvanthelis_every_kind/msg/detail/bounded__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_every_kind/msg/detail/empty__rosidl_typesupport_fastrtps_c.h"
#include "corvanthelis_every_kind/msg/detail/empty__rosidl_typesupport_fastrtps_cpp.hpp"
#include "corvanthelis_every_kind/msg/detail/empty__rosidl_typesupport_introspection_c.h"
#include "corvanthelis_every_kind/msg/detail/empty__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_every_kind/msg/detail/kinds__rosidl_typesupport_fastrtps_c.h"
#include "corvanthelis_every_kind/msg/detail/kinds__rosidl_typesupport_fastrtps_cpp.hpp"
#include "corvanthelis_every_kind/msg/detail/kinds__rosidl_typesupport_introspection_c.h"
#include "corvanthelis_every_kind/msg/detail/kinds__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_every_kind/msg/detail/literals__rosidl_typesupport_fastrtps_c.h"
#include "corvanthelis_every_kind/msg/detail/literals__rosidl_typesupport_fastrtps_cpp.hpp"
#include "corvanthelis_every_kind/msg/detail/literals__rosidl_typesupport_introspection_c.h"
#include "corvanthelis_every_kind/msg/detail/literals__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_every_kind/msg/detail/unbounded__rosidl_typesupport_fastrtps_c.h"
#include "corvanthelis_every_kind/msg/detail/unbounded__rosidl_typesupport_fastrtps_cpp.hpp"
#include "corvanthelis_every_kind/msg/detail/unbounded__rosidl_typesupport_introspection_c.h"
#include "corvanthelis_every_kind/msg/detail/unbounded__rosidl_typesupport_introspection_cpp.hpp"
#include "corvanthelis_every_kind/msg/empty.h"
#include "corvanthelis_every_kind/msg/empty.hpp"
#include "corvanthelis_every_kind/msg/kinds.h"
#include "corvanthelis_every_kind/msg/kinds.hpp"
#include "corvanthelis_every_kind/msg/literals.h"
#include "corvanthelis_every_kind/msg/literals.hpp"
#include "corvanthelis_every_kind/msg/unbounded.h"
#include "corvanthelis_every_kind/msg/unbounded.hpp"

namespace ser::every_kind {
namespace {

// The C side: the structure's own functions behind untyped pointers.
template <class T, T* (*Create)(), void (*Destroy)(T*), bool (*Equal)(const T*, const T*)>
Side c_side(MessageHandle serialization, MessageHandle introspection,
            size_t (*size)(const void*, size_t)) {
  return {serialization,
          introspection,
          size,
          []() -> void* { return Create(); },
          [](void* m) { Destroy(static_cast<T*>(m)); },
          [](const void* a, const void* b) {
            return Equal(static_cast<const T*>(a), static_cast<const T*>(b));
          }};
}

// The C++ side: the class and the functions its support declares for it.
template <class T>
Side cpp_side() {
  return {&rosidl_typesupport_fastrtps_cpp::get_message_type_support_handle<T>,
          &rosidl_typesupport_introspection_cpp::get_message_type_support_handle<T>,
          [](const void* m, size_t at) {
            return corvanthelis_every_kind::msg::typesupport_fastrtps_cpp::get_serialized_size(
                *static_cast<const T*>(m), at);
          },
          []() -> void* { return new T(); },
          [](void* m) { delete static_cast<T*>(m); },
          [](const void* a, const void* b) {
            return *static_cast<const T*>(a) == *static_cast<const T*>(b);
          }};
}

#define EVERY_KIND_ROW(T)                                                                          \
  Row {                                                                                            \
    #T,                                                                                            \
        c_side<corvanthelis_every_kind__msg__##T, &corvanthelis_every_kind__msg__##T##__create,    \
               &corvanthelis_every_kind__msg__##T##__destroy,                                      \
               &corvanthelis_every_kind__msg__##T##__are_equal>(                                   \
            &rosidl_typesupport_fastrtps_c__get_message_type_support_handle__corvanthelis_every_kind__msg__##T, \
            &rosidl_typesupport_introspection_c__get_message_type_support_handle__corvanthelis_every_kind__msg__##T, \
            &get_serialized_size_corvanthelis_every_kind__msg__##T),                               \
        cpp_side<corvanthelis_every_kind::msg::T>()                                                \
  }

}  // namespace

const std::vector<Row>& rows() {
  static const std::vector<Row> all = {
      EVERY_KIND_ROW(Empty),   EVERY_KIND_ROW(Kinds),     EVERY_KIND_ROW(Literals),
      EVERY_KIND_ROW(Bounded), EVERY_KIND_ROW(Unbounded),
  };
  return all;
}

bool resize_c_sequence(const rosidl_typesupport_introspection_c__MessageMember& member,
                       void* message, size_t count) {
  void* field = static_cast<char*>(message) + member.offset_;
  if (!member.resize_function(field, count)) return false;
  // A sequence of numbers comes from its allocator as it was left in memory.
  const bool numbers = member.type_id_ != rosidl_typesupport_introspection_c__ROS_TYPE_STRING &&
                       member.type_id_ != rosidl_typesupport_introspection_c__ROS_TYPE_MESSAGE;
  const uint64_t zero = 0;
  for (size_t k = 0; numbers && k < count; ++k) member.assign_function(field, k, &zero);
  return true;
}

const Row& row(const std::string& name) {
  for (const Row& candidate : rows()) {
    if (candidate.name == name) return candidate;
  }
  throw std::out_of_range("no type " + name + " in corvanthelis_every_kind");
}

}  // namespace ser::every_kind
