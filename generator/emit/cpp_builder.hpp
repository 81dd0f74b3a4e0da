#pragma once

// The builders of the C++ message classes, part of the C++ message headers.

#include "model/model.hpp"
#include "support/generated_file.hpp"

namespace idlc::cpp_builder {

// pkg/<kind>/detail/<stem>__builder.hpp: for every structure of the interface,
// pkg::build<T>() and one step per field, each naming the next field in order; the last step
// yields the message, so a message built this way has every field set.
GeneratedFile builder_header(const Interface& interface);

}  // namespace idlc::cpp_builder
