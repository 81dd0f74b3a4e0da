#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// The property the C++ decoders must keep for any input (see fuzz_types.hpp for its layout):
// reading either refuses the payload with a Fast-CDR exception and leaves an object that still
// writes within its computed size, or succeeds, and then the object writes within its computed
// size and those bytes read back into an object equal to the first one, save for the characters
// after an embedded NUL, which C++ keeps on reading but no writer carries. Returns what broke,
// or an empty text.
std::string check_cpp_decoders(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
