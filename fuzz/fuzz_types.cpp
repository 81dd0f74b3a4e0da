#include "fuzz_types.hpp"

namespace fuzz {

Choice choose(std::uint8_t selector) {
  const auto& rows = ser::types();
  const std::size_t index = selector % rows.size();
  return {&rows[index], index, (selector / rows.size()) % 2 == 1};
}

std::uint8_t selector(std::size_t type_index, bool owned_buffer) {
  return static_cast<std::uint8_t>(type_index + (owned_buffer ? ser::types().size() : 0));
}

}  // namespace fuzz
