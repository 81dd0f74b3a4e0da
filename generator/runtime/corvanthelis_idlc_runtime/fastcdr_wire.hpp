// The rules of the CDR encoding that the C and the C++ serialization share: how big a run of
// items is, how a count is written, and how far a count from the wire may be believed. Every
// generated reader and writer of both libraries calls these, so both agree on every byte.

#ifndef CORVANTHELIS_IDLC_RUNTIME__FASTCDR_WIRE_HPP_
#define CORVANTHELIS_IDLC_RUNTIME__FASTCDR_WIRE_HPP_

#include <cstddef>
#include <cstdint>

#include "fastcdr/Cdr.h"
#include "fastcdr/exceptions/NotEnoughMemoryException.h"

namespace corvanthelis_idlc_runtime::fastcdr {

// Bytes that `count` items of `item_size` take at `position`, with the padding before them.
inline size_t padded(size_t position, size_t item_size, size_t count) {
  return eprosima::fastcdr::Cdr::alignment(position, item_size) + count * item_size;
}

// Counts and uint32 values travel through the int32 overload; the bits are the same.
inline void write_count(eprosima::fastcdr::Cdr & cdr, size_t count) {
  cdr.serialize(static_cast<int32_t>(static_cast<uint32_t>(count)));
}

// Whether at least `bytes` more octets follow the stream's position; the position is left
// where it was. Fast-CDR 1.0 keeps the end of its buffer private, and its ways of skipping
// ahead (jump, moveAlignmentForward) do not fail on a buffer the stream owns: they reallocate
// it, moving the caller's block and exposing bytes that were never written. Its readers,
// however, check the bytes left and throw without ever growing the buffer. So the span is read
// through a small scratch block, which asks exactly that question of every part of it. The
// cost is one extra copy of bytes the caller is about to read anyway, and the scratch keeps
// that copy off the heap.
inline bool holds(eprosima::fastcdr::Cdr & cdr, size_t bytes) {
  eprosima::fastcdr::Cdr::state before = cdr.getState();
  char scratch[1024];
  bool enough = true;
  try {
    for (size_t left = bytes; left > 0;) {
      const size_t step = left < sizeof(scratch) ? left : sizeof(scratch);
      cdr.deserializeArray(scratch, step);
      left -= step;
    }
  } catch (const eprosima::fastcdr::exception::NotEnoughMemoryException &) {
    enough = false;
  }
  cdr.setState(before);
  return enough;
}

// A count from the wire is believed only when the rest of the stream could hold that many
// elements of at least `minimum_element_bytes` each; otherwise a hostile or truncated packet
// would make the reader allocate far more than the packet could ever fill. The stream's own
// exception is raised, so callers see the same failure as for any short buffer; the stream
// stands right after the count.
inline size_t read_count(eprosima::fastcdr::Cdr & cdr, size_t minimum_element_bytes) {
  int32_t wire_count = 0;
  cdr.deserialize(wire_count);
  const size_t count = static_cast<uint32_t>(wire_count);
  const bool overflows = minimum_element_bytes != 0 && count > SIZE_MAX / minimum_element_bytes;
  if (overflows || !holds(cdr, count * minimum_element_bytes)) {
    throw eprosima::fastcdr::exception::NotEnoughMemoryException(
      eprosima::fastcdr::exception::NotEnoughMemoryException::NOT_ENOUGH_MEMORY_MESSAGE_DEFAULT);
  }
  return count;
}

}  // namespace corvanthelis_idlc_runtime::fastcdr

#endif  // CORVANTHELIS_IDLC_RUNTIME__FASTCDR_WIRE_HPP_
