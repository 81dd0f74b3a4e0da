#pragma once

// Every fuzz target by name, for the libFuzzer programs and the corpus replay.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace fuzz {

// A target's property: what broke for this input, or an empty text.
using Check = std::string (*)(const std::uint8_t*, std::size_t);

const std::map<std::string, Check>& targets();

}  // namespace fuzz
