#include "fuzz_types.hpp"

#include <cstdlib>
#include <vector>

namespace fuzz {

Choice choose(std::uint8_t selector) {
  const auto& rows = ser::types();
  const std::size_t index = selector % rows.size();
  return {&rows[index], index, (selector / rows.size()) % 2 == 1};
}

const ser::CppRow& cpp_row(const Choice& choice) {
  // The C++ catalogue keeps its own order; the type is the one of the same full name.
  static const std::vector<const ser::CppRow*> by_c_index = [] {
    std::vector<const ser::CppRow*> rows;
    for (const ser::TypeRow& row : ser::types()) {
      rows.push_back(&ser::cpp_type(row.name));
      if (rows.back()->full_name() != row.full_name()) std::abort();
    }
    return rows;
  }();
  return *by_c_index[choice.index];
}

std::uint8_t selector(std::size_t type_index, bool owned_buffer) {
  return static_cast<std::uint8_t>(type_index + (owned_buffer ? ser::types().size() : 0));
}

}  // namespace fuzz
