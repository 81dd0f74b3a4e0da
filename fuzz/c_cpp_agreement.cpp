#include "c_cpp_agreement.hpp"

#include <limits>

#include "canonical_form.hpp"
#include "decoding.hpp"
#include "fuzz_types.hpp"

namespace fuzz {

std::string check_agreement(const Side& c, const Side& cpp,
                            const rosidl_message_type_support_t* c_introspection,
                            const std::vector<std::uint8_t>& payload, bool owned_buffer) {
  Message c_msg(c);
  Message cpp_msg(cpp);
  const bool c_read = read(c, payload, owned_buffer, c_msg.get());
  const bool cpp_read = read(cpp, payload, owned_buffer, cpp_msg.get());
  const auto expected = canonical_form(c_introspection, payload);
  if (c_read != cpp_read) return c_read ? "C reads what C++ refuses" : "C++ reads what C refuses";
  if (c_read != expected.has_value()) {
    return c_read ? "both read a payload too short for the type"
                  : "both refuse a payload that holds the type";
  }
  if (!c_read) return {};
  std::vector<uint8_t> c_bytes;
  std::vector<uint8_t> cpp_bytes;
  if (std::string fault = write(c, c_msg.get(), c_bytes); !fault.empty()) return "C: " + fault;
  // The C++ size counts a string's characters after an embedded NUL, which are not written.
  if (std::string fault = write(cpp, cpp_msg.get(), cpp_bytes, std::numeric_limits<std::size_t>::max());
      !fault.empty()) {
    return "C++: " + fault;
  }
  if (c_bytes != cpp_bytes) return "C and C++ write different bytes";
  if (c_bytes != *expected) return "the writing is not the payload's canonical form";
  return {};
}

std::string check_c_cpp_agreement(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  const Choice choice = choose(data[0]);
  const ser::CppRow& row = cpp_row(choice);
  const std::string fault =
      check_agreement(Side::of(*choice.row), Side::of(row), row.c_introspection(),
                      std::vector<uint8_t>(data + 1, data + size), choice.owned_buffer);
  return fault.empty() ? fault : fault + " (" + row.full_name() + ")";
}

}  // namespace fuzz
