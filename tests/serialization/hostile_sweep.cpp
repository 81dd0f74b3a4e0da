#include "hostile_sweep.hpp"

#include <fastcdr/exceptions/NotEnoughMemoryException.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "support/alloc_injector.hpp"

namespace ser {

void put_u32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

std::vector<uint8_t> sample(const TypeRow& row, int variant) {
  void* msg = row.create();
  row.fill(msg, variant);
  std::vector<uint8_t> bytes = write(row, msg);
  row.destroy(msg);
  return bytes;
}

Outcome read(const message_type_support_callbacks_t* callbacks, void* msg,
             const std::vector<uint8_t>& bytes, bool owned, size_t ceiling) {
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
    outcome.result = callbacks->cdr_deserialize(cdr, msg);
    outcome.returned = true;
  } catch (const eprosima::fastcdr::exception::NotEnoughMemoryException&) {
  }
  outcome.requested = alloc_injector::requested_bytes();
  outcome.largest = alloc_injector::largest_request();
  outcome.refused = alloc_injector::refused();
  outcome.position = cdr.getSerializedDataLength();
  outcome.buffer_kept = buffer.getBuffer() == block && buffer.getBufferSize() == size;
  return outcome;
}

const char* ownership(bool owned) { return owned ? "owned buffer" : "external buffer"; }

void sweep_count_positions(const Reader& reader, const std::vector<uint8_t>& sample,
                           const std::vector<uint8_t>& old_contents, SweepTotals& totals) {
  // What one packet may make the reader take: each believed count costs at most a few times
  // the bytes that back it (a string record is 24 bytes in memory and 4 on the wire), a count
  // nested in an element of another claims the same bytes again, and the slack covers the
  // exception object and the temporary text of a string.
  constexpr size_t kFactor = 8;
  constexpr size_t kSlack = 1024;
  const size_t n = sample.size();
  const uint32_t values[] = {0xFFFFFFFFu, 0x80000000u, 0x10000000u, 0x00100000u, 0x1000u,
                             static_cast<uint32_t>(n), static_cast<uint32_t>(n / 2),
                             static_cast<uint32_t>(n / 8)};
  for (size_t at = 0; at + 4 <= n; at += 4) {
    for (uint32_t value : values) {
      std::vector<uint8_t> bytes = sample;
      put_u32(bytes, at, value);
      for (bool owned : {false, true}) {
        SCOPED_TRACE(testing::Message() << reader.name << ", " << value << " at " << at << " of "
                                        << n << ", " << ownership(owned));
        void* msg = reader.create();
        Stream before(old_contents);  // what the read must dispose of
        if (!reader.callbacks->cdr_deserialize(before.cdr, msg)) {
          ADD_FAILURE() << "the old contents cannot be read";
        }
        const Outcome outcome = read(reader.callbacks, msg, bytes, owned, kFactor * n + kSlack);
        reader.destroy(msg);
        ++totals.reads;
        EXPECT_TRUE(outcome.buffer_kept);
        EXPECT_EQ(outcome.refused, 0u);
        EXPECT_LE(outcome.requested, kFactor * n + kSlack);
        EXPECT_EQ(alloc_injector::live_blocks(), 0u);
        totals.worst = std::max(totals.worst, outcome.requested);
        if (testing::Test::HasFailure()) return;  // one report is enough
      }
    }
  }
}

void check_count_at_the_end(const Reader& reader, const CountPosition& at) {
  constexpr uint32_t kCount = 1000;
  const size_t fitting = kCount * at.least_element_bytes;
  for (size_t missing : {0, 1}) {
    const std::vector<uint8_t> bytes = with_u32(at.before, kCount, fitting - missing);
    for (bool owned : {false, true}) {
      SCOPED_TRACE(testing::Message()
                   << reader.name << "." << at.field << ", " << kCount << " elements in "
                   << fitting - missing << " bytes, " << ownership(owned));
      void* msg = reader.create();
      const Outcome outcome = read(reader.callbacks, msg, bytes, owned, 4 * bytes.size());
      reader.destroy(msg);
      EXPECT_TRUE(outcome.buffer_kept);
      EXPECT_EQ(outcome.refused, 0u);
      EXPECT_EQ(alloc_injector::live_blocks(), 0u);
      // Believed, the reader goes on into the elements; refused, it stops right after the count.
      const bool believed = outcome.returned || outcome.position > at.before.size() + 4;
      EXPECT_EQ(believed, missing == 0);
      if (missing != 0) {
        EXPECT_EQ(outcome.position, at.before.size() + 4);
        // the exception object, nothing that grows with the count
        EXPECT_LE(outcome.largest, 256u);
      }
    }
  }
}

}  // namespace ser
