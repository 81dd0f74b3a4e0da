#include "c_cpp_agreement.hpp"

#include <limits>

#include "canonical_form.hpp"
#include "decoding.hpp"
#include "fuzz_types.hpp"

namespace fuzz {

std::string check_c_cpp_agreement(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  const Choice choice = choose(data[0]);
  const ser::CppRow& row = cpp_row(choice);
  const Side c = Side::of(*choice.row);
  const Side cpp = Side::of(row);
  const std::string where = " (" + row.full_name() + ")";
  const std::vector<uint8_t> payload(data + 1, data + size);
  Message c_msg(c);
  Message cpp_msg(cpp);
  const bool c_read = read(c, payload, choice.owned_buffer, c_msg.get());
  const bool cpp_read = read(cpp, payload, choice.owned_buffer, cpp_msg.get());
  const auto expected = canonical_form(row.c_introspection(), payload);
  if (c_read != cpp_read) return (c_read ? "C reads what C++ refuses" : "C++ reads what C refuses") + where;
  if (c_read != expected.has_value()) {
    return (c_read ? "both read a payload too short for the type"
                   : "both refuse a payload that holds the type") + where;
  }
  if (!c_read) return {};
  std::vector<uint8_t> c_bytes;
  std::vector<uint8_t> cpp_bytes;
  if (std::string fault = write(c, c_msg.get(), c_bytes); !fault.empty()) return "C: " + fault + where;
  // The C++ size counts a string's characters after an embedded NUL, which are not written.
  if (std::string fault = write(cpp, cpp_msg.get(), cpp_bytes, std::numeric_limits<std::size_t>::max());
      !fault.empty()) {
    return "C++: " + fault + where;
  }
  if (c_bytes != cpp_bytes) return "C and C++ write different bytes" + where;
  if (c_bytes != *expected) return "the writing is not the payload's canonical form" + where;
  return {};
}

}  // namespace fuzz
