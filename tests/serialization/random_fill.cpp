#include "random_fill.hpp"

#include <rosidl_runtime_c/string_functions.h>
#include <rosidl_typesupport_introspection_c/field_types.h>
#include <rosidl_typesupport_introspection_c/message_introspection.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "rosidl_typesupport_introspection_cpp/message_introspection.hpp"

namespace ser {
namespace {

struct CTables {
  using Members = rosidl_typesupport_introspection_c__MessageMembers;
  using Member = rosidl_typesupport_introspection_c__MessageMember;
  static void assign(void* string, const std::string& text) {
    if (!rosidl_runtime_c__String__assign(static_cast<rosidl_runtime_c__String*>(string),
                                          text.c_str())) {
      std::abort();
    }
  }
  static void resize(const Member& member, void* sequence, size_t size) {
    if (!member.resize_function(sequence, size)) std::abort();
  }
};

struct CppTables {
  using Members = rosidl_typesupport_introspection_cpp::MessageMembers;
  using Member = rosidl_typesupport_introspection_cpp::MessageMember;
  static void assign(void* string, const std::string& text) {
    *static_cast<std::string*>(string) = text;
  }
  static void resize(const Member& member, void* sequence, size_t size) {
    member.resize_function(sequence, size);
  }
};

template <class T>
void put(void* at, T value) {
  std::memcpy(at, &value, sizeof value);
}

// Every bit pattern of the width, except NaN, which no equality test can compare.
template <class Real, class Bits>
void put_real(void* at, Draws& draws) {
  Real real;
  do {
    const Bits bits = static_cast<Bits>(draws.bits());
    std::memcpy(&real, &bits, sizeof real);
  } while (std::isnan(real));
  put(at, real);
}

template <class Tables>
void fill_members(const typename Tables::Members& members, void* message, Draws& draws);

template <class Tables>
void fill_value(const typename Tables::Member& member, void* value, Draws& draws) {
  switch (member.type_id_) {
    case rosidl_typesupport_introspection_c__ROS_TYPE_FLOAT:
      put_real<float, uint32_t>(value, draws);
      return;
    case rosidl_typesupport_introspection_c__ROS_TYPE_DOUBLE:
      put_real<double, uint64_t>(value, draws);
      return;
    case rosidl_typesupport_introspection_c__ROS_TYPE_BOOLEAN:
      put(value, static_cast<bool>(draws.bits() & 1));
      return;
    case rosidl_typesupport_introspection_c__ROS_TYPE_OCTET:
    case rosidl_typesupport_introspection_c__ROS_TYPE_CHAR:
    case rosidl_typesupport_introspection_c__ROS_TYPE_UINT8:
    case rosidl_typesupport_introspection_c__ROS_TYPE_INT8:
      put(value, static_cast<uint8_t>(draws.bits()));
      return;
    case rosidl_typesupport_introspection_c__ROS_TYPE_UINT16:
    case rosidl_typesupport_introspection_c__ROS_TYPE_INT16:
      put(value, static_cast<uint16_t>(draws.bits()));
      return;
    case rosidl_typesupport_introspection_c__ROS_TYPE_UINT32:
    case rosidl_typesupport_introspection_c__ROS_TYPE_INT32:
      put(value, static_cast<uint32_t>(draws.bits()));
      return;
    case rosidl_typesupport_introspection_c__ROS_TYPE_UINT64:
    case rosidl_typesupport_introspection_c__ROS_TYPE_INT64:
      put(value, draws.bits());
      return;
    case rosidl_typesupport_introspection_c__ROS_TYPE_STRING:
      Tables::assign(value, draws.text());
      return;
    case rosidl_typesupport_introspection_c__ROS_TYPE_MESSAGE:
      fill_members<Tables>(*static_cast<const typename Tables::Members*>(member.members_->data),
                           value, draws);
      return;
  }
  std::abort();  // a type code the package does not use: the test must learn it first
}

template <class Tables>
void fill_members(const typename Tables::Members& members, void* message, Draws& draws) {
  for (uint32_t i = 0; i < members.member_count_; ++i) {
    const typename Tables::Member& member = members.members_[i];
    void* field = static_cast<char*>(message) + member.offset_;
    if (!member.is_array_) {
      fill_value<Tables>(member, field, draws);
      continue;
    }
    size_t count = member.array_size_;
    if (member.array_size_ == 0 || member.is_upper_bound_) {
      count = draws.count();
      if (member.is_upper_bound_ && count > member.array_size_) count = member.array_size_;
      Tables::resize(member, field, count);
    }
    for (size_t k = 0; k < count; ++k) {
      // A C++ vector of bools lends no element's address: the value goes in by assignment.
      if (member.get_function == nullptr) {
        bool flag = false;
        fill_value<Tables>(member, &flag, draws);
        member.assign_function(field, k, &flag);
        continue;
      }
      fill_value<Tables>(member, member.get_function(field, k), draws);
    }
  }
}

}  // namespace

std::string Draws::text() {
  static const char* const kTexts[] = {
      "", "ok", "gripper blocked at joint 3", "Müll erkannt", "ゴミ箱がいっぱい", "déchet ♻ trié",
  };
  const uint64_t pick = bits();
  if (pick % 4 != 0) return kTexts[(pick >> 8) % (sizeof kTexts / sizeof kTexts[0])];
  std::string random(static_cast<size_t>((pick >> 8) % 40), ' ');
  for (char& c : random) c = static_cast<char>(1 + bits() % 255);  // any octet but NUL
  return random;
}

void fill_c(const rosidl_message_type_support_t* handle, void* message, Draws& draws) {
  fill_members<CTables>(*static_cast<const CTables::Members*>(handle->data), message, draws);
}

void fill_cpp(const rosidl_message_type_support_t* handle, void* message, Draws& draws) {
  fill_members<CppTables>(*static_cast<const CppTables::Members*>(handle->data), message, draws);
}

}  // namespace ser
