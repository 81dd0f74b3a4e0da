#pragma once

// The types of the test-only package corvanthelis_every_kind, which has a field of every kind
// the compiler knows (single, fixed array, bounded and unbounded sequence of primitives,
// strings and messages), as rows of function pointers for both languages: the package's own
// catalogue covers only what it ships.

#include <rosidl_runtime_c/message_type_support_struct.h>

#include <cstddef>
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

// An object of one side's type for the length of a scope.
class Object {
 public:
  explicit Object(const Side& side) : side_(side), msg_(side.create()) {}
  ~Object() { side_.destroy(msg_); }
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  void* get() const { return msg_; }

 private:
  Side side_;
  void* msg_;
};

}  // namespace ser::every_kind
