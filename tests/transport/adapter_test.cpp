// The data type the middleware sees, over every structure of the package: its DDS name, its
// sizes, and the payloads it writes and reads, against the C support's own bytes.

#include <fastdds/rtps/common/SerializedPayload.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "catalogue.hpp"
#include "dispatch_records.hpp"
#include "log_capture.hpp"
#include "transport/message_type.hpp"

namespace {

using eprosima::fastrtps::rtps::SerializedPayload_t;
using transport_test::c_support;
using transport_test::dispatch_record;
using transport_test::LogCapture;

struct Message {
  explicit Message(const ser::TypeRow& row) : row(row), data(row.create()) {}
  ~Message() { row.destroy(data); }
  const ser::TypeRow& row;
  void* data;
};

TEST(CdrMessageType, NamesAndSizesEveryTypeTheWayHumbleDoes) {
  for (const ser::TypeRow& row : ser::types()) {
    SCOPED_TRACE(row.full_name());
    ASSERT_NE(dispatch_record(row), nullptr);
    transport::CdrMessageType type(c_support(row));
    EXPECT_EQ(std::string(type.getName()),
              std::string("corvanthelis_interfaces::") + row.kind + "::dds_::" + row.name + "_");
    EXPECT_STREQ(type.identifier(), "rosidl_typesupport_fastrtps_c");
    EXPECT_GT(type.m_typeSize, 0u);
    EXPECT_EQ(type.is_unbounded(), row.bounds_class == 0);
    if (!type.is_unbounded()) {
      EXPECT_EQ(type.m_typeSize, row.max_at_zero + 4);
    }
  }
}

TEST(CdrMessageType, WritesTheSupportsBytesAfterTheHeaderWithZeroedPaddingAndReadsThemBack) {
  for (const ser::TypeRow& row : ser::types()) {
    for (int variant = 0; variant <= 2; ++variant) {
      SCOPED_TRACE(row.full_name() + " variant " + std::to_string(variant));
      transport::CdrMessageType type(c_support(row));
      Message sent(row);
      row.fill(sent.data, variant);
      const std::vector<uint8_t> body = ser::write(row, sent.data);

      // The size callback may reserve alignment an empty sequence never uses; never less.
      const uint32_t size = type.getSerializedSizeProvider(sent.data)();
      ASSERT_GE(size, body.size() + 4);
      SerializedPayload_t payload(size);
      std::memset(payload.data, 0xAA, payload.max_size);  // what an earlier sample left
      ASSERT_TRUE(type.serialize(sent.data, &payload));
      ASSERT_EQ(payload.length, body.size() + 4);
      const std::vector<uint8_t> header(payload.data, payload.data + 4);
      EXPECT_EQ(header, (std::vector<uint8_t>{0x00, 0x01, 0x00, 0x00}));
      EXPECT_EQ(std::vector<uint8_t>(payload.data + 4, payload.data + payload.length), body);

      Message received(row);
      ASSERT_TRUE(type.deserialize(&payload, received.data));
      EXPECT_TRUE(row.equal(sent.data, received.data));
    }
  }
}

TEST(CdrMessageType, RefusesShortPayloadsAndTruncatedSamplesWithAReason) {
  for (const ser::TypeRow& row : ser::types()) {
    SCOPED_TRACE(row.full_name());
    transport::CdrMessageType type(c_support(row));
    Message sent(row);
    row.fill(sent.data, 2);
    const uint32_t size = type.getSerializedSizeProvider(sent.data)();

    LogCapture log;
    SerializedPayload_t short_payload(size - 1);
    EXPECT_FALSE(type.serialize(sent.data, &short_payload));
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find("not sending"), std::string::npos) << log.lines()[0];

    SerializedPayload_t payload(size);
    ASSERT_TRUE(type.serialize(sent.data, &payload));
    const std::set<uint32_t> cuts = {payload.length - 1, payload.length / 2, 2u};
    for (const uint32_t cut : cuts) {
      SerializedPayload_t truncated(size);
      std::memcpy(truncated.data, payload.data, cut);
      truncated.length = cut;
      Message received(row);
      EXPECT_FALSE(type.deserialize(&truncated, received.data)) << "cut at " << cut;
    }
    const std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), 1 + cuts.size());
    EXPECT_NE(lines[1].find("dropped a malformed " + std::string(type.getName())),
              std::string::npos)
        << lines[1];
  }
}

TEST(CdrMessageType, RefusesARecordWithoutFastCdrSupport) {
  static const rosidl_message_type_support_t foreign = {"some_other_support", nullptr,
                                                        get_message_typesupport_handle_function};
  EXPECT_THROW(transport::CdrMessageType(transport::MessageSupport{&foreign, {}}),
               std::runtime_error);
}

}  // namespace
