// Publishing and subscribing through the middleware with the C type support: every structure
// of the package, a long burst to another process and back, and a hostile sample.

#include <gtest/gtest.h>

#include <fastdds/dds/domain/DomainParticipant.hpp>
#include <fastdds/dds/publisher/DataWriter.hpp>
#include <fastdds/dds/publisher/Publisher.hpp>
#include <fastdds/dds/publisher/qos/DataWriterQos.hpp>
#include <fastdds/dds/topic/TopicDataType.hpp>
#include <fastdds/dds/topic/TypeSupport.hpp>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "c_types.hpp"
#include "dispatch_records.hpp"
#include "inbox.hpp"
#include "log_capture.hpp"
#include "peer_process.hpp"
#include "transport/names.hpp"
#include "transport/node.hpp"
#include "transport/participant.hpp"

namespace {

using namespace std::chrono_literals;
using transport_test::Inbox;
namespace dds = eprosima::fastdds::dds;

constexpr uint32_t kDomain = TEST_DOMAIN;
constexpr auto kPatience = 20s;

transport::NodeOptions options(const std::string& partition) { return {kDomain, partition}; }

const corvanthelis_interfaces__msg__Trashes& trashes(const transport::MessagePtr& message) {
  return *static_cast<const corvanthelis_interfaces__msg__Trashes*>(message.get());
}

TEST(PublishSubscribe, EveryStructureTravelsBetweenTwoNodesUnchanged) {
  const std::string partition = transport_test::run_partition("every_structure");
  transport::Node writer_node("writer", options(partition));
  transport::Node reader_node("reader", options(partition));
  struct Route {
    const ser::TypeRow* row;
    std::unique_ptr<transport::Publisher> publisher;
    Inbox inbox;
    std::unique_ptr<transport::Subscription> subscription;
  };
  std::vector<std::unique_ptr<Route>> routes;
  for (const ser::TypeRow& row : ser::types()) {
    auto route = std::make_unique<Route>();
    const std::string topic = std::string("/every/") + row.kind + "_" + row.name;
    route->row = &row;
    route->publisher =
        std::make_unique<transport::Publisher>(writer_node, topic, transport_test::c_support(row));
    route->subscription = std::make_unique<transport::Subscription>(
        reader_node, topic, transport_test::c_support(row), route->inbox.callback());
    routes.push_back(std::move(route));
  }
  for (auto& route : routes)
    ASSERT_TRUE(route->publisher->wait_for_subscribers(1, kPatience)) << route->row->name;

  std::map<const ser::TypeRow*, std::shared_ptr<void>> sent;
  for (auto& route : routes) {
    std::shared_ptr<void> message(route->row->create(), route->row->destroy);
    route->row->fill(message.get(), 2);
    ASSERT_TRUE(route->publisher->publish(message.get())) << route->row->name;
    sent[route->row] = message;
  }
  for (auto& route : routes) {
    SCOPED_TRACE(route->row->full_name());
    ASSERT_TRUE(route->inbox.wait_for(1, kPatience));
    const std::vector<transport::MessagePtr> received = route->inbox.take();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_TRUE(route->row->equal(sent[route->row].get(), received[0].get()));
  }
}

TEST(PublishSubscribe, AThousandRandomTrashesGoToAnotherProcessAndComeBackInOrder) {
  constexpr size_t kCount = 1000;
  const std::string partition = transport_test::run_partition("thousand_trashes");
  transport::Node node("origin", options(partition));
  Inbox inbox;
  transport::Subscription back(node, "/trashes_back", transport_test::trashes_c(),
                               inbox.callback());
  transport::Publisher out(node, "/trashes_out", transport_test::trashes_c());
  transport_test::PeerProcess peer({TRANSPORT_PEER, "echo", std::to_string(kDomain), partition,
                                    "/trashes_out", "/trashes_back", std::to_string(kCount)});
  ASSERT_TRUE(out.wait_for_subscribers(1, kPatience));
  ASSERT_TRUE(back.wait_for_publishers(1, kPatience));

  std::mt19937_64 random(20240611);
  std::vector<transport::MessagePtr> sent;
  for (size_t i = 0; i < kCount; ++i) {
    sent.push_back(transport::make_message(transport_test::trashes_c().ops));
    auto& message = *static_cast<corvanthelis_interfaces__msg__Trashes*>(sent.back().get());
    transport_test::fill_random(message, random);
    message.header.stamp.sec = static_cast<int32_t>(i);  // names the sample in a failure
    ASSERT_TRUE(out.publish(&message)) << "sample " << i;
  }
  ASSERT_TRUE(inbox.wait_for(kCount, kPatience));
  EXPECT_EQ(peer.wait(kPatience), 0);
  const std::vector<transport::MessagePtr> received = inbox.take();
  ASSERT_EQ(received.size(), kCount);
  for (size_t i = 0; i < kCount; ++i) {
    ASSERT_TRUE(
        corvanthelis_interfaces__msg__Trashes__are_equal(&trashes(sent[i]), &trashes(received[i])))
        << "sample " << i << " came back as sample " << trashes(received[i]).header.stamp.sec;
  }
}

// Sends whatever bytes it is given, under the name of the type it impersonates.
class RawBytesType : public dds::TopicDataType {
 public:
  explicit RawBytesType(const std::string& name) {
    setName(name.c_str());
    m_typeSize = 1024;
    m_isGetKeyDefined = false;
    auto_fill_type_object(false);
    auto_fill_type_information(false);
  }
  bool serialize(void* data, eprosima::fastrtps::rtps::SerializedPayload_t* payload) override {
    const auto& bytes = *static_cast<const std::vector<uint8_t>*>(data);
    if (bytes.size() > payload->max_size) return false;
    std::copy(bytes.begin(), bytes.end(), payload->data);
    payload->length = static_cast<uint32_t>(bytes.size());
    return true;
  }
  bool deserialize(eprosima::fastrtps::rtps::SerializedPayload_t*, void*) override { return false; }
  std::function<uint32_t()> getSerializedSizeProvider(void* data) override {
    return [data] {
      return static_cast<uint32_t>(static_cast<const std::vector<uint8_t>*>(data)->size());
    };
  }
  void* createData() override { return new std::vector<uint8_t>(); }
  void deleteData(void* data) override { delete static_cast<std::vector<uint8_t>*>(data); }
  bool getKey(void*, eprosima::fastrtps::rtps::InstanceHandle_t*, bool) override { return false; }
};

// The bytes of a Trashes with an empty header and one element, then a count of the given value.
std::vector<uint8_t> hostile_trashes(uint32_t count) {
  std::vector<uint8_t> bytes = {0x00, 0x01, 0x00, 0x00,               // encapsulation
                                0,    0,    0,    0,    0, 0, 0, 0,   // stamp
                                1,    0,    0,    0,    0, 0, 0, 0};  // frame_id "" and padding
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(count >> shift));
  bytes.resize(bytes.size() + 40, 0x7F);  // far less than `count` elements
  return bytes;
}

TEST(PublishSubscribe, AMalformedSampleIsDroppedWithAReasonAndTheReaderKeepsWorking) {
  const std::string partition = transport_test::run_partition("malformed");
  transport_test::LogCapture log;
  transport::Node node("reader", options(partition));
  Inbox inbox;
  transport::Subscription subscription(node, "/trashes", transport_test::trashes_c(),
                                       inbox.callback());

  // A writer that is no node of ours: the middleware itself, fed hand-made bytes.
  transport::ParticipantPtr participant = transport::create_participant(kDomain, "hostile");
  dds::PublisherQos publisher_qos = participant->get_default_publisher_qos();
  publisher_qos.partition().push_back(partition.c_str());
  dds::Publisher* publisher = participant->create_publisher(publisher_qos);
  dds::TypeSupport type(new RawBytesType("corvanthelis_interfaces::msg::dds_::Trashes_"));
  ASSERT_EQ(participant->register_type(type), ReturnCode_t::RETCODE_OK);
  dds::Topic* topic =
      participant->create_topic(transport::names::topic("/trashes"), type.get_type_name(),
                                participant->get_default_topic_qos());
  dds::DataWriterQos writer_qos = publisher->get_default_datawriter_qos();
  writer_qos.reliability().kind = dds::RELIABLE_RELIABILITY_QOS;
  writer_qos.history().kind = dds::KEEP_ALL_HISTORY_QOS;
  dds::DataWriter* writer = publisher->create_datawriter(topic, writer_qos);
  ASSERT_NE(writer, nullptr);
  ASSERT_TRUE(subscription.wait_for_publishers(1, kPatience));
  // Both ends must know each other, or a volatile reader misses what was written before.
  dds::PublicationMatchedStatus matched;
  for (auto deadline = std::chrono::steady_clock::now() + kPatience;
       writer->get_publication_matched_status(matched) == ReturnCode_t::RETCODE_OK &&
       matched.current_count == 0;) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline);
    std::this_thread::sleep_for(2ms);
  }

  std::vector<uint8_t> huge_count = hostile_trashes(0xFFFFFFFFu);
  std::vector<uint8_t> truncated = hostile_trashes(1);
  truncated.resize(truncated.size() - 1);
  std::vector<uint8_t> good = hostile_trashes(0);
  good.resize(28);
  ASSERT_TRUE(writer->write(&huge_count));
  ASSERT_TRUE(writer->write(&truncated));
  ASSERT_TRUE(writer->write(&good));

  ASSERT_TRUE(inbox.wait_for(1, kPatience));
  const std::vector<transport::MessagePtr> received = inbox.take();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(trashes(received[0]).trashes.size, 0u);
  size_t dropped = 0;
  for (const std::string& line : log.lines()) {
    dropped += line.find("dropped a malformed corvanthelis_interfaces::msg::dds_::Trashes_") !=
               std::string::npos;
  }
  EXPECT_EQ(dropped, 2u);
}

}  // namespace
