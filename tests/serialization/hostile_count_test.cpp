// Counts on the wire are the one place where a few bytes from a peer decide how much memory the
// reader takes. Whatever the count says, the reader may allocate only in proportion to the
// packet, must never touch the caller's buffer beyond reading it, and must never read a byte
// that was not written.

#include <fastcdr/exceptions/NotEnoughMemoryException.h>
#include <gtest/gtest.h>

#include <cstring>
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
// machine's memory.
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
  alloc_injector::reset();
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

}  // namespace
}  // namespace ser
