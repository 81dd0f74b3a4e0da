#pragma once

// Random message contents, walked through the introspection tables so that one generator
// serves every type in both languages. The same seed gives the C structure and the C++
// object the very same values: both walks draw in field order from the same stream.

#include <rosidl_runtime_c/message_type_support_struct.h>

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

namespace ser {

class Draws {
 public:
  explicit Draws(uint64_t seed) : bits_(seed) {}
  uint64_t bits() { return bits_(); }
  size_t count() { return static_cast<size_t>(bits() % (kMaxElements + 1)); }
  // Empty, short, long, and texts outside ASCII; never a NUL, which C strings cannot hold.
  std::string text();

  static constexpr size_t kMaxElements = 4;

 private:
  std::mt19937_64 bits_;
};

// `handle` is the type's introspection handle of that language; `message` an initialised
// structure or a constructed object of the type.
void fill_c(const rosidl_message_type_support_t* handle, void* message, Draws& draws);
void fill_cpp(const rosidl_message_type_support_t* handle, void* message, Draws& draws);

}  // namespace ser
