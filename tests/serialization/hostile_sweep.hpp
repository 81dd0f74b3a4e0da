#pragma once

// Reading hostile packets from an external buffer and from one the stream owns, with every
// allocation of the read counted by the injector: shared by the C and the C++ sweeps, which
// reach their readers through the same callbacks record.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue.hpp"
#include "hostile_inputs.hpp"

namespace ser {

// One type's reader, in either language.
struct Reader {
  std::string name;
  const message_type_support_callbacks_t* callbacks;
  void* (*create)();
  void (*destroy)(void*);
};

// What one read did to the caller's buffer and to the heap.
struct Outcome {
  bool returned = false;  // false: the stream threw NotEnoughMemoryException
  bool result = false;
  bool buffer_kept = false;
  size_t requested = 0;
  size_t largest = 0;
  size_t refused = 0;
  size_t position = 0;  // where the stream stood afterwards
};

void put_u32(std::vector<uint8_t>& bytes, size_t at, uint32_t value);

// The encoding of the row's sample values of that variant (see TypeRow::fill).
std::vector<uint8_t> sample(const TypeRow& row, int variant);

// Reads `bytes` into `msg` from an external buffer or from one the stream owns. Requests above
// `ceiling` are refused, so a reader that believes a hostile count fails instead of taking the
// machine's memory. The blocks of the read stay tracked, so live_blocks() after the caller has
// released `msg` shows a leak.
Outcome read(const message_type_support_callbacks_t* callbacks, void* msg,
             const std::vector<uint8_t>& bytes, bool owned, size_t ceiling);

const char* ownership(bool owned);

// The most one read asked for, over all reads of a sweep.
struct SweepTotals {
  size_t reads = 0;
  size_t worst = 0;
};

// Every 32-bit word of `sample` (so every sequence count and every string length among them)
// replaced by values that claim more than the packet holds, or a large part of it, read into an
// object that held `old_contents` before, from both kinds of buffer. No read may grow or move
// the buffer, ask for more than a few times the packet, or leak. Stops at the first failure.
void sweep_count_positions(const Reader& reader, const std::vector<uint8_t>& sample,
                           const std::vector<uint8_t>& old_contents, SweepTotals& totals);

// The count at `at` checked at the very end of the buffer, in both kinds of buffer: a count whose
// elements, at their least size, end exactly where the buffer does is believed, and the same
// count one byte short of that is refused before anything that grows with it is allocated, with
// the stream right after the count.
void check_count_at_the_end(const Reader& reader, const CountPosition& at);

}  // namespace ser
