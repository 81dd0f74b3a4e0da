// Lets Python programs write and read C structures as CDR through a serialization record's
// callbacks, as the middleware does: the callbacks take a Fast-CDR stream, which ctypes cannot
// make. The stream holds the members only, little endian, without the encapsulation header.

#include <fastcdr/Cdr.h>
#include <fastcdr/FastBuffer.h>
#include <fastcdr/exceptions/Exception.h>

#include <cstddef>
#include <cstdint>

#include "rosidl_runtime_c/message_type_support_struct.h"
#include "rosidl_typesupport_fastrtps_cpp/message_type_support.h"

namespace {

const message_type_support_callbacks_t* callbacks(const rosidl_message_type_support_t* record) {
  return static_cast<const message_type_support_callbacks_t*>(record->data);
}

constexpr auto kEndianness = eprosima::fastcdr::Cdr::LITTLE_ENDIANNESS;
constexpr auto kFlavour = eprosima::fastcdr::Cdr::DDS_CDR;

}  // namespace

extern "C" {

// An upper bound of the bytes `message` takes, for the caller's buffer.
__attribute__((visibility("default"))) size_t cdr_bridge_size(
    const rosidl_message_type_support_t* record, const void* message) {
  return callbacks(record)->get_serialized_size(message);
}

// The number of bytes written, or 0 when the record refused the message or the buffer was short.
__attribute__((visibility("default"))) size_t cdr_bridge_serialize(
    const rosidl_message_type_support_t* record, const void* message, uint8_t* out,
    size_t capacity) {
  eprosima::fastcdr::FastBuffer buffer(reinterpret_cast<char*>(out), capacity);
  eprosima::fastcdr::Cdr cdr(buffer, kEndianness, kFlavour);
  try {
    if (!callbacks(record)->cdr_serialize(message, cdr)) return 0;
  } catch (const eprosima::fastcdr::exception::Exception&) {
    return 0;
  }
  return cdr.getSerializedDataLength();
}

__attribute__((visibility("default"))) bool cdr_bridge_deserialize(
    const rosidl_message_type_support_t* record, const uint8_t* bytes, size_t length,
    void* message) {
  // The stream only reads from the buffer, whatever its constness says.
  char* readable = const_cast<char*>(reinterpret_cast<const char*>(bytes));
  eprosima::fastcdr::FastBuffer buffer(readable, length);
  eprosima::fastcdr::Cdr cdr(buffer, kEndianness, kFlavour);
  try {
    return callbacks(record)->cdr_deserialize(cdr, message);
  } catch (const eprosima::fastcdr::exception::Exception&) {
    return false;
  }
}

}  // extern "C"
