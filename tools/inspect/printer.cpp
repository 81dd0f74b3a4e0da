#include "printer.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "rosidl_runtime_c/string.h"
#include "rosidl_runtime_c/u16string.h"
#include "rosidl_typesupport_introspection_c/field_types.h"
#include "type_support.hpp"

namespace inspect {
namespace {

using Member = rosidl_typesupport_introspection_c__MessageMember;
using Members = rosidl_typesupport_introspection_c__MessageMembers;

// Every sequence record of rosidl_runtime_c and of the generated packages has this layout.
struct SequenceRecord {
  void* data;
  size_t size;
  size_t capacity;
};

struct ElementType {
  std::string name;
  size_t size;
};

ElementType element_type(const Member& member) {
  switch (member.type_id_) {
    case rosidl_typesupport_introspection_c__ROS_TYPE_FLOAT: return {"float32", sizeof(float)};
    case rosidl_typesupport_introspection_c__ROS_TYPE_DOUBLE: return {"float64", sizeof(double)};
    case rosidl_typesupport_introspection_c__ROS_TYPE_LONG_DOUBLE:
      return {"long double", sizeof(long double)};
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
      return {"string" + bound, sizeof(rosidl_runtime_c__String)};
    }
    case rosidl_typesupport_introspection_c__ROS_TYPE_WSTRING:
      return {"wstring", sizeof(rosidl_runtime_c__U16String)};
    case rosidl_typesupport_introspection_c__ROS_TYPE_MESSAGE: {
      const Members& nested = nested_members(member);
      std::string name = std::string(nested.message_namespace_) + "/" + nested.message_name_;
      const auto separator = name.find("__");
      if (separator != std::string::npos) name.replace(separator, 2, "/");
      return {name, nested.size_of_};
    }
  }
  throw Failure(std::string("member '") + member.name_ + "' has the unknown type code " +
                std::to_string(member.type_id_));
}

bool is_sequence(const Member& member) {
  return member.is_array_ && (member.array_size_ == 0 || member.is_upper_bound_);
}

std::string type_text(const Member& member) {
  const std::string element = element_type(member).name;
  if (!member.is_array_) return element;
  if (!is_sequence(member)) return element + "[" + std::to_string(member.array_size_) + "]";
  if (member.is_upper_bound_) return element + "[<=" + std::to_string(member.array_size_) + "]";
  return element + "[]";
}

size_t member_size(const Member& member) {
  if (!member.is_array_) return element_type(member).size;
  if (is_sequence(member)) return sizeof(SequenceRecord);
  return element_type(member).size * member.array_size_;
}

void print_members(std::ostream& out, const Members& members, int depth) {
  for (uint32_t i = 0; i < members.member_count_; ++i) {
    const Member& member = members.members_[i];
    out << std::string(static_cast<size_t>(depth) * 2, ' ') << member.name_ << ": "
        << type_text(member) << "  offset " << member.offset_ << "  size " << member_size(member)
        << "\n";
    if (member.type_id_ == rosidl_typesupport_introspection_c__ROS_TYPE_MESSAGE) {
      print_members(out, nested_members(member), depth + 1);
    }
  }
}

// --- Values -------------------------------------------------------------------------------

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

void print_layout(std::ostream& out, const std::string& title, const Members& members) {
  out << title << "  size " << members.size_of_ << "\n";
  print_members(out, members, 1);
}

void print_value(std::ostream& out, const Members& members, const void* message) {
  print_fields(out, members, message, "", "");
}

}  // namespace inspect
