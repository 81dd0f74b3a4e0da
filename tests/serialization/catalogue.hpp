#pragma once

// One row per structure and per service of the package, made from the test catalogue
// (catalogue/interfaces.def), so that every test can sweep all of them through the same
// function pointers instead of naming the types by hand each time.

#include <fastcdr/Cdr.h>
#include <fastcdr/FastBuffer.h>
#include <rosidl_runtime_c/message_type_support_struct.h>
#include <rosidl_runtime_c/service_type_support_struct.h>
#include <rosidl_runtime_c/string.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "rosidl_typesupport_fastrtps_cpp/message_type_support.h"

namespace ser {

using MessageHandle = const rosidl_message_type_support_t* (*)();
using ServiceHandle = const rosidl_service_type_support_t* (*)();

struct TypeRow {
  const char* kind;      // msg, srv or action
  const char* name;      // e.g. ArmTask_SendGoal_Request
  const char* cpp_name;  // the class: corvanthelis_interfaces::action::ArmTask_SendGoal_Request
  MessageHandle handle;
  size_t (*size)(const void*, size_t);
  size_t (*max)(bool&, bool&, size_t);
  void* (*create)();
  void (*destroy)(void*);
  bool (*equal)(const void*, const void*);
  // Gives the structure contents that depend on `variant`: 0 leaves every sequence and string
  // empty, 1 gives one element and short strings, 2 several elements and longer strings.
  void (*fill)(void*, int variant);
  size_t max_at_zero;
  char bounds_class;

  const message_type_support_callbacks_t* callbacks() const {
    return static_cast<const message_type_support_callbacks_t*>(handle()->data);
  }
  std::string full_name() const { return std::string(kind) + "__" + name; }
};

struct ServiceRow {
  const char* kind;
  const char* name;
  const char* cpp_name;
  ServiceHandle handle;
  MessageHandle request;
  MessageHandle response;
};

const std::vector<TypeRow>& types();
const std::vector<ServiceRow>& services();
const TypeRow& type(const std::string& name);

// Fast-CDR stream over a caller-owned buffer, members only, alignment origin at byte 0.
struct Stream {
  explicit Stream(size_t capacity)
      : raw(capacity),
        buffer(raw.data(), raw.size()),
        cdr(buffer, eprosima::fastcdr::Cdr::LITTLE_ENDIANNESS, eprosima::fastcdr::Cdr::DDS_CDR) {}
  Stream(const std::vector<uint8_t>& bytes)
      : raw(bytes.begin(), bytes.end()),
        buffer(raw.data(), raw.size()),
        cdr(buffer, eprosima::fastcdr::Cdr::LITTLE_ENDIANNESS, eprosima::fastcdr::Cdr::DDS_CDR) {}
  std::vector<uint8_t> written() const {
    return {raw.begin(), raw.begin() + static_cast<long>(cdr.getSerializedDataLength())};
  }

  std::vector<char> raw;
  eprosima::fastcdr::FastBuffer buffer;
  eprosima::fastcdr::Cdr cdr;
};

// Fast-CDR stream over a buffer that the FastBuffer owns, as a default-constructed one does:
// such a buffer grows when written past its end, and reading must never make it do so. It is
// exactly as long as the bytes, so every byte a reader may touch has been written.
struct OwnedStream {
  explicit OwnedStream(const std::vector<uint8_t>& bytes)
      : buffer(filled(bytes)),
        cdr(buffer, eprosima::fastcdr::Cdr::LITTLE_ENDIANNESS, eprosima::fastcdr::Cdr::DDS_CDR) {}

  static eprosima::fastcdr::FastBuffer filled(const std::vector<uint8_t>& bytes) {
    eprosima::fastcdr::FastBuffer owned;
    if (!bytes.empty()) {
      if (!owned.reserve(bytes.size())) throw std::bad_alloc();
      std::copy(bytes.begin(), bytes.end(), owned.getBuffer());
    }
    return owned;
  }

  eprosima::fastcdr::FastBuffer buffer;
  eprosima::fastcdr::Cdr cdr;
};

// Serializes `msg` after `lead` filler octets; returns the bytes of the message alone.
std::vector<uint8_t> write(const TypeRow& row, const void* msg, size_t lead = 0);
// The same through any callbacks record; `size` is the message's size at `lead`.
std::vector<uint8_t> write_through(const message_type_support_callbacks_t* callbacks,
                                   const char* name, const void* msg, size_t size, size_t lead);

void set_string(rosidl_runtime_c__String& s, const char* text);

}  // namespace ser
