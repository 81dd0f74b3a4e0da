#pragma once

// The types of the test-only package corvanthelis_every_kind, which has a field of every kind
// the compiler knows (single, fixed array, bounded and unbounded sequence of primitives,
// strings and messages), as rows of function pointers for both languages: the package's own
// catalogue covers only what it ships.

#include <rosidl_runtime_c/message_type_support_struct.h>
#include <rosidl_typesupport_introspection_c/message_introspection.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "catalogue.hpp"
#include "rosidl_typesupport_fastrtps_cpp/message_type_support.h"

namespace ser::every_kind {

// How the checks reach a type in one language.
struct Side {
  MessageHandle serialization;
  MessageHandle introspection;
  size_t (*size)(const void*, size_t);
  void* (*create)();
  void (*destroy)(void*);
  bool (*equal)(const void*, const void*);

  const message_type_support_callbacks_t* callbacks() const {
    return static_cast<const message_type_support_callbacks_t*>(serialization()->data);
  }
};

struct Row {
  const char* name;  // Kinds, Bounded, ...
  Side c;
  Side cpp;
};

const std::vector<Row>& rows();
const Row& row(const std::string& name);

// Gives the sequence `member` of the C structure `message` `count` elements: numbers zero,
// strings and messages as their init functions leave them. False when the sequence refuses,
// as a bounded one does above its bound.
bool resize_c_sequence(const rosidl_typesupport_introspection_c__MessageMember& member,
                       void* message, size_t count);

// An object of one side's type, destroyed with its pointer.
using Object = std::unique_ptr<void, void (*)(void*)>;
inline Object make(const Side& side) { return {side.create(), side.destroy}; }

}  // namespace ser::every_kind
