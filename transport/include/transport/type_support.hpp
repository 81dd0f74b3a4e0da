#pragma once

// Finds a type's fast-CDR callbacks the way a middleware layer does: by asking the record it
// was given for the C support, then for the C++ one. The record may be a package's dispatch
// record or the support's own record.

#include <functional>
#include <memory>
#include <string>

#include "rosidl_runtime_c/message_type_support_struct.h"
#include "rosidl_runtime_c/service_type_support_struct.h"
#include "rosidl_typesupport_fastrtps_cpp/message_type_support.h"

namespace transport {

// How the language that owns a message makes and frees one: __create/__destroy for a C
// structure, new/delete for a C++ class, the capsules of a Python class.
struct MessageOps {
  std::function<void*()> create;
  std::function<void(void*)> destroy;
};

// A message that frees itself through the ops that made it.
using MessagePtr = std::unique_ptr<void, std::function<void(void*)>>;

MessagePtr make_message(const MessageOps& ops);

// What the transport needs of one type: its record and how to make its messages.
struct MessageSupport {
  const rosidl_message_type_support_t* record = nullptr;
  MessageOps ops;
};

// The fast-CDR callbacks of one type, and the identifier of the support they came from.
struct CdrCallbacks {
  const message_type_support_callbacks_t* callbacks = nullptr;
  const char* identifier = nullptr;
};

// Throws std::runtime_error when the record leads to neither fast-CDR support.
CdrCallbacks resolve_callbacks(const rosidl_message_type_support_t* record);

struct ServiceSupport {
  MessageSupport request;
  MessageSupport response;
};

// A service's two message supports from its record (dispatch or fast-CDR). Throws
// std::runtime_error when the record leads to neither fast-CDR support.
ServiceSupport service_support(const rosidl_service_type_support_t* record, MessageOps request,
                               MessageOps response);

}  // namespace transport
