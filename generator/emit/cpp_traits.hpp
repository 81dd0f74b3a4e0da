#pragma once

// The traits and YAML printing of the C++ message classes, part of the C++ message headers.

#include "model/model.hpp"
#include "support/generated_file.hpp"

namespace idlc::cpp_traits {

// pkg/<kind>/detail/<stem>__traits.hpp: the rosidl_generator_traits specialisations and the
// to_yaml family of every structure of the interface.
GeneratedFile traits_header(const Interface& interface);

}  // namespace idlc::cpp_traits
