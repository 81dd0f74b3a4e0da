#include "printer.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "layout.hpp"
#include "rosidl_runtime_c/string.h"
#include "rosidl_runtime_c/u16string.h"
#include "rosidl_typesupport_introspection_c/field_types.h"
#include "type_support.hpp"

namespace inspect {
namespace {

using Member = rosidl_typesupport_introspection_c__MessageMember;
using Members = rosidl_typesupport_introspection_c__MessageMembers;

template <typename T>
T load(const void* element) {
  return *static_cast<const T*>(element);
}

std::string floating(double value) {
  if (std::isnan(value)) return ".nan";
  if (std::isinf(value)) return value > 0 ? ".inf" : "-.inf";
  char text[64];
  const auto result = std::to_chars(text, text + sizeof(text), value);
  return std::string(text, result.ptr);
}

std::string floating(float value) {
  if (std::isnan(value)) return ".nan";
  if (std::isinf(value)) return value > 0 ? ".inf" : "-.inf";
  char text[64];
  const auto result = std::to_chars(text, text + sizeof(text), value);
  return std::string(text, result.ptr);
}

// Double-quoted YAML; everything outside printable ASCII is escaped, so no byte the message
// carries can break the output's structure or the terminal.
std::string quoted(const char* data, size_t size) {
  std::string text = "\"";
  for (size_t i = 0; i < size; ++i) {
    const auto c = static_cast<unsigned char>(data[i]);
    if (c == '"' || c == '\\') {
      text += '\\';
      text += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7f) {
      text += static_cast<char>(c);
    } else {
      char escape[8];
      std::snprintf(escape, sizeof(escape), "\\x%02x", c);
      text += escape;
    }
  }
  return text + "\"";
}

std::string scalar(const Member& member, const void* element) {
  switch (member.type_id_) {
    case rosidl_typesupport_introspection_c__ROS_TYPE_FLOAT: return floating(load<float>(element));
    case rosidl_typesupport_introspection_c__ROS_TYPE_DOUBLE: return floating(load<double>(element));
    case rosidl_typesupport_introspection_c__ROS_TYPE_LONG_DOUBLE:
      return floating(static_cast<double>(load<long double>(element)));
    case rosidl_typesupport_introspection_c__ROS_TYPE_BOOLEAN:
      return load<bool>(element) ? "true" : "false";
    case rosidl_typesupport_introspection_c__ROS_TYPE_CHAR:
    case rosidl_typesupport_introspection_c__ROS_TYPE_OCTET:
    case rosidl_typesupport_introspection_c__ROS_TYPE_UINT8: return std::to_string(load<uint8_t>(element));
    case rosidl_typesupport_introspection_c__ROS_TYPE_INT8: return std::to_string(load<int8_t>(element));
    case rosidl_typesupport_introspection_c__ROS_TYPE_WCHAR:
    case rosidl_typesupport_introspection_c__ROS_TYPE_UINT16: return std::to_string(load<uint16_t>(element));
    case rosidl_typesupport_introspection_c__ROS_TYPE_INT16: return std::to_string(load<int16_t>(element));
    case rosidl_typesupport_introspection_c__ROS_TYPE_UINT32: return std::to_string(load<uint32_t>(element));
    case rosidl_typesupport_introspection_c__ROS_TYPE_INT32: return std::to_string(load<int32_t>(element));
    case rosidl_typesupport_introspection_c__ROS_TYPE_UINT64: return std::to_string(load<uint64_t>(element));
    case rosidl_typesupport_introspection_c__ROS_TYPE_INT64: return std::to_string(load<int64_t>(element));
    case rosidl_typesupport_introspection_c__ROS_TYPE_STRING: {
      const auto& string = load<rosidl_runtime_c__String>(element);
      return string.data ? quoted(string.data, string.size) : "\"\"";
    }
    case rosidl_typesupport_introspection_c__ROS_TYPE_WSTRING: {
      const auto& string = load<rosidl_runtime_c__U16String>(element);
      std::string text = "\"";
      for (size_t i = 0; string.data && i < string.size; ++i) {
        char escape[8];
        std::snprintf(escape, sizeof(escape), "\\u%04x", static_cast<unsigned>(string.data[i]));
        text += escape;
      }
      return text + "\"";
    }
  }
  throw Failure(std::string("member '") + member.name_ + "' holds no scalar");
}

// The elements of an array or sequence member, through the member's accessors where it has
// them, otherwise (a fixed array) by stride.
struct Elements {
  const Member& member;
  const void* field;

  size_t size() const {
    if (member.size_function) return member.size_function(field);
    if (is_sequence(member)) throw Failure(std::string("sequence '") + member.name_ + "' has no accessors");
    return member.array_size_;
  }
  const void* at(size_t index) const {
    if (member.get_const_function) return member.get_const_function(field, index);
    return static_cast<const char*>(field) + index * element_type(member).size;
  }
};

void print_fields(std::ostream& out, const Members& members, const void* message, const std::string& lead,
                  const std::string& indent);

// Writes one member; `lead` starts its first line, `indent` every further line.
void print_member(std::ostream& out, const Member& member, const void* message, const std::string& lead,
                  const std::string& indent) {
  const void* field = static_cast<const char*>(message) + member.offset_;
  const bool nested = member.type_id_ == rosidl_typesupport_introspection_c__ROS_TYPE_MESSAGE;
  out << lead << member.name_ << ":";
  if (!member.is_array_) {
    if (!nested) {
      out << " " << scalar(member, field) << "\n";
      return;
    }
    out << "\n";
    const std::string inner = indent + "  ";
    print_fields(out, nested_members(member), field, inner, inner);
    return;
  }
  const Elements elements{member, field};
  const size_t count = elements.size();
  if (count == 0) {
    out << " []\n";
    return;
  }
  if (!nested) {
    out << " [";
    for (size_t i = 0; i < count; ++i) out << (i ? ", " : "") << scalar(member, elements.at(i));
    out << "]\n";
    return;
  }
  out << "\n";
  const Members& element_members = nested_members(member);
  for (size_t i = 0; i < count; ++i) {
    print_fields(out, element_members, elements.at(i), indent + "  - ", indent + "    ");
  }
}

void print_fields(std::ostream& out, const Members& members, const void* message, const std::string& lead,
                  const std::string& indent) {
  for (uint32_t i = 0; i < members.member_count_; ++i) {
    print_member(out, members.members_[i], message, i == 0 ? lead : indent, indent);
  }
}

}  // namespace

void print_value(std::ostream& out, const Members& members, const void* message) {
  print_fields(out, members, message, "", "");
}

}  // namespace inspect
