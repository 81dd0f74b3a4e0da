#pragma once

// A Fast DDS data type made from one type's fast-CDR callbacks. The data the middleware hands
// it is the message itself: a C structure or a C++ object, whichever the callbacks expect.

#include <cstdint>
#include <fastdds/dds/topic/TopicDataType.hpp>
#include <optional>
#include <string>

#include "transport/type_support.hpp"

namespace transport {

class CdrMessageType : public eprosima::fastdds::dds::TopicDataType {
 public:
  // Throws std::runtime_error when the record leads to no fast-CDR support.
  explicit CdrMessageType(const MessageSupport& support);

  bool serialize(void* data, eprosima::fastrtps::rtps::SerializedPayload_t* payload) override;
  bool deserialize(eprosima::fastrtps::rtps::SerializedPayload_t* payload, void* data) override;
  std::function<uint32_t()> getSerializedSizeProvider(void* data) override;
  void* createData() override;
  void deleteData(void* data) override;
  bool getKey(void* data, eprosima::fastrtps::rtps::InstanceHandle_t* handle,
              bool force_md5) override;

  // The serialized size of a message with its encapsulation header, or nothing when the
  // message cannot travel in one payload.
  std::optional<uint32_t> payload_size(const void* message) const;

  // A new message equal to `message`, made through its wire form: for a message that must
  // outlive its owner's call. Null when it cannot be serialized.
  MessagePtr copy(const void* message);

  bool is_unbounded() const { return unbounded_; }
  const char* identifier() const { return cdr_.identifier; }

 private:
  CdrCallbacks cdr_;
  MessageOps ops_;
  bool unbounded_ = true;
};

}  // namespace transport
