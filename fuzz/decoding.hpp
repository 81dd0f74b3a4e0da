#pragma once

// What every decoder target does with one language's reader: read a payload, write the result
// back into a buffer of its computed size, and read that writing again. The C structures and
// the C++ objects are reached alike, through their callbacks records and a few functions.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue.hpp"
#include "cpp_catalogue.hpp"
#include "every_kind.hpp"

namespace fuzz {

// One language's view of one type.
struct Side {
  const message_type_support_callbacks_t* callbacks;
  std::size_t (*size)(const void*, std::size_t);
  void* (*create)();
  void (*destroy)(void*);
  bool (*equal)(const void*, const void*);

  static Side of(const ser::TypeRow& row);
  static Side of(const ser::CppRow& row);
  static Side of(const ser::every_kind::Side& side);
};

// A structure or object of one side's type for the length of a check.
class Message {
 public:
  explicit Message(const Side& side) : side_(side), msg_(side.create()) {}
  ~Message() { side_.destroy(msg_); }
  Message(const Message&) = delete;
  Message& operator=(const Message&) = delete;
  void* get() const { return msg_; }

 private:
  Side side_;
  void* msg_;
};

// Reads `bytes` from a buffer the stream borrows or owns; false when the reader refuses them,
// by its result, by a Fast-CDR exception, or by the length error of a bounded C++ sequence.
bool read(const Side& side, const std::vector<std::uint8_t>& bytes, bool owned_buffer, void* msg);

// Writes into a buffer of exactly the computed size, which cannot grow: a size that falls short
// shows as an exception. The size may exceed the bytes written by the alignment before an empty
// float64 sequence, which the size rules count and Fast-CDR skips (4 bytes: no type has two
// such sequences), and by nothing else unless `slack` allows more. Returns what broke, or an
// empty text.
std::string write(const Side& side, const void* msg, std::vector<std::uint8_t>& bytes,
                  std::size_t slack = 4);

// After `first` was read: its writing (`canonical`) must read back into a structure equal to
// it. A structure unequal to itself holds a NaN, which no comparison can match; its writing
// must then come back byte for byte. Returns what broke, or an empty text.
std::string check_written_reads_back(const Side& side, const void* first,
                                     std::vector<std::uint8_t>& canonical);

}  // namespace fuzz
