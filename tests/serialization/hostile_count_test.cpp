// Counts on the wire are the one place where a few bytes from a peer decide how much memory the
// reader takes. Whatever the count says, the reader may allocate only in proportion to the
// packet, must never touch the caller's buffer beyond reading it, and must never read a byte
// that was not written.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "catalogue.hpp"
#include "catalogue_headers.hpp"
#include "hostile_sweep.hpp"
#include "support/alloc_injector.hpp"

namespace ser {
namespace {

Outcome read(const TypeRow& row, void* msg, const std::vector<uint8_t>& bytes, bool owned,
             size_t ceiling) {
  return ser::read(row.callbacks(), msg, bytes, owned, ceiling);
}

TEST(HostileCount, NeitherGrowsNorMovesNorOverrunsTheCallersBuffer) {
  const TypeRow& row = type("DetectedWastes");
  // Header (time, empty frame_id, padding), the ids count, then 12 bytes: 32 in all.
  const std::vector<uint8_t> header = {1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
  for (uint32_t count : {0xF0000000u, 1u << 18, 4u}) {
    const std::vector<uint8_t> bytes = with_u32(header, count, 12);
    ASSERT_EQ(bytes.size(), 32u);
    for (bool owned : {false, true}) {
      SCOPED_TRACE(testing::Message() << "ids count " << count << ", " << ownership(owned));
      auto* msg = static_cast<corvanthelis_interfaces__msg__DetectedWastes*>(row.create());
      row.fill(msg, 1);
      const int32_t* ids = msg->ids.data;
      const Outcome outcome = read(row, msg, bytes, owned, 1 << 20);
      EXPECT_FALSE(outcome.returned) << "a count the buffer cannot hold must be refused";
      EXPECT_TRUE(outcome.buffer_kept);
      EXPECT_EQ(outcome.refused, 0u);
      EXPECT_LE(outcome.largest, 256u);  // the exception object, nothing that grows with the count
      EXPECT_EQ(msg->ids.data, ids);
      EXPECT_EQ(msg->ids.size, 1u);
      row.destroy(msg);
    }
  }
}

// A TrashInfo takes at least 195 bytes (200 with its padding), so 1 MB can hold about 5000 of
// them: a claim of a million must not cost the 200 MB that a million structures take, and a
// claim that only just passes the check costs about the packet's own length.
TEST(HostileCount, CostsAtMostAboutThePacketsOwnLength) {
  const TypeRow& row = type("TrashInfos");
  constexpr size_t kPacket = 1 << 20;
  const uint32_t fitting = (kPacket - 4) / 195;
  for (uint32_t count : {1000000u, fitting}) {
    const std::vector<uint8_t> bytes = with_u32({}, count, kPacket - 4);
    for (bool owned : {false, true}) {
      SCOPED_TRACE(testing::Message() << count << " claimed, " << ownership(owned));
      void* msg = row.create();
      const Outcome outcome = read(row, msg, bytes, owned, 64 * kPacket);
      EXPECT_FALSE(outcome.returned);
      EXPECT_TRUE(outcome.buffer_kept);
      EXPECT_EQ(outcome.refused, 0u);
      EXPECT_LE(outcome.requested, 2 * kPacket);
      row.destroy(msg);
    }
  }
}

// The bound must never refuse what a peer may rightly send: an empty string as a bare 0
// length, here in the label of each dimension of a Float64MultiArray, 12 bytes per dimension.
TEST(HostileCount, EmptyStringsAsABareLengthStillFitTheBound) {
  const TypeRow& row = type("ArmMoveJoints_Request");
  auto* msg = static_cast<corvanthelis_interfaces__srv__ArmMoveJoints_Request*>(row.create());
  const std::vector<uint8_t> head = write(row, msg);  // ends with the three empty counts
  std::vector<uint8_t> bytes(head.begin(), head.end() - 12);
  constexpr uint32_t kDimensions = 64;
  bytes = with_u32(bytes, kDimensions, 0);
  for (uint32_t i = 0; i < kDimensions; ++i) {
    bytes = with_u32(bytes, 0, 0);      // label: length 0, no characters
    bytes = with_u32(bytes, i, 0);      // size
    bytes = with_u32(bytes, 2 * i, 0);  // stride
  }
  bytes = with_u32(bytes, 7, 0);  // data_offset
  bytes = with_u32(bytes, 0, 0);  // no data
  for (bool owned : {false, true}) {
    SCOPED_TRACE(ownership(owned));
    const Outcome outcome = read(row, msg, bytes, owned, 0);
    ASSERT_TRUE(outcome.returned);
    EXPECT_TRUE(outcome.result);
    ASSERT_EQ(msg->target_joints.layout.dim.size, kDimensions);
    EXPECT_EQ(msg->target_joints.layout.dim.data[63].label.size, 0u);
    EXPECT_EQ(msg->target_joints.layout.dim.data[63].stride, 126u);
    EXPECT_EQ(msg->target_joints.layout.data_offset, 7u);
  }
  row.destroy(msg);
}

TEST(HostileCount, AtTheVeryEndOfTheBuffer) {
  for (const CountPosition& at : count_positions()) {
    const TypeRow& row = type(at.type);
    check_count_at_the_end({row.full_name(), row.callbacks(), row.create, row.destroy}, at);
  }
}

// Every 32-bit word of a sample of each type (every count among them, and every string length)
// replaced by values that claim more than the packet holds, or a large part of it.
TEST(HostileCount, AtEveryCountPositionOfEveryType) {
  SweepTotals totals;
  for (const TypeRow& row : types()) {
    const Reader reader{row.full_name(), row.callbacks(), row.create, row.destroy};
    sweep_count_positions(reader, sample(row, 2), sample(row, 1), totals);
    if (testing::Test::HasFailure()) return;
  }
  std::printf("%zu reads of hostile packets; the most one asked for: %zu bytes\n", totals.reads,
              totals.worst);
}

}  // namespace
}  // namespace ser
