#include "cpp_decoders.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "decoding.hpp"
#include "fuzz_types.hpp"
#include "rosidl_typesupport_introspection_cpp/field_types.hpp"
#include "rosidl_typesupport_introspection_cpp/message_introspection.hpp"

namespace fuzz {
namespace {

using rosidl_typesupport_introspection_cpp::MessageMember;
using rosidl_typesupport_introspection_cpp::MessageMembers;

// The size counts a string's characters after an embedded NUL, the writing stops at the NUL.
constexpr std::size_t kAnySlack = std::numeric_limits<std::size_t>::max();

void cut_strings(const MessageMembers& members, void* message);

void cut_value(const MessageMember& member, void* value) {
  if (member.type_id_ == rosidl_typesupport_introspection_cpp::ROS_TYPE_STRING) {
    auto& text = *static_cast<std::string*>(value);
    text.erase(std::min(text.find('\0'), text.size()));
  } else if (member.type_id_ == rosidl_typesupport_introspection_cpp::ROS_TYPE_MESSAGE) {
    cut_strings(*static_cast<const MessageMembers*>(member.members_->data), value);
  }
}

// Cuts every string of the object at its first NUL, as writing it does.
void cut_strings(const MessageMembers& members, void* message) {
  for (uint32_t i = 0; i < members.member_count_; ++i) {
    const MessageMember& member = members.members_[i];
    void* field = static_cast<char*>(message) + member.offset_;
    if (!member.is_array_) {
      cut_value(member, field);
      continue;
    }
    if (member.type_id_ != rosidl_typesupport_introspection_cpp::ROS_TYPE_STRING &&
        member.type_id_ != rosidl_typesupport_introspection_cpp::ROS_TYPE_MESSAGE) {
      continue;
    }
    const std::size_t count = member.size_function(field);
    for (std::size_t k = 0; k < count; ++k) cut_value(member, member.get_function(field, k));
  }
}

}  // namespace

std::string check_cpp_decoders(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  const Choice choice = choose(data[0]);
  const ser::CppRow& row = cpp_row(choice);
  const Side side = Side::of(row);
  const std::string where = " (" + row.full_name() + ")";
  Message first(side);
  std::vector<uint8_t> as_read;
  if (!read(side, std::vector<uint8_t>(data + 1, data + size), choice.owned_buffer, first.get())) {
    // What a refused read leaves must still be a whole object.
    if (std::string fault = write(side, first.get(), as_read, kAnySlack); !fault.empty()) {
      return fault + " after a refused read" + where;
    }
    return {};
  }
  if (std::string fault = write(side, first.get(), as_read, kAnySlack); !fault.empty()) {
    return fault + where;
  }
  cut_strings(*static_cast<const MessageMembers*>(row.introspection()->data), first.get());
  std::vector<uint8_t> canonical;
  if (std::string fault = check_written_reads_back(side, first.get(), canonical); !fault.empty()) {
    return fault + where;
  }
  if (as_read != canonical) return "cutting the strings at their NUL changes the writing" + where;
  return {};
}

}  // namespace fuzz
