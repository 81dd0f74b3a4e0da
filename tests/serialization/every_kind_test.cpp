// The test-only package's every kind of field through both serialization libraries: the same
// values give the same bytes, which read back whole; a bounded sequence above its bound is
// refused by the C writer and by both readers; and texts that mean something to a template or
// a language arrive as the definitions wrote them.

#include <gtest/gtest.h>
#include <rosidl_runtime_c/string.h>
#include <rosidl_typesupport_introspection_c/field_types.h>
#include <rosidl_typesupport_introspection_c/message_introspection.h>

#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "corvanthelis_every_kind/msg/literals.h"
#include "corvanthelis_every_kind/msg/literals.hpp"
#include "every_kind.hpp"
#include "random_fill.hpp"
#include "rosidl_typesupport_introspection_cpp/message_introspection.hpp"

namespace ser::every_kind {
namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;
using CMembers = rosidl_typesupport_introspection_c__MessageMembers;
using CMember = rosidl_typesupport_introspection_c__MessageMember;
using CppMembers = rosidl_typesupport_introspection_cpp::MessageMembers;

constexpr uint64_t kSeeds = 24;

const CMembers& c_members(const Row& row) {
  return *static_cast<const CMembers*>(row.c.introspection()->data);
}

void* member_of(void* message, const CMember& member) {
  return static_cast<char*>(message) + member.offset_;
}

std::vector<uint8_t> written(const Side& side, const char* name, const void* msg) {
  return write_through(side.callbacks(), name, msg, side.size(msg, 0), 0);
}

TEST(EveryKind, BothLanguagesWriteTheSameBytesAndReadThemBack) {
  for (const Row& row : rows()) {
    for (uint64_t seed = 0; seed < kSeeds; ++seed) {
      SCOPED_TRACE(std::string(row.name) + " seed " + std::to_string(seed));
      const Object c = make(row.c);
      const Object cpp = make(row.cpp);
      Draws c_draws(seed);
      Draws cpp_draws(seed);
      fill_c(row.c.introspection(), c.get(), c_draws);
      fill_cpp(row.cpp.introspection(), cpp.get(), cpp_draws);
      const std::vector<uint8_t> bytes = written(row.c, row.name, c.get());
      EXPECT_EQ(written(row.cpp, row.name, cpp.get()), bytes);
      EXPECT_EQ(row.cpp.size(cpp.get(), 0), row.c.size(c.get(), 0));
      for (const auto& [side, original] : {std::pair{row.c, c.get()}, std::pair{row.cpp, cpp.get()}}) {
        const Object back = make(side);
        Stream in(bytes);
        ASSERT_TRUE(side.callbacks()->cdr_deserialize(in.cdr, back.get()));
        EXPECT_EQ(in.cdr.getSerializedDataLength(), bytes.size());
        EXPECT_TRUE(side.equal(original, back.get()));
      }
    }
  }
}

// Every C sequence record is {data, size, capacity}, whatever its elements.
struct SequenceRecord {
  void* data;
  size_t size;
  size_t capacity;
};

void swap_records(void* a, void* b) {
  SequenceRecord held;
  std::memcpy(&held, a, sizeof held);
  std::memmove(a, b, sizeof held);
  std::memcpy(b, &held, sizeof held);
}

// Bounded and Unbounded have the same members in the same order and the same C records, so an
// Unbounded sequence can hold what no Bounded one may.
struct AboveBound {
  const CMember& member;
  const Object wide;
  explicit AboveBound(const CMember& bounded)
      : member(c_members(row("Unbounded")).members_[&bounded - c_members(row("Bounded")).members_]),
        wide(make(row("Unbounded").c)) {
    EXPECT_TRUE(resize_c_sequence(member, wide.get(), bounded.array_size_ + 1));
  }
};

std::string refusal(const CMember& member) {
  return "sequence size exceeds upper bound of field '" + std::string(member.name_) + "'\n";
}

// Runs `check` on each member of Bounded, every one a bounded sequence.
void each_bounded_member(const std::function<void(const CMember&)>& check) {
  const CMembers& members = c_members(row("Bounded"));
  for (uint32_t i = 0; i < members.member_count_; ++i) {
    SCOPED_TRACE(members.members_[i].name_);
    ASSERT_TRUE(members.members_[i].is_upper_bound_);
    check(members.members_[i]);
  }
}

TEST(EveryKind, TheCWriterRefusesASequenceAboveItsBound) {
  const Row& bounded = row("Bounded");
  each_bounded_member([&](const CMember& member) {
    AboveBound above(member);
    const Object msg = make(bounded.c);
    swap_records(member_of(msg.get(), member), member_of(above.wide.get(), above.member));
    Stream out(1024);
    CaptureStderr();
    EXPECT_FALSE(bounded.c.callbacks()->cdr_serialize(msg.get(), out.cdr));
    EXPECT_EQ(GetCapturedStderr(), refusal(member));
    swap_records(member_of(msg.get(), member), member_of(above.wide.get(), above.member));
  });
}

TEST(EveryKind, BothReadersRefuseASequenceAboveItsBound) {
  const Row& bounded = row("Bounded");
  each_bounded_member([&](const CMember& member) {
    AboveBound above(member);
    std::vector<uint8_t> bytes = written(row("Unbounded").c, "Unbounded", above.wide.get());
    // Room for every element a reader might believe the count, so that only the bound refuses.
    bytes.resize(bytes.size() + 256);

    const Object c = make(bounded.c);
    Stream c_in(bytes);
    CaptureStderr();
    EXPECT_FALSE(bounded.c.callbacks()->cdr_deserialize(c_in.cdr, c.get()));
    EXPECT_EQ(GetCapturedStderr(), refusal(member));

    const Object cpp = make(bounded.cpp);
    Stream cpp_in(bytes);
    EXPECT_THROW(bounded.cpp.callbacks()->cdr_deserialize(cpp_in.cdr, cpp.get()), std::length_error);
  });
}

// The texts of a string member, a single one or the elements of an array or sequence.
template <class Members, class Text>
std::vector<std::string> texts(const Members& members, const std::string& name, const void* msg,
                               std::string (*read)(const Text&)) {
  for (uint32_t i = 0; i < members.member_count_; ++i) {
    const auto& member = members.members_[i];
    if (name != member.name_) continue;
    const void* field = static_cast<const char*>(msg) + member.offset_;
    if (!member.is_array_) return {read(*static_cast<const Text*>(field))};
    const size_t count = member.size_function ? member.size_function(field) : member.array_size_;
    std::vector<std::string> result;
    for (size_t k = 0; k < count; ++k) {
      result.push_back(read(*static_cast<const Text*>(member.get_const_function(field, k))));
    }
    return result;
  }
  throw std::out_of_range("no member " + name);
}

std::string c_text(const rosidl_runtime_c__String& text) { return {text.data, text.size}; }
std::string cpp_text(const std::string& text) { return text; }

TEST(EveryKind, LiteralsArriveAsTheDefinitionsWroteThem) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> defaults = {
      {"note", {"costs $5"}},
      {"bounded_note", {"tab\there"}},
      {"plain", {"costs$5"}},
      {"control", {"bell\x07 and delete\x7f"}},
      {"pair", {"$a$", "b$"}},
      {"few", {"?\?=", "#hash", "*/"}},
      {"many", {"line\nbreak", "%s %d", "\xc3\xbcn\xc3\xaf" "c\xc3\xb6" "d\xc3\xa9"}},
  };
  const Row& literals = row("Literals");
  const Object c = make(literals.c);
  const Object cpp = make(literals.cpp);
  const auto& c_table = *static_cast<const CMembers*>(literals.c.introspection()->data);
  const auto& cpp_table = *static_cast<const CppMembers*>(literals.cpp.introspection()->data);
  for (const auto& [name, expected] : defaults) {
    SCOPED_TRACE(name);
    EXPECT_EQ(texts(c_table, name, c.get(), &c_text), expected);
    EXPECT_EQ(texts(cpp_table, name, cpp.get(), &cpp_text), expected);
  }
  const std::string dollars = "costs $5, or $price$";
  const std::string escapes = "say \"it's\" \\ #not a comment ?\?= \xc3\xbc";
  EXPECT_EQ(corvanthelis_every_kind__msg__Literals__DOLLARS, dollars);
  EXPECT_EQ(corvanthelis_every_kind::msg::Literals::DOLLARS, dollars);
  EXPECT_EQ(corvanthelis_every_kind__msg__Literals__ESCAPES, escapes);
  EXPECT_EQ(corvanthelis_every_kind::msg::Literals::ESCAPES, escapes);
}

}  // namespace
}  // namespace ser::every_kind
