#pragma once

// How every fuzz target reads its input: the first byte picks one of the package's types and
// the kind of buffer, the rest is the CDR payload. The same byte means the same type in every
// target (the C decoders, the C++ decoders and the C/C++ comparison), so a corpus or a crash
// file carries over from one target to another.

#include <cstddef>
#include <cstdint>

#include "catalogue.hpp"
#include "cpp_catalogue.hpp"

namespace fuzz {

struct Choice {
  const ser::TypeRow* row;  // in catalogue order; its full_name() names the type to other targets
  std::size_t index;
  // The FastBuffer owns (and could grow) the payload's block instead of borrowing the
  // caller's: a reader must treat both alike.
  bool owned_buffer;
};

Choice choose(std::uint8_t selector);
const ser::CppRow& cpp_row(const Choice& choice);
std::uint8_t selector(std::size_t type_index, bool owned_buffer);

}  // namespace fuzz
