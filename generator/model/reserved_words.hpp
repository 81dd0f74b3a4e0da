#pragma once

#include <string_view>

namespace idlc {

// Whether a field name is a keyword of a language the package is generated for (C, C++ or
// Python). Such a name would make a member or an attribute that the compiler of that language
// rejects, so the definition is refused where it is written instead.
bool is_reserved_word(std::string_view name);

}  // namespace idlc
