// Every class as its table describes it. The construct and destroy functions, driven as a
// generic reader drives them in memory that holds a byte pattern first: each mode assigns
// exactly what the constructor rules say, down through every nested member. And equality:
// a change to any member the table reaches makes two objects unequal.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "handles_cpp.hpp"
#include "rosidl_typesupport_introspection_cpp/field_types.hpp"

namespace {

using handles_cpp::Member;
using handles_cpp::Members;
using Mode = rosidl_runtime_cpp::MessageInitialization;
namespace types = rosidl_typesupport_introspection_cpp;

constexpr unsigned char kPattern = 0xA5;

// The only default of any field the package reaches: the quaternion's w.
std::optional<double> default_of(const Members& members, const Member& member) {
  if (std::string(members.message_namespace_) != "geometry_msgs::msg" ||
      std::string(members.message_name_) != "Quaternion") {
    return std::nullopt;
  }
  return std::string(member.name_) == "w" ? 1.0 : 0.0;
}

std::size_t scalar_size(uint8_t type_id) {
  switch (type_id) {
    case types::ROS_TYPE_DOUBLE: return sizeof(double);
    case types::ROS_TYPE_BOOLEAN: return sizeof(bool);
    case types::ROS_TYPE_UINT8:
    case types::ROS_TYPE_INT8: return 1;
    case types::ROS_TYPE_UINT32:
    case types::ROS_TYPE_INT32: return 4;
  }
  ADD_FAILURE() << "type code " << int{type_id} << " does not occur in the package";
  return 0;
}

class Walk {
 public:
  explicit Walk(Mode mode) : mode_(mode) {}

  void check(const Members& members, const unsigned char* message, const std::string& path) const {
    for (uint32_t i = 0; i < members.member_count_; ++i) {
      const Member& member = members.members_[i];
      const unsigned char* field = message + member.offset_;
      const std::string where = path + member.name_;
      const bool sequence = member.is_array_ && (member.array_size_ == 0 || member.is_upper_bound_);
      if (sequence) {
        EXPECT_EQ(member.size_function(field), 0u) << where << " starts empty in every mode";
      } else if (member.is_array_) {
        for (std::size_t k = 0; k < member.array_size_; ++k) {
          scalar(members, member, static_cast<const unsigned char*>(member.get_const_function(field, k)),
                 where + "[" + std::to_string(k) + "]");
        }
      } else if (member.type_id_ == types::ROS_TYPE_MESSAGE) {
        check(handles_cpp::members_of(member.members_), field, where + ".");
      } else if (member.type_id_ == types::ROS_TYPE_STRING) {
        EXPECT_TRUE(reinterpret_cast<const std::string*>(field)->empty()) << where;
      } else {
        scalar(members, member, field, where);
      }
    }
  }

 private:
  void scalar(const Members& members, const Member& member, const unsigned char* bytes,
              const std::string& where) const {
    const std::optional<double> value = default_of(members, member);
    const bool takes_default = value && (mode_ == Mode::ALL || mode_ == Mode::DEFAULTS_ONLY);
    const bool zeroed = mode_ == Mode::ZERO || (mode_ == Mode::ALL && !value);
    if (takes_default) {
      double actual;
      std::memcpy(&actual, bytes, sizeof actual);
      EXPECT_EQ(actual, *value) << where;
      return;
    }
    const std::size_t size = scalar_size(member.type_id_);
    for (std::size_t k = 0; k < size; ++k) {
      EXPECT_EQ(bytes[k], zeroed ? 0 : kPattern) << where << (zeroed ? " assigned 0" : " left unassigned");
    }
  }

  Mode mode_;
};

TEST(IntrospectionCppConstruction, EveryModeFollowsTheConstructorRulesForEveryType) {
  const Mode modes[] = {Mode::ALL, Mode::SKIP, Mode::ZERO, Mode::DEFAULTS_ONLY};
  for (const catalogue::Structure& type : catalogue::structures()) {
    const Members& members = handles_cpp::members_of(type.name);
    for (const Mode mode : modes) {
      SCOPED_TRACE(std::string(type.name) + " mode " + std::to_string(static_cast<int>(mode)));
      auto memory = std::make_unique<unsigned char[]>(members.size_of_);
      std::memset(memory.get(), kPattern, members.size_of_);
      members.init_function(memory.get(), mode);
      Walk(mode).check(members, memory.get(), "");
      members.fini_function(memory.get());
    }
  }
}

TEST(IntrospectionCppConstruction, DestroyReleasesWhatTheMessageGrew) {
  // Under the leak checker of the sanitizer build, a destroy that forgot the vector's or the
  // strings' storage fails here.
  const Members& members = handles_cpp::members_of("DetectTrash_Response");
  auto memory = std::make_unique<unsigned char[]>(members.size_of_);
  members.init_function(memory.get(), Mode::ALL);
  auto& response = *reinterpret_cast<corvanthelis_interfaces::srv::DetectTrash_Response*>(memory.get());
  response.trashes_detected.resize(100);
  response.errmsg.assign(1000, 'x');
  members.fini_function(memory.get());
}

// Changes the member at `field` so that it no longer equals what it was.
void change(const Member& member, unsigned char* field) {
  const bool sequence = member.is_array_ && (member.array_size_ == 0 || member.is_upper_bound_);
  if (sequence) {
    member.resize_function(field, member.size_function(field) + 1);
    return;
  }
  if (member.is_array_) field = static_cast<unsigned char*>(member.get_function(field, 0));
  switch (member.type_id_) {
    case types::ROS_TYPE_DOUBLE: *reinterpret_cast<double*>(field) += 1.0; return;
    case types::ROS_TYPE_BOOLEAN: *reinterpret_cast<bool*>(field) = !*reinterpret_cast<bool*>(field); return;
    case types::ROS_TYPE_STRING: reinterpret_cast<std::string*>(field)->push_back('x'); return;
    case types::ROS_TYPE_INT32:
    case types::ROS_TYPE_UINT32: *reinterpret_cast<uint32_t*>(field) += 1; return;
    case types::ROS_TYPE_INT8:
    case types::ROS_TYPE_UINT8: *field = static_cast<unsigned char>(*field + 1); return;
  }
  ADD_FAILURE() << member.name_ << " has a type code the package does not use";
}

// Every member that holds a value of its own, with its offset from the start of the outermost
// message and its path.
struct Leaf {
  const Member* member;
  std::size_t offset;
  std::string path;
};

void collect(const Members& members, std::size_t base, const std::string& path, std::vector<Leaf>& leaves) {
  for (uint32_t i = 0; i < members.member_count_; ++i) {
    const Member& member = members.members_[i];
    if (member.type_id_ == types::ROS_TYPE_MESSAGE && !member.is_array_) {
      collect(handles_cpp::members_of(member.members_), base + member.offset_, path + member.name_ + ".", leaves);
    } else {
      leaves.push_back({&member, base + member.offset_, path + member.name_});
    }
  }
}

template <typename T>
void expect_every_member_compared(const char* name) {
  SCOPED_TRACE(name);
  std::vector<Leaf> leaves;
  collect(handles_cpp::members_of(rosidl_typesupport_introspection_cpp::get_message_type_support_handle<T>()), 0,
          "", leaves);
  const T original;
  ASSERT_TRUE(original == T());
  for (const Leaf& leaf : leaves) {
    T changed = original;
    change(*leaf.member, reinterpret_cast<unsigned char*>(&changed) + leaf.offset);
    EXPECT_FALSE(changed == original) << leaf.path;
    EXPECT_TRUE(changed != original) << leaf.path;
  }
}

TEST(IntrospectionCppClasses, EqualityComparesEveryMemberOfEveryType) {
#define CATALOGUE_STRUCTURE(package, kind, Name, role, c_name, cpp_name, ...) \
  expect_every_member_compared<cpp_name>(#Name);
#include "catalogue/interfaces.def"
}

}  // namespace
