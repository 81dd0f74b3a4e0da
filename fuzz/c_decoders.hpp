#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// The property the C decoders must keep for any input (see fuzz_types.hpp for its layout):
// reading either refuses the payload (false or a Fast-CDR exception), or succeeds, and then
// the structure writes exactly as many bytes as its size function says, and those bytes read
// back into a structure equal to the first one. Crashes, leaks, undefined behaviour and
// oversized allocations are left to the sanitizers. Returns what broke, or an empty text.
std::string check_c_decoders(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
