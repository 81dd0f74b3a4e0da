#pragma once

#include <rosidl_runtime_c/message_type_support_struct.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "decoding.hpp"

namespace fuzz {

// The same for one type's two sides and a payload alone; `c_introspection` is the C member
// table that gives the canonical form.
std::string check_agreement(const Side& c, const Side& cpp,
                            const rosidl_message_type_support_t* c_introspection,
                            const std::vector<std::uint8_t>& payload, bool owned_buffer);

// The property the C and the C++ decoders must keep together for any input (see fuzz_types.hpp
// for its layout): both refuse it, or both read it and write back identical bytes, which are the
// payload's canonical form (canonical_form.hpp). Where the two may rightly differ in what they
// hold (C cuts a string at an embedded NUL, C++ keeps it whole) the writings still agree.
// Returns what broke, or an empty text.
std::string check_c_cpp_agreement(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
