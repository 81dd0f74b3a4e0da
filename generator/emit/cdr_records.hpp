#pragma once

// The records through which the middleware reaches a type's serialization: the callbacks
// record, the message type-support record and its handle, and the same for services. The C
// and the C++ library fill the same record types by the same rules and differ only in the
// entries they plug in and the identifier they stamp.

#include <string>

#include "model/model.hpp"
#include "support/code_writer.hpp"

namespace idlc::cdr {

struct MessageRecord {
  std::string serialize;     // entry bool (const void *, eprosima::fastcdr::Cdr &)
  std::string deserialize;   // entry bool (eprosima::fastcdr::Cdr &, void *)
  std::string size_at_zero;  // the exact size of `untyped_ros_message` at position 0
  std::string max_size;      // size_t (bool & full_bounded, bool & is_plain, size_t)
  std::string identifier;    // the support's identifier variable, read when the library loads
  std::string handle;        // the exported handle function, C linkage
};

struct ServiceRecord {
  std::string identifier;
  std::string request_handle;  // C-linkage message handles, called when the library loads
  std::string response_handle;
  std::string handle;
};

// Both are written inside an extern "C" block: the callbacks are static, the handle exported.
void write_message_record(CodeWriter& out, const Structure& structure, const MessageRecord& record);
void write_service_record(CodeWriter& out, const Interface& interface, const Service& service,
                          const ServiceRecord& record);

}  // namespace idlc::cdr
