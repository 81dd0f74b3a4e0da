#pragma once

// The canonical writing of a payload, worked out from the type's C introspection table alone,
// without either serialization library: the members the payload holds, written back as a
// writer of this package writes them. It is what both readers must produce for any payload they
// accept, so a fault the C and the C++ libraries share (they share their rules) still shows.
//
// What a writer normalises: padding becomes zeros, any bool octet other than 0 becomes 1, a
// string ends at its first NUL (its length prefix shrinks to match), an empty string sent as a
// bare 0 length gets its terminating NUL, nothing is written after the last member and no
// padding before the elements of an empty sequence.

#include <rosidl_runtime_c/message_type_support_struct.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace fuzz {

// `introspection` is the type's C introspection handle; the payload starts at the alignment
// origin. Empty when the payload ends before the members do.
std::optional<std::vector<std::uint8_t>> canonical_form(
    const rosidl_message_type_support_t* introspection, const std::vector<std::uint8_t>& payload);

}  // namespace fuzz
