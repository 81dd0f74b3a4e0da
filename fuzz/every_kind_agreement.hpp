#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// The C/C++ agreement (c_cpp_agreement.hpp) over the types of the test-only package, which
// holds every kind of field and bounded sequences: both readers refuse the input, or both read
// it and write back its canonical form. The first byte picks the type (`byte % 5` in the order
// of tests/serialization/every_kind.cpp) and the buffer kind (`byte / 5` odd: owned), as
// fuzz_types.hpp does for the package's own types. Returns what broke, or an empty text.
std::string check_every_kind_agreement(const std::uint8_t* data, std::size_t size);

// The first byte of an input for the type at `index` of every_kind::rows().
std::uint8_t every_kind_selector(std::size_t index, bool owned_buffer);

}  // namespace fuzz
