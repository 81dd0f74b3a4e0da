// Counts on the wire are the one place where a few bytes from a peer decide how much memory the
// reader takes. Whatever the count says, the reader may allocate only in proportion to the
// packet, must never touch the caller's buffer beyond reading it, and must never read a byte
// that was not written.

#include <fastcdr/exceptions/NotEnoughMemoryException.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "catalogue.hpp"
#include "catalogue_headers.hpp"
#include "support/alloc_injector.hpp"

namespace ser {
namespace {

using eprosima::fastcdr::exception::NotEnoughMemoryException;

void put_u32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

std::vector<uint8_t> u32_then_zeros(std::vector<uint8_t> head, uint32_t value, size_t zeros) {
  head.resize(head.size() + 4 + zeros, 0);
  put_u32(head, head.size() - 4 - zeros, value);
  return head;
}

// What one read did to the caller's buffer and to the heap.
struct Outcome {
  bool returned = false;  // false: the stream threw NotEnoughMemoryException
  bool result = false;
  bool buffer_kept = false;
  size_t requested = 0;
  size_t largest = 0;
  size_t refused = 0;
};

// Reads `bytes` into `msg` from an external buffer or from one the stream owns. Requests above
// `ceiling` are refused, so a reader that believes a hostile count fails instead of taking the
// machine's memory. The blocks of the read stay tracked, so live_blocks() after the caller has
// finalised `msg` shows a leak.
Outcome read(const TypeRow& row, void* msg, const std::vector<uint8_t>& bytes, bool owned,
             size_t ceiling) {
  Stream external(bytes);
  OwnedStream own(bytes);
  eprosima::fastcdr::FastBuffer& buffer = owned ? own.buffer : external.buffer;
  eprosima::fastcdr::Cdr& cdr = owned ? own.cdr : external.cdr;
  const char* block = buffer.getBuffer();
  const size_t size = buffer.getBufferSize();
  Outcome outcome;
  alloc_injector::reset();
  alloc_injector::refuse_above(ceiling);
  try {
    alloc_injector::Scope counted;
    outcome.result = row.callbacks()->cdr_deserialize(cdr, msg);
    outcome.returned = true;
  } catch (const NotEnoughMemoryException&) {
  }
  outcome.requested = alloc_injector::requested_bytes();
  outcome.largest = alloc_injector::largest_request();
  outcome.refused = alloc_injector::refused();
  outcome.buffer_kept = buffer.getBuffer() == block && buffer.getBufferSize() == size;
  return outcome;
}

const char* ownership(bool owned) { return owned ? "owned buffer" : "external buffer"; }

TEST(HostileCount, NeitherGrowsNorMovesNorOverrunsTheCallersBuffer) {
  const TypeRow& row = type("DetectedWastes");
  // Header (time, empty frame_id, padding), the ids count, then 12 bytes: 32 in all.
  const std::vector<uint8_t> header = {1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
  for (uint32_t count : {0xF0000000u, 1u << 18, 4u}) {
    const std::vector<uint8_t> bytes = u32_then_zeros(header, count, 12);
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
    const std::vector<uint8_t> bytes = u32_then_zeros({}, count, kPacket - 4);
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
  bytes = u32_then_zeros(bytes, kDimensions, 0);
  for (uint32_t i = 0; i < kDimensions; ++i) {
    bytes = u32_then_zeros(bytes, 0, 0);      // label: length 0, no characters
    bytes = u32_then_zeros(bytes, i, 0);      // size
    bytes = u32_then_zeros(bytes, 2 * i, 0);  // stride
  }
  bytes = u32_then_zeros(bytes, 7, 0);  // data_offset
  bytes = u32_then_zeros(bytes, 0, 0);  // no data
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

// Every 32-bit word of a sample of each type (every count among them, and every string length)
// replaced by values that claim more than the packet holds, or a large part of it.
TEST(HostileCount, AtEveryCountPositionOfEveryType) {
  // What one packet may make the reader take: each believed count costs at most a few times
  // the bytes that back it (a string record is 24 bytes in memory and 4 on the wire), a count
  // nested in an element of another claims the same bytes again, and the slack covers the
  // exception object and the temporary text of a string.
  constexpr size_t kFactor = 8;
  constexpr size_t kSlack = 1024;
  size_t decodes = 0;
  size_t worst = 0;  // most bytes one read asked for
  for (const TypeRow& row : types()) {
    void* source = row.create();
    row.fill(source, 2);
    const std::vector<uint8_t> sample = write(row, source);
    row.destroy(source);
    const size_t n = sample.size();
    const uint32_t values[] = {0xFFFFFFFFu, 0x80000000u, 0x10000000u, 0x00100000u, 0x1000u,
                               static_cast<uint32_t>(n), static_cast<uint32_t>(n / 2),
                               static_cast<uint32_t>(n / 8)};
    for (size_t at = 0; at + 4 <= n; at += 4) {
      for (uint32_t value : values) {
        std::vector<uint8_t> bytes = sample;
        put_u32(bytes, at, value);
        for (bool owned : {false, true}) {
          SCOPED_TRACE(testing::Message() << row.full_name() << ", " << value << " at " << at
                                          << " of " << n << ", " << ownership(owned));
          void* msg = row.create();
          row.fill(msg, 1);  // what the read must dispose of
          const Outcome outcome = read(row, msg, bytes, owned, kFactor * n + kSlack);
          row.destroy(msg);
          ++decodes;
          EXPECT_TRUE(outcome.buffer_kept);
          EXPECT_EQ(outcome.refused, 0u);
          EXPECT_LE(outcome.requested, kFactor * n + kSlack);
          EXPECT_EQ(alloc_injector::live_blocks(), 0u);
          worst = std::max(worst, outcome.requested);
          if (testing::Test::HasFailure()) return;  // one report is enough
        }
      }
    }
  }
  std::printf("%zu reads of hostile packets; the most one asked for: %zu bytes\n", decodes, worst);
}

}  // namespace
}  // namespace ser
