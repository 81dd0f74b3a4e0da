#include "layout.hpp"

#include <string>
#include <vector>

#include "rosidl_runtime_c/string.h"
#include "rosidl_runtime_c/u16string.h"
#include "rosidl_typesupport_introspection_c/field_types.h"
#include "type_support.hpp"

namespace inspect {
namespace {

// Every sequence record of rosidl_runtime_c and of the generated packages has this layout.
struct SequenceRecord {
  void* data;
  size_t size;
  size_t capacity;
};

struct CTables {
  using Member = rosidl_typesupport_introspection_c__MessageMember;
  using Members = rosidl_typesupport_introspection_c__MessageMembers;
  static size_t string_size() { return sizeof(rosidl_runtime_c__String); }
  static size_t wstring_size() { return sizeof(rosidl_runtime_c__U16String); }
  static size_t sequence_size(const Member&) { return sizeof(SequenceRecord); }
};

// The classes use the standard allocator's containers.
struct CppTables {
  using Member = rosidl_typesupport_introspection_cpp::MessageMember;
  using Members = rosidl_typesupport_introspection_cpp::MessageMembers;
  static size_t string_size() { return sizeof(std::string); }
  static size_t wstring_size() { return sizeof(std::u16string); }
  // std::vector<bool> packs its elements and is bigger than the other vectors.
  static size_t sequence_size(const Member& member) {
    return member.type_id_ == rosidl_typesupport_introspection_c__ROS_TYPE_BOOLEAN ? sizeof(std::vector<bool>)
                                                                                  : sizeof(std::vector<char>);
  }
};

template <typename Tables>
ElementType element_of(const typename Tables::Member& member) {
  switch (member.type_id_) {
    case rosidl_typesupport_introspection_c__ROS_TYPE_FLOAT: return {"float32", sizeof(float)};
    case rosidl_typesupport_introspection_c__ROS_TYPE_DOUBLE: return {"float64", sizeof(double)};
    case rosidl_typesupport_introspection_c__ROS_TYPE_LONG_DOUBLE: return {"long double", sizeof(long double)};
    case rosidl_typesupport_introspection_c__ROS_TYPE_CHAR: return {"char", 1};
    case rosidl_typesupport_introspection_c__ROS_TYPE_WCHAR: return {"wchar", 2};
    case rosidl_typesupport_introspection_c__ROS_TYPE_BOOLEAN: return {"bool", sizeof(bool)};
    case rosidl_typesupport_introspection_c__ROS_TYPE_OCTET: return {"byte", 1};
    case rosidl_typesupport_introspection_c__ROS_TYPE_UINT8: return {"uint8", 1};
    case rosidl_typesupport_introspection_c__ROS_TYPE_INT8: return {"int8", 1};
    case rosidl_typesupport_introspection_c__ROS_TYPE_UINT16: return {"uint16", 2};
    case rosidl_typesupport_introspection_c__ROS_TYPE_INT16: return {"int16", 2};
    case rosidl_typesupport_introspection_c__ROS_TYPE_UINT32: return {"uint32", 4};
    case rosidl_typesupport_introspection_c__ROS_TYPE_INT32: return {"int32", 4};
    case rosidl_typesupport_introspection_c__ROS_TYPE_UINT64: return {"uint64", 8};
    case rosidl_typesupport_introspection_c__ROS_TYPE_INT64: return {"int64", 8};
    case rosidl_typesupport_introspection_c__ROS_TYPE_STRING: {
      const std::string bound =
          member.string_upper_bound_ ? "<=" + std::to_string(member.string_upper_bound_) : "";
      return {"string" + bound, Tables::string_size()};
    }
    case rosidl_typesupport_introspection_c__ROS_TYPE_WSTRING: return {"wstring", Tables::wstring_size()};
    case rosidl_typesupport_introspection_c__ROS_TYPE_MESSAGE: {
      const typename Tables::Members& nested = nested_members(member);
      return {type_name(nested.message_namespace_, nested.message_name_), nested.size_of_};
    }
  }
  throw Failure(std::string("member '") + member.name_ + "' has the unknown type code " +
                std::to_string(member.type_id_));
}

template <typename Member>
bool varies(const Member& member) {
  return member.is_array_ && (member.array_size_ == 0 || member.is_upper_bound_);
}

template <typename Tables>
std::string type_text(const typename Tables::Member& member) {
  const std::string element = element_of<Tables>(member).name;
  if (!member.is_array_) return element;
  if (!varies(member)) return element + "[" + std::to_string(member.array_size_) + "]";
  if (member.is_upper_bound_) return element + "[<=" + std::to_string(member.array_size_) + "]";
  return element + "[]";
}

template <typename Tables>
size_t member_size(const typename Tables::Member& member) {
  if (!member.is_array_) return element_of<Tables>(member).size;
  if (varies(member)) return Tables::sequence_size(member);
  return element_of<Tables>(member).size * member.array_size_;
}

template <typename Tables>
void print_members(std::ostream& out, const typename Tables::Members& members, int depth) {
  for (uint32_t i = 0; i < members.member_count_; ++i) {
    const typename Tables::Member& member = members.members_[i];
    out << std::string(static_cast<size_t>(depth) * 2, ' ') << member.name_ << ": "
        << type_text<Tables>(member) << "  offset " << member.offset_ << "  size "
        << member_size<Tables>(member) << "\n";
    if (member.type_id_ == rosidl_typesupport_introspection_c__ROS_TYPE_MESSAGE) {
      print_members<Tables>(out, nested_members(member), depth + 1);
    }
  }
}

}  // namespace

std::string type_name(const char* message_namespace, const char* message_name) {
  std::string name = message_namespace;
  for (const std::string separator : {"__", "::"}) {
    for (auto at = name.find(separator); at != std::string::npos; at = name.find(separator, at + 1)) {
      name.replace(at, separator.size(), "/");
    }
  }
  return name + "/" + message_name;
}

ElementType element_type(const rosidl_typesupport_introspection_c__MessageMember& member) {
  return element_of<CTables>(member);
}

bool is_sequence(const rosidl_typesupport_introspection_c__MessageMember& member) { return varies(member); }

void print_layout(std::ostream& out, const std::string& title,
                  const rosidl_typesupport_introspection_c__MessageMembers& members) {
  out << title << "  size " << members.size_of_ << "\n";
  print_members<CTables>(out, members, 1);
}

void print_layout(std::ostream& out, const std::string& title,
                  const rosidl_typesupport_introspection_cpp::MessageMembers& members) {
  out << title << "  size " << members.size_of_ << "\n";
  print_members<CppTables>(out, members, 1);
}

}  // namespace inspect
