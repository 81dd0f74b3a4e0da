#pragma once

// Sweeps over every structure of the package, reached through the dispatch library by the
// handle names a client would use.

#include <string>

#include "catalogue.hpp"
#include "transport/type_support.hpp"

namespace transport_test {

const rosidl_message_type_support_t* dispatch_record(const ser::TypeRow& row);

// The C support of a catalogue row, as the transport takes it.
transport::MessageSupport c_support(const ser::TypeRow& row);

}  // namespace transport_test
