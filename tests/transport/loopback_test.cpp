// Nothing the project runs may reach another host: every locator its participants announce,
// for discovery and for data, must be shared memory or the loopback address.

#include <fastdds/rtps/builtin/data/ParticipantProxyData.h>
#include <fastdds/rtps/builtin/data/ReaderProxyData.h>
#include <fastdds/rtps/builtin/data/WriterProxyData.h>
#include <fastrtps/utils/IPLocator.h>
#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "c_types.hpp"
#include "inbox.hpp"
#include "peer_process.hpp"
#include "transport/node.hpp"
#include "transport/participant.hpp"
#include "transport/service.hpp"

namespace {

using namespace std::chrono_literals;
using eprosima::fastrtps::rtps::Locator_t;
using eprosima::fastrtps::rtps::RemoteLocatorList;
namespace dds = eprosima::fastdds::dds;

constexpr uint32_t kDomain = TEST_DOMAIN;
constexpr auto kPatience = 20s;

Locator_t locator(int32_t kind, const std::string& address) {
  Locator_t result;
  result.kind = kind;
  result.port = 7412;
  if (kind == LOCATOR_KIND_UDPv4 || kind == LOCATOR_KIND_TCPv4) {
    eprosima::fastrtps::rtps::IPLocator::setIPv4(result, address);
  } else if (kind == LOCATOR_KIND_UDPv6 || kind == LOCATOR_KIND_TCPv6) {
    eprosima::fastrtps::rtps::IPLocator::setIPv6(result, address);
  }
  return result;
}

TEST(Loopback, TellsLoopbackLocatorsFromOthers) {
  const struct {
    int32_t kind;
    const char* address;
    bool loopback;
  } cases[] = {
      {LOCATOR_KIND_SHM, "", true},
      {LOCATOR_KIND_UDPv4, "127.0.0.1", true},
      {LOCATOR_KIND_UDPv4, "127.3.2.1", true},
      {LOCATOR_KIND_TCPv4, "127.0.0.1", true},
      {LOCATOR_KIND_UDPv6, "::1", true},
      {LOCATOR_KIND_UDPv4, "239.255.0.1", false},  // the default discovery multicast group
      {LOCATOR_KIND_UDPv4, "192.168.1.20", false},
      {LOCATOR_KIND_UDPv4, "0.0.0.0", false},
      {LOCATOR_KIND_UDPv6, "ff1e::ffff:efff:1", false},
      {LOCATOR_KIND_INVALID, "", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(transport::is_loopback(locator(c.kind, c.address)), c.loopback)
        << c.kind << " " << c.address;
  }
}

// A participant that notes every locator the others announce.
struct Observer : dds::DomainParticipantListener {
  void on_participant_discovery(
      dds::DomainParticipant*, eprosima::fastrtps::rtps::ParticipantDiscoveryInfo&& info) override {
    std::lock_guard<std::mutex> lock(mutex);
    participants.insert(info.info.m_participantName.to_string());
    note(info.info.metatraffic_locators);
    note(info.info.default_locators);
  }
  void on_subscriber_discovery(dds::DomainParticipant*,
                               eprosima::fastrtps::rtps::ReaderDiscoveryInfo&& info) override {
    std::lock_guard<std::mutex> lock(mutex);
    ++endpoints;
    note(info.info.remote_locators());
  }
  void on_publisher_discovery(dds::DomainParticipant*,
                              eprosima::fastrtps::rtps::WriterDiscoveryInfo&& info) override {
    std::lock_guard<std::mutex> lock(mutex);
    ++endpoints;
    note(info.info.remote_locators());
  }
  void note(const RemoteLocatorList& list) {
    locators.insert(locators.end(), list.unicast.begin(), list.unicast.end());
    locators.insert(locators.end(), list.multicast.begin(), list.multicast.end());
  }

  std::mutex mutex;
  std::set<std::string> participants;
  size_t endpoints = 0;
  std::vector<Locator_t> locators;
};

TEST(Loopback, EveryParticipantAnnouncesOnlyLoopbackLocators) {
  const std::string partition = transport_test::run_partition("loopback");
  // Two watchers, so that the watchers' own announcements are checked too.
  Observer first;
  Observer second;
  transport::ParticipantPtr first_watcher =
      transport::create_participant(kDomain, "first_watcher", &first);
  transport::ParticipantPtr second_watcher =
      transport::create_participant(kDomain, "second_watcher", &second);
  // What the tests and the demo make: nodes with every kind of endpoint, in this process and
  // in others.
  transport::Node node("local_node", {kDomain, partition});
  transport_test::Inbox inbox;
  transport::Publisher publisher(node, "/trashes_out", transport_test::trashes_c());
  transport::Subscription subscription(node, "/trashes_back", transport_test::trashes_c(),
                                       inbox.callback());
  transport::ServiceClient client(node, "/detect_trash", transport_test::detect_trash_c());
  transport_test::PeerProcess echo({TRANSPORT_PEER, "echo", std::to_string(kDomain), partition,
                                    "/trashes_out", "/trashes_back", "1"});
  transport_test::PeerProcess server(
      {TRANSPORT_PEER, "serve", std::to_string(kDomain), partition, "/detect_trash", "1"});

  // The peers stay until we have talked to them, so they cannot leave unseen.
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  const auto seen_all = [](Observer& observer, const char* other_watcher) {
    std::lock_guard<std::mutex> lock(observer.mutex);
    // Our node's four endpoints and the echo's and the server's two each.
    return observer.participants.count("local_node") &&
           observer.participants.count("transport_peer") &&
           observer.participants.count(other_watcher) && observer.endpoints >= 8;
  };
  while (!seen_all(first, "second_watcher") || !seen_all(second, "first_watcher")) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the watchers did not see everyone";
    std::this_thread::sleep_for(5ms);
  }

  ASSERT_TRUE(publisher.wait_for_subscribers(1, kPatience));
  ASSERT_TRUE(subscription.wait_for_publishers(1, kPatience));
  transport::MessagePtr trashes = transport::make_message(transport_test::trashes_c().ops);
  ASSERT_TRUE(publisher.publish(trashes.get()));
  EXPECT_TRUE(inbox.wait_for(1, kPatience));
  ASSERT_TRUE(client.wait_for_service(kPatience));
  transport::MessagePtr request =
      transport::make_message(transport_test::detect_trash_c().request.ops);
  EXPECT_TRUE(client.call(request.get(), kPatience));
  EXPECT_EQ(echo.wait(kPatience), 0);
  EXPECT_EQ(server.wait(kPatience), 0);

  for (Observer* observer : {&first, &second}) {
    std::lock_guard<std::mutex> lock(observer->mutex);
    ASSERT_FALSE(observer->locators.empty());
    for (const Locator_t& seen : observer->locators)
      EXPECT_TRUE(transport::is_loopback(seen)) << seen;
  }
}

}  // namespace
