// The C and the C++ type supports of one type are interchangeable on the wire: the same bytes
// from either, and a C writer and a C++ reader (and back) on one topic, for every structure.

#include <fastdds/rtps/common/SerializedPayload.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "catalogue.hpp"
#include "dispatch_records.hpp"
#include "inbox.hpp"
#include "peer_process.hpp"
#include "transport/message_type.hpp"
#include "transport/node.hpp"

namespace {

using namespace std::chrono_literals;
using eprosima::fastrtps::rtps::SerializedPayload_t;
using transport_test::c_support;
using transport_test::cpp_support;

constexpr uint32_t kDomain = TEST_DOMAIN;
constexpr auto kPatience = 20s;

std::vector<uint8_t> bytes(const SerializedPayload_t& payload) {
  return {payload.data, payload.data + payload.length};
}

TEST(MixedSupports, CppWritesTheBytesCWroteForEveryStructure) {
  for (const ser::TypeRow& row : ser::types()) {
    SCOPED_TRACE(row.full_name());
    const transport::MessageSupport cpp = cpp_support(row);
    ASSERT_NE(cpp.record, nullptr);
    transport::CdrMessageType c_type(c_support(row));
    transport::CdrMessageType cpp_type(cpp);
    EXPECT_STREQ(cpp_type.identifier(), "rosidl_typesupport_fastrtps_cpp");
    EXPECT_EQ(std::string(cpp_type.getName()), c_type.getName());
    EXPECT_EQ(cpp_type.m_typeSize, c_type.m_typeSize);

    std::shared_ptr<void> sent(row.create(), row.destroy);
    row.fill(sent.get(), 2);
    SerializedPayload_t from_c(c_type.getSerializedSizeProvider(sent.get())());
    ASSERT_TRUE(c_type.serialize(sent.get(), &from_c));

    transport::MessagePtr object = transport::make_message(cpp.ops);
    ASSERT_TRUE(cpp_type.deserialize(&from_c, object.get()));
    const uint32_t cpp_size = cpp_type.getSerializedSizeProvider(object.get())();
    ASSERT_GE(cpp_size, from_c.length);
    SerializedPayload_t from_cpp(cpp_size);
    ASSERT_TRUE(cpp_type.serialize(object.get(), &from_cpp));
    EXPECT_EQ(bytes(from_cpp), bytes(from_c));

    std::shared_ptr<void> back(row.create(), row.destroy);
    ASSERT_TRUE(c_type.deserialize(&from_cpp, back.get()));
    EXPECT_TRUE(row.equal(sent.get(), back.get()));
  }
}

// Every structure goes from a C writer to a C++ reader, which sends what it got back through a
// C++ writer to a C reader.
TEST(MixedSupports, CAndCppShareATopicBothWaysForEveryStructure) {
  const std::string partition = transport_test::run_partition("mixed");
  transport::Node c_node("c_side", {kDomain, partition});
  transport::Node cpp_node("cpp_side", {kDomain, partition});
  struct Route {
    const ser::TypeRow* row = nullptr;
    std::unique_ptr<transport::Publisher> c_out;
    std::unique_ptr<transport::Publisher> cpp_back;
    std::unique_ptr<transport::Subscription> cpp_in;
    transport_test::Inbox inbox;
    std::unique_ptr<transport::Subscription> c_back;
    std::shared_ptr<void> sent;
  };
  std::vector<std::unique_ptr<Route>> routes;
  for (const ser::TypeRow& row : ser::types()) {
    auto route = std::make_unique<Route>();
    Route* self = route.get();
    const std::string out = std::string("/mixed/") + row.kind + "_" + row.name;
    const std::string back = std::string("/mixed_back/") + row.kind + "_" + row.name;
    route->row = &row;
    route->c_out = std::make_unique<transport::Publisher>(c_node, out, c_support(row));
    route->cpp_back = std::make_unique<transport::Publisher>(cpp_node, back, cpp_support(row));
    route->cpp_in = std::make_unique<transport::Subscription>(
        cpp_node, out, cpp_support(row),
        [self](transport::MessagePtr message) { self->cpp_back->publish(message.get()); });
    route->c_back = std::make_unique<transport::Subscription>(c_node, back, c_support(row),
                                                              route->inbox.callback());
    routes.push_back(std::move(route));
  }
  for (auto& route : routes) {
    ASSERT_TRUE(route->c_out->wait_for_subscribers(1, kPatience)) << route->row->name;
    ASSERT_TRUE(route->cpp_back->wait_for_subscribers(1, kPatience)) << route->row->name;
  }
  for (auto& route : routes) {
    route->sent = std::shared_ptr<void>(route->row->create(), route->row->destroy);
    route->row->fill(route->sent.get(), 2);
    ASSERT_TRUE(route->c_out->publish(route->sent.get())) << route->row->name;
  }
  for (auto& route : routes) {
    SCOPED_TRACE(route->row->full_name());
    ASSERT_TRUE(route->inbox.wait_for(1, kPatience));
    const std::vector<transport::MessagePtr> received = route->inbox.take();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_TRUE(route->row->equal(route->sent.get(), received[0].get()));
  }
}

// One DDS type name has one data type per participant: a second support for it would read
// samples into objects of the wrong language.
TEST(MixedSupports, ANodeRefusesASecondSupportOfOneType) {
  const ser::TypeRow& row = ser::type("Trashes");
  transport::Node node("both", {kDomain, transport_test::run_partition("mixed_refused")});
  transport::Publisher c_publisher(node, "/c_trashes", c_support(row));
  EXPECT_THROW(
      transport::Subscription(node, "/cpp_trashes", cpp_support(row), [](transport::MessagePtr) {}),
      std::runtime_error);
  EXPECT_NO_THROW(
      transport::Subscription(node, "/c_trashes", c_support(row), [](transport::MessagePtr) {}));
}

}  // namespace
