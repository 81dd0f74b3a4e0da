#include "filler.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <set>
#include <string>

#include "layout.hpp"
#include "rosidl_runtime_c/string_functions.h"
#include "rosidl_typesupport_introspection_c/field_types.h"
#include "type_support.hpp"

namespace inspect {
namespace {

using Member = rosidl_typesupport_introspection_c__MessageMember;
using Members = rosidl_typesupport_introspection_c__MessageMembers;

[[noreturn]] void fail(const Value& value, const std::string& path, const std::string& what) {
  throw Failure("at offset " + std::to_string(value.offset) + " (" + path + "): " + what);
}

const std::string& scalar_text(const Value& value, const std::string& path) {
  if (value.kind != Value::Kind::Scalar) fail(value, path, "expected a number or a boolean");
  return value.text;
}

template <typename T>
void store_integer(const Value& value, const std::string& path, void* element) {
  const std::string& text = scalar_text(value, path);
  T number{};
  const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
  if (result.ec == std::errc::result_out_of_range) fail(value, path, "'" + text + "' is out of range");
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) {
    fail(value, path, "expected an integer, found '" + text + "'");
  }
  std::memcpy(element, &number, sizeof number);
}

// YAML's spellings of the special values, as the decoder prints them, and ordinary decimals.
double parse_floating(const Value& value, const std::string& path) {
  const std::string& text = scalar_text(value, path);
  if (text == ".nan" || text == ".NaN") return std::numeric_limits<double>::quiet_NaN();
  if (text == ".inf" || text == "+.inf") return std::numeric_limits<double>::infinity();
  if (text == "-.inf") return -std::numeric_limits<double>::infinity();
  char* end = nullptr;
  const double number = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(number) || text.find_first_of("xXnN") != std::string::npos) {
    fail(value, path, "expected a finite decimal number, found '" + text + "'");
  }
  return number;
}

void store_scalar(const Member& member, const Value& value, const std::string& path, void* element) {
  switch (member.type_id_) {
    case rosidl_typesupport_introspection_c__ROS_TYPE_BOOLEAN: {
      const std::string& text = scalar_text(value, path);
      if (text != "true" && text != "false") fail(value, path, "expected true or false, found '" + text + "'");
      *static_cast<bool*>(element) = text == "true";
      return;
    }
    case rosidl_typesupport_introspection_c__ROS_TYPE_DOUBLE:
      *static_cast<double*>(element) = parse_floating(value, path);
      return;
    case rosidl_typesupport_introspection_c__ROS_TYPE_FLOAT: {
      const double number = parse_floating(value, path);
      if (std::isfinite(number) && std::fabs(number) > std::numeric_limits<float>::max()) {
        fail(value, path, "out of range for float32");
      }
      *static_cast<float*>(element) = static_cast<float>(number);
      return;
    }
    case rosidl_typesupport_introspection_c__ROS_TYPE_CHAR:
    case rosidl_typesupport_introspection_c__ROS_TYPE_OCTET:
    case rosidl_typesupport_introspection_c__ROS_TYPE_UINT8: return store_integer<uint8_t>(value, path, element);
    case rosidl_typesupport_introspection_c__ROS_TYPE_INT8: return store_integer<int8_t>(value, path, element);
    case rosidl_typesupport_introspection_c__ROS_TYPE_WCHAR:
    case rosidl_typesupport_introspection_c__ROS_TYPE_UINT16: return store_integer<uint16_t>(value, path, element);
    case rosidl_typesupport_introspection_c__ROS_TYPE_INT16: return store_integer<int16_t>(value, path, element);
    case rosidl_typesupport_introspection_c__ROS_TYPE_UINT32: return store_integer<uint32_t>(value, path, element);
    case rosidl_typesupport_introspection_c__ROS_TYPE_INT32: return store_integer<int32_t>(value, path, element);
    case rosidl_typesupport_introspection_c__ROS_TYPE_UINT64: return store_integer<uint64_t>(value, path, element);
    case rosidl_typesupport_introspection_c__ROS_TYPE_INT64: return store_integer<int64_t>(value, path, element);
  }
  fail(value, path, "member type code " + std::to_string(member.type_id_) + " cannot be written from text");
}

void store_string(const Member& member, const Value& value, const std::string& path, void* element) {
  if (value.kind != Value::Kind::String) fail(value, path, "expected a double-quoted string");
  // The C string ends at its first NUL; a value that holds one would not travel whole.
  if (value.text.find('\0') != std::string::npos) fail(value, path, "the string holds a NUL character");
  if (member.string_upper_bound_ != 0 && value.text.size() > member.string_upper_bound_) {
    fail(value, path, "longer than the bound " + std::to_string(member.string_upper_bound_));
  }
  if (!rosidl_runtime_c__String__assign(static_cast<rosidl_runtime_c__String*>(element), value.text.c_str())) {
    fail(value, path, "out of memory");
  }
}

void store_element(const Member& member, const Value& value, const std::string& path, void* element) {
  if (member.type_id_ == rosidl_typesupport_introspection_c__ROS_TYPE_MESSAGE) {
    fill_message(nested_members(member), element, value);
  } else if (member.type_id_ == rosidl_typesupport_introspection_c__ROS_TYPE_STRING) {
    store_string(member, value, path, element);
  } else {
    store_scalar(member, value, path, element);
  }
}

void store_array(const Member& member, const Value& value, const std::string& path, void* field) {
  if (value.kind != Value::Kind::List) fail(value, path, "expected a list");
  const std::size_t count = value.items.size();
  if (!is_sequence(member) && count != member.array_size_) {
    fail(value, path, "expected " + std::to_string(member.array_size_) + " items, found " + std::to_string(count));
  }
  if (member.is_upper_bound_ && count > member.array_size_) {
    fail(value, path, "more than the bound of " + std::to_string(member.array_size_) + " items");
  }
  if (member.get_function == nullptr || (is_sequence(member) && member.resize_function == nullptr)) {
    fail(value, path, "the member has no accessors");
  }
  if (is_sequence(member) && !member.resize_function(field, count)) fail(value, path, "out of memory");
  for (std::size_t i = 0; i < count; ++i) {
    store_element(member, value.items[i], path + "[" + std::to_string(i) + "]", member.get_function(field, i));
  }
}

}  // namespace

void fill_message(const Members& members, void* message, const Value& value) {
  const std::string type = type_name(members.message_namespace_, members.message_name_);
  if (value.kind != Value::Kind::Map) fail(value, type, "expected a mapping of member names to values");
  std::set<std::string> seen;
  for (const auto& [name, item] : value.fields) {
    const Member* member = nullptr;
    for (uint32_t i = 0; i < members.member_count_ && member == nullptr; ++i) {
      if (name == members.members_[i].name_) member = &members.members_[i];
    }
    const std::string path = type + "." + name;
    if (member == nullptr) fail(item, path, "no such member");
    if (!seen.insert(name).second) fail(item, path, "given twice");
    void* field = static_cast<char*>(message) + member->offset_;
    if (member->is_array_) {
      store_array(*member, item, path, field);
    } else {
      store_element(*member, item, path, field);
    }
  }
}

}  // namespace inspect
