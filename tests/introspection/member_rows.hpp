#pragma once

// What every member row must say of its field, in the C and the C++ tables alike: the
// catalogue's name, type code and shape, the offset the compiler gives the member, and
// accessors exactly on the sequences.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "catalogue/catalogue.hpp"

namespace member_rows {

// The type codes of the tables, by the element types the package's definitions use.
inline std::uint8_t type_code(const catalogue::Field& field) {
  static const std::map<std::string, std::uint8_t> codes = {
      {"float64", 2}, {"bool", 6}, {"uint8", 8}, {"int8", 9}, {"uint32", 12}, {"int32", 13}, {"string", 16}};
  return field.nested != nullptr ? 18 : codes.at(field.element);
}

template <typename Member>
void expect_row(const Member& member, const catalogue::Field& field, std::size_t offset) {
  EXPECT_STREQ(member.name_, field.name);
  EXPECT_EQ(member.type_id_, type_code(field));
  EXPECT_EQ(member.is_array_, field.is_sequence);
  EXPECT_EQ(member.array_size_, 0u);
  EXPECT_FALSE(member.is_upper_bound_);
  EXPECT_EQ(member.string_upper_bound_, 0u);
  EXPECT_EQ(member.default_value_, nullptr);
  EXPECT_EQ(member.offset_, offset);
  EXPECT_EQ(member.members_ != nullptr, field.nested != nullptr);
  const bool accessors[] = {member.size_function != nullptr, member.get_const_function != nullptr,
                            member.get_function != nullptr, member.fetch_function != nullptr,
                            member.assign_function != nullptr, member.resize_function != nullptr};
  for (bool present : accessors) EXPECT_EQ(present, field.is_sequence);
}

}  // namespace member_rows
