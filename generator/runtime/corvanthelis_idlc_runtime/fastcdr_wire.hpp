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

// The question put to the stream below: how many octets follow its position.
struct bytes_left_query {
  size_t bytes;
};

}  // namespace corvanthelis_idlc_runtime::fastcdr

// Fast-CDR 1.0 keeps the end of its buffer private, and its ways of skipping ahead (jump,
// moveAlignmentForward) do not fail on a buffer the stream owns: they reallocate it, moving
// the caller's block and exposing bytes that were never written. Its readers, however, decide
// whether a value fits by comparing the position with that end, and never grow anything. This
// specialization of the stream's member template for a type of this runtime is a member of the
// stream, so it asks exactly their question, in constant time, reading and moving nothing. A
// release that renamed or retyped those members would stop this from compiling, not mislead it.
template<>
inline eprosima::fastcdr::Cdr & eprosima::fastcdr::Cdr::deserialize<
  corvanthelis_idlc_runtime::fastcdr::bytes_left_query>(
  corvanthelis_idlc_runtime::fastcdr::bytes_left_query & query)
{
  query.bytes = m_lastPosition - m_currentPosition;
  return *this;
}

namespace corvanthelis_idlc_runtime::fastcdr {

// Bytes that `count` items of `item_size` take at `position`, with the padding before them.
inline size_t padded(size_t position, size_t item_size, size_t count) {
  return eprosima::fastcdr::Cdr::alignment(position, item_size) + count * item_size;
}

// Counts and uint32 values travel through the int32 overload; the bits are the same.
inline void write_count(eprosima::fastcdr::Cdr & cdr, size_t count) {
  cdr.serialize(static_cast<int32_t>(static_cast<uint32_t>(count)));
}

inline size_t bytes_left(eprosima::fastcdr::Cdr & cdr) {
  bytes_left_query query{0};
  cdr.deserialize(query);
  return query.bytes;
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
  // dividing rather than multiplying, so that no count can overflow the comparison
  if (minimum_element_bytes != 0 && count > bytes_left(cdr) / minimum_element_bytes) {
    throw eprosima::fastcdr::exception::NotEnoughMemoryException(
      eprosima::fastcdr::exception::NotEnoughMemoryException::NOT_ENOUGH_MEMORY_MESSAGE_DEFAULT);
  }
  return count;
}

}  // namespace corvanthelis_idlc_runtime::fastcdr

#endif  // CORVANTHELIS_IDLC_RUNTIME__FASTCDR_WIRE_HPP_
