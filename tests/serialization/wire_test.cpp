// Byte-exact encodings: the C side is the reference wire format of the package, so every
// padding decision is pinned here against hand-assembled bytes, in both directions.

#include <gtest/gtest.h>
#include <rosidl_runtime_c/primitives_sequence_functions.h>
#include <rosidl_runtime_c/string_functions.h>

#include <cstring>
#include <functional>
#include <string>

#include "catalogue.hpp"
#include "catalogue_headers.hpp"
#include "golden.hpp"

namespace ser {
namespace {

TEST(Wire, GoldenBytesBothWays) {
  for (const Golden& g : goldens()) {
    SCOPED_TRACE(std::string(g.type) + ": " + g.what);
    const TypeRow& row = type(g.type);
    void* msg = row.create();
    g.set(msg);
    EXPECT_EQ(write(row, msg), g.bytes.b);
    EXPECT_EQ(row.size(msg, 0), g.bytes.b.size());
    EXPECT_EQ(row.callbacks()->get_serialized_size(msg), g.bytes.b.size());

    // Whatever sits in the padding must not leak into the values read.
    Stream in(g.bytes.garbled());
    void* back = row.create();
    EXPECT_TRUE(row.callbacks()->cdr_deserialize(in.cdr, back));
    EXPECT_EQ(in.cdr.getSerializedDataLength(), g.bytes.b.size());
    EXPECT_TRUE(row.equal(msg, back));
    row.destroy(back);
    row.destroy(msg);
  }
}

TEST(Wire, AnyNonZeroOctetReadsAsTrue) {
  struct Case {
    const char* type;
    std::vector<uint8_t> bytes;
    std::function<bool(const void*)> flag;
    bool expected;
    size_t flag_at;
  };
  const auto grab_done = [](const void* p) {
    return static_cast<const corvanthelis_interfaces__srv__GrabSortedTrash_Response*>(p)
        ->isgrab_done;
  };
  const auto accepted = [](const void* p) {
    return static_cast<const corvanthelis_interfaces__action__ArmTask_SendGoal_Response*>(p)
        ->accepted;
  };
  const auto nested = [](const void* p) {
    return static_cast<const corvanthelis_interfaces__action__ArmTaskDecision_GetResult_Response*>(
               p)
        ->result.status;
  };
  const std::vector<Case> cases = {
      {"GrabSortedTrash_Response", {2}, grab_done, true, 0},
      {"GrabSortedTrash_Response", {0}, grab_done, false, 0},
      {"ArmTask_SendGoal_Response", {0xFF, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0}, accepted, true, 0},
      {"ArmTaskDecision_GetResult_Response",
       {2, 0x80, 0, 0, 5, 0, 0, 0, 1, 0, 0, 0, 0},
       nested,
       true,
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    const TypeRow& row = type(c.type);
    Stream in(c.bytes);
    void* msg = row.create();
    ASSERT_TRUE(row.callbacks()->cdr_deserialize(in.cdr, msg));
    EXPECT_EQ(c.flag(msg), c.expected);
    // Whatever octet made it true, it goes out as 1.
    const std::vector<uint8_t> out = write(row, msg);
    ASSERT_GT(out.size(), c.flag_at);
    EXPECT_EQ(out[c.flag_at], c.expected ? 1 : 0);
    row.destroy(msg);
  }
}

TEST(Wire, StringsStopAtTheFirstNul) {
  const TypeRow& row = type("ArmGrab_Response");
  auto* msg = static_cast<corvanthelis_interfaces__srv__ArmGrab_Response*>(row.create());
  set_string(msg->errmsg, "abxcd");
  msg->errmsg.data[2] = '\0';
  EXPECT_EQ(write(row, msg), Bytes().u32(0).str("ab").b);
  // The size computation trusts the record's size member, not the characters.
  EXPECT_EQ(row.size(msg, 0), 4u + 4u + 6u);

  Stream in(Bytes().u32(0).u32(6).u8('a').u8('b').u8(0).u8('c').u8('d').u8(0).b);
  ASSERT_TRUE(row.callbacks()->cdr_deserialize(in.cdr, msg));
  EXPECT_EQ(msg->errmsg.size, 2u);
  EXPECT_STREQ(msg->errmsg.data, "ab");
  row.destroy(msg);
}

}  // namespace
}  // namespace ser
