#include "every_kind_agreement.hpp"

#include <vector>

#include "c_cpp_agreement.hpp"

namespace fuzz {

std::string check_every_kind_agreement(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  const auto& rows = ser::every_kind::rows();
  const ser::every_kind::Row& row = rows[data[0] % rows.size()];
  const bool owned_buffer = (data[0] / rows.size()) % 2 == 1;
  const std::string fault =
      check_agreement(Side::of(row.c), Side::of(row.cpp), row.c.introspection(),
                      std::vector<std::uint8_t>(data + 1, data + size), owned_buffer);
  return fault.empty() ? fault : fault + " (" + row.name + ")";
}

std::uint8_t every_kind_selector(std::size_t index, bool owned_buffer) {
  return static_cast<std::uint8_t>(index + (owned_buffer ? ser::every_kind::rows().size() : 0));
}

}  // namespace fuzz
