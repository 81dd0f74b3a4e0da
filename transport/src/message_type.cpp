#include "transport/message_type.hpp"

#include <fastcdr/Cdr.h>
#include <fastcdr/FastBuffer.h>
#include <fastcdr/exceptions/Exception.h>

#include <cstring>
#include <exception>
#include <limits>

#include "transport/log.hpp"
#include "transport/names.hpp"

namespace transport {
namespace {

using eprosima::fastcdr::Cdr;
using eprosima::fastcdr::FastBuffer;
using eprosima::fastrtps::rtps::SerializedPayload_t;

constexpr uint32_t kEncapsulationSize = 4;
// Where a type without a bound starts its payloads; each sample then gets what it needs.
constexpr uint32_t kUnboundedStartSize = 512;

}  // namespace

CdrMessageType::CdrMessageType(const MessageSupport& support)
    : cdr_(resolve_callbacks(support.record)), ops_(support.ops) {
  setName(
      names::dds_type(cdr_.callbacks->message_namespace_, cdr_.callbacks->message_name_).c_str());
  char bounds = ROSIDL_TYPESUPPORT_FASTRTPS_UNBOUNDED_TYPE;
  const size_t max_size = cdr_.callbacks->max_serialized_size(bounds);
  // A zero type size breaks the middleware's payload pool; a bounded type whose bound is
  // beyond any payload is sized per sample like an unbounded one.
  unbounded_ = bounds == ROSIDL_TYPESUPPORT_FASTRTPS_UNBOUNDED_TYPE ||
               max_size > std::numeric_limits<uint32_t>::max() / 2;
  m_typeSize =
      unbounded_ ? kUnboundedStartSize : static_cast<uint32_t>(max_size) + kEncapsulationSize;
  m_isGetKeyDefined = false;
  auto_fill_type_object(false);
  auto_fill_type_information(false);
}

std::optional<uint32_t> CdrMessageType::payload_size(const void* message) const {
  const uint32_t size = cdr_.callbacks->get_serialized_size(message);
  if (size > std::numeric_limits<uint32_t>::max() - kEncapsulationSize) return std::nullopt;
  return size + kEncapsulationSize;
}

bool CdrMessageType::serialize(void* data, SerializedPayload_t* payload) {
  const std::string type_name = getName();
  std::string reason;
  try {
    const std::optional<uint32_t> needed = payload_size(data);
    if (!needed || *needed > payload->max_size) {
      log("not sending a " + type_name + ": it needs " +
          (needed ? std::to_string(*needed) : std::string("more than 4 GiB")) +
          " bytes, the payload has " + std::to_string(payload->max_size));
      return false;
    }
    // Padding between members is skipped, not written: without this, earlier samples'
    // bytes would travel in it.
    std::memset(payload->data, 0, *needed);
    FastBuffer buffer(reinterpret_cast<char*>(payload->data), payload->max_size);
    Cdr cdr(buffer, Cdr::LITTLE_ENDIANNESS, Cdr::DDS_CDR);
    cdr.serialize_encapsulation();
    if (cdr_.callbacks->cdr_serialize(data, cdr)) {
      payload->length = static_cast<uint32_t>(cdr.getSerializedDataLength());
      payload->encapsulation = CDR_LE;
      return true;
    }
    reason = "the type support refused to serialize it";
  } catch (const eprosima::fastcdr::exception::Exception& error) {
    reason = error.what();
  } catch (const std::exception& error) {
    reason = error.what();
  }
  log("not sending a " + type_name + ": " + reason);
  return false;
}

bool CdrMessageType::deserialize(SerializedPayload_t* payload, void* data) {
  std::string reason;
  try {
    FastBuffer buffer(reinterpret_cast<char*>(payload->data), payload->length);
    Cdr cdr(buffer, Cdr::DEFAULT_ENDIAN, Cdr::DDS_CDR);
    cdr.read_encapsulation();
    if (cdr_.callbacks->cdr_deserialize(cdr, data)) return true;
    reason = "the type support rejected it";
  } catch (const eprosima::fastcdr::exception::Exception& error) {
    reason = error.what();
  } catch (const std::exception& error) {
    reason = error.what();
  }
  log("dropped a malformed " + std::string(getName()) + " of " + std::to_string(payload->length) +
      " bytes: " + reason);
  return false;
}

std::function<uint32_t()> CdrMessageType::getSerializedSizeProvider(void* data) {
  // The middleware calls this outside any handler of ours: nothing may escape. A message that
  // cannot be sized gets a minimal payload, and serialize() then refuses it with the reason.
  return [this, data]() -> uint32_t {
    try {
      return payload_size(data).value_or(kEncapsulationSize);
    } catch (const std::exception&) {
      return kEncapsulationSize;
    }
  };
}

MessagePtr CdrMessageType::copy(const void* message) {
  const std::optional<uint32_t> size = payload_size(message);
  if (!size) return MessagePtr();
  SerializedPayload_t payload(*size);
  // serialize() only reads the message; the middleware's signature is not const-correct.
  if (!serialize(const_cast<void*>(message), &payload)) return MessagePtr();
  MessagePtr copied = make_message(ops_);
  if (!deserialize(&payload, copied.get())) return MessagePtr();
  return copied;
}

void* CdrMessageType::createData() { return ops_.create ? ops_.create() : nullptr; }

void CdrMessageType::deleteData(void* data) {
  if (ops_.destroy && data != nullptr) ops_.destroy(data);
}

bool CdrMessageType::getKey(void*, eprosima::fastrtps::rtps::InstanceHandle_t*, bool) {
  return false;
}

}  // namespace transport
