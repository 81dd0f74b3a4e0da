// The rules by which the C serialization writes and reads each kind of field of a C structure;
// every generated function calls them in field order. A failure that the caller could not
// have told from the structure writes one line to the standard error stream and returns false.

#ifndef CORVANTHELIS_IDLC_RUNTIME__FASTCDR_C_WIRE_HPP_
#define CORVANTHELIS_IDLC_RUNTIME__FASTCDR_C_WIRE_HPP_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "corvanthelis_idlc_runtime/fastcdr_wire.hpp"
#include "fastcdr/Cdr.h"
#include "rosidl_runtime_c/message_type_support_struct.h"
#include "rosidl_runtime_c/string.h"
#include "rosidl_runtime_c/string_functions.h"
#include "rosidl_typesupport_fastrtps_cpp/message_type_support.h"

namespace corvanthelis_idlc_runtime::fastcdr_c {

using fastcdr::padded;
using fastcdr::read_count;
using fastcdr::write_count;

inline const message_type_support_callbacks_t * callbacks(const rosidl_message_type_support_t * handle) {
  return static_cast<const message_type_support_callbacks_t *>(handle->data);
}

template<typename Wire, typename Field>
inline Field read_as(eprosima::fastcdr::Cdr & cdr) {
  Wire value{};
  cdr.deserialize(value);
  return static_cast<Field>(value);
}

// Any octet other than 0 reads as true.
inline bool read_bool(eprosima::fastcdr::Cdr & cdr) {
  return read_as<char, char>(cdr) != 0;
}

inline bool write_string(eprosima::fastcdr::Cdr & cdr, const rosidl_runtime_c__String & text) {
  if (text.capacity == 0 || text.capacity <= text.size) {
    fputs("string capacity not greater than size\n", stderr);
    return false;
  }
  // a record with room but no characters cannot be terminated either
  if (!text.data || text.data[text.size] != '\0') {
    fputs("string not null-terminated\n", stderr);
    return false;
  }
  cdr.serialize(text.data);
  return true;
}

// A bounded sequence holds at most `bound` elements, in the structure and on the wire alike;
// more are refused rather than cut, so that nothing is lost without a word.
inline bool within_bound(size_t size, size_t bound, const char * field) {
  if (size > bound) {
    fprintf(stderr, "sequence size exceeds upper bound of field '%s'\n", field);
    return false;
  }
  return true;
}

inline bool read_string(eprosima::fastcdr::Cdr & cdr, rosidl_runtime_c__String & text, const char * field) {
  std::string characters;
  cdr.deserialize(characters);
  if (!text.data) {
    rosidl_runtime_c__String__init(&text);
  }
  if (!rosidl_runtime_c__String__assign(&text, characters.c_str())) {
    fprintf(stderr, "failed to assign string into field '%s'\n", field);
    return false;
  }
  return true;
}

}  // namespace corvanthelis_idlc_runtime::fastcdr_c

#endif  // CORVANTHELIS_IDLC_RUNTIME__FASTCDR_C_WIRE_HPP_
