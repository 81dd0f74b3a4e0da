#pragma once

// Sweeps over every structure of the package, reached by the handle names a client would use:
// the C side through the dispatch library, the C++ side through the C++ libraries.

#include <string>

#include "catalogue.hpp"
#include "transport/type_support.hpp"

namespace transport_test {

const rosidl_message_type_support_t* dispatch_record(const ser::TypeRow& row);

// The C support of a catalogue row, as the transport takes it.
transport::MessageSupport c_support(const ser::TypeRow& row);

// The C++ support of the same structure: the C++ fast-CDR record, and objects of the C++
// class made and released through its C++ introspection table.
transport::MessageSupport cpp_support(const ser::TypeRow& row);

}  // namespace transport_test
