#include "c_decoders.hpp"

#include "decoding.hpp"
#include "fuzz_types.hpp"

namespace fuzz {

std::string check_c_decoders(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  const Choice choice = choose(data[0]);
  const Side side = Side::of(*choice.row);
  Message first(side);
  if (!read(side, std::vector<uint8_t>(data + 1, data + size), choice.owned_buffer, first.get())) {
    return {};
  }
  std::vector<uint8_t> canonical;
  if (std::string fault = check_written_reads_back(side, first.get(), canonical); !fault.empty()) {
    return fault + " (" + choice.row->full_name() + ")";
  }
  return {};
}

}  // namespace fuzz
