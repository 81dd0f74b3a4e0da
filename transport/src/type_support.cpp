#include "transport/type_support.hpp"

#include <cstring>
#include <new>
#include <stdexcept>

#include "rcutils/error_handling.h"
#include "rosidl_typesupport_fastrtps_c/identifier.h"
#include "rosidl_typesupport_fastrtps_cpp/identifier.hpp"
#include "rosidl_typesupport_fastrtps_cpp/service_type_support.h"

namespace transport {
namespace {

// A failed lookup leaves its reason in rcutils' error state; the next attempt must not find it.
std::string take_error() {
  std::string text = rcutils_error_is_set() ? rcutils_get_error_string().str : "";
  rcutils_reset_error();
  return text;
}

const char* const* fast_cdr_identifiers() {
  static const char* const identifiers[] = {
      rosidl_typesupport_fastrtps_c__identifier,
      rosidl_typesupport_fastrtps_cpp::typesupport_identifier};
  return identifiers;
}

template <typename Record, typename Lookup>
std::pair<const Record*, const char*> find_fast_cdr(const Record* record, Lookup lookup,
                                                    std::string& reasons) {
  if (record == nullptr || record->func == nullptr) {
    throw std::runtime_error("no type-support record, or one without a lookup function");
  }
  for (size_t i = 0; i < 2; ++i) {
    const char* identifier = fast_cdr_identifiers()[i];
    const Record* found = lookup(record, identifier);
    if (found != nullptr && found->data != nullptr && found->typesupport_identifier != nullptr &&
        std::strcmp(found->typesupport_identifier, identifier) == 0) {
      return {found, identifier};
    }
    const std::string reason = take_error();
    if (!reason.empty()) reasons += "; " + reason;
  }
  return {nullptr, nullptr};
}

}  // namespace

MessagePtr make_message(const MessageOps& ops) {
  void* message = ops.create();
  if (message == nullptr) throw std::bad_alloc();
  return MessagePtr(message, ops.destroy);
}

CdrCallbacks resolve_callbacks(const rosidl_message_type_support_t* record) {
  std::string reasons;
  const auto [found, identifier] = find_fast_cdr(record, get_message_typesupport_handle, reasons);
  if (found == nullptr) {
    throw std::runtime_error("the type support of '" + std::string(record->typesupport_identifier) +
                             "' leads to no fast-CDR support" + reasons);
  }
  const auto* callbacks = static_cast<const message_type_support_callbacks_t*>(found->data);
  if (callbacks->cdr_serialize == nullptr || callbacks->cdr_deserialize == nullptr ||
      callbacks->get_serialized_size == nullptr || callbacks->max_serialized_size == nullptr ||
      callbacks->message_namespace_ == nullptr || callbacks->message_name_ == nullptr) {
    throw std::runtime_error(std::string("the ") + identifier + " record is incomplete");
  }
  return {callbacks, identifier};
}

ServiceSupport service_support(const rosidl_service_type_support_t* record, MessageOps request,
                               MessageOps response) {
  std::string reasons;
  const auto [found, identifier] = find_fast_cdr(record, get_service_typesupport_handle, reasons);
  if (found == nullptr) {
    throw std::runtime_error("the service type support leads to no fast-CDR support" + reasons);
  }
  const auto* callbacks = static_cast<const service_type_support_callbacks_t*>(found->data);
  if (callbacks->request_members_ == nullptr || callbacks->response_members_ == nullptr) {
    throw std::runtime_error(std::string("the ") + identifier + " service record is incomplete");
  }
  return {{callbacks->request_members_, std::move(request)},
          {callbacks->response_members_, std::move(response)}};
}

}  // namespace transport
