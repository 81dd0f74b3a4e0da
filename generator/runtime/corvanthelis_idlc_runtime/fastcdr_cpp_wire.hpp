// The rules by which the C++ serialization writes and reads each kind of member of a message
// class; every generated function calls them in field order. Failures are Fast-CDR's
// exceptions, or the standard library's where a container refuses.

#ifndef CORVANTHELIS_IDLC_RUNTIME__FASTCDR_CPP_WIRE_HPP_
#define CORVANTHELIS_IDLC_RUNTIME__FASTCDR_CPP_WIRE_HPP_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "corvanthelis_idlc_runtime/fastcdr_wire.hpp"
#include "fastcdr/Cdr.h"
#include "rosidl_runtime_cpp/bounded_vector.hpp"

namespace corvanthelis_idlc_runtime::fastcdr_cpp {

using fastcdr::padded;
using fastcdr::read_count;
using fastcdr::write_count;

template<typename Wire, typename Member>
inline void write(eprosima::fastcdr::Cdr & cdr, const Member & value) {
  cdr.serialize(static_cast<Wire>(value));
}

template<typename Wire, typename Member>
inline void read(eprosima::fastcdr::Cdr & cdr, Member & value) {
  Wire wire_value{};
  cdr.deserialize(wire_value);
  value = static_cast<Member>(wire_value);
}

// Any octet other than 0 reads as true.
inline bool read_bool(eprosima::fastcdr::Cdr & cdr) {
  char octet = 0;
  cdr.deserialize(octet);
  return octet != 0;
}

// The length prefix counts the characters up to the first NUL, as on the C side.
inline void write_string(eprosima::fastcdr::Cdr & cdr, const std::string & text) {
  cdr.serialize(text.c_str());
}

// Exactly the characters on the wire, embedded NUL characters included.
inline void read_string(eprosima::fastcdr::Cdr & cdr, std::string & text) {
  cdr.deserialize(text);
}

template<typename T, size_t N>
inline void write_array(eprosima::fastcdr::Cdr & cdr, const std::array<T, N> & items) {
  cdr.serializeArray(items.data(), N);
}

template<typename T, size_t N>
inline void read_array(eprosima::fastcdr::Cdr & cdr, std::array<T, N> & items) {
  cdr.deserializeArray(items.data(), N);
}

// Fast-CDR's vector operators: the count, then one array call. On a failure they put the
// stream back where it was before the count, and a reader checks the count against the bytes
// left before it resizes the vector.
template<typename T>
inline void write_sequence(eprosima::fastcdr::Cdr & cdr, const std::vector<T> & items) {
  cdr << items;
}

template<typename T>
inline void read_sequence(eprosima::fastcdr::Cdr & cdr, std::vector<T> & items) {
  cdr >> items;
}

// A bounded vector hides the std::vector it is made of, so Fast-CDR's operators do not take
// it (nor does it lend its data()); these do what they do, and a count above the bound fails
// in the vector's own resize.
template<typename T, size_t N, typename Allocator>
inline void write_sequence(
  eprosima::fastcdr::Cdr & cdr, const rosidl_runtime_cpp::BoundedVector<T, N, Allocator> & items)
{
  eprosima::fastcdr::Cdr::state before = cdr.getState();
  try {
    write_count(cdr, items.size());
    if (!items.empty()) {
      cdr.serializeArray(&items[0], items.size());
    }
  } catch (...) {
    cdr.setState(before);
    throw;
  }
}

template<typename T, size_t N, typename Allocator>
inline void read_sequence(
  eprosima::fastcdr::Cdr & cdr, rosidl_runtime_cpp::BoundedVector<T, N, Allocator> & items)
{
  eprosima::fastcdr::Cdr::state before = cdr.getState();
  try {
    const size_t count = read_count(cdr, sizeof(T));
    items.resize(count);
    if (count > 0) {
      cdr.deserializeArray(&items[0], count);
    }
  } catch (...) {
    cdr.setState(before);
    throw;
  }
}

}  // namespace corvanthelis_idlc_runtime::fastcdr_cpp

#endif  // CORVANTHELIS_IDLC_RUNTIME__FASTCDR_CPP_WIRE_HPP_
