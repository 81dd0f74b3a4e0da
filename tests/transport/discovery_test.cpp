// Discovery that survives participants which come and go while a node is busy: a short-lived
// participant talks to a server whose discovery thread is held, and is gone by the time the
// server reads what it sent. A client that comes afterwards must still be answered.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <fastdds/dds/domain/DomainParticipantListener.hpp>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "c_types.hpp"
#include "peer_process.hpp"
#include "transport/service.hpp"

namespace {

using namespace std::chrono_literals;
namespace dds = eprosima::fastdds::dds;
using eprosima::fastrtps::rtps::WriterDiscoveryInfo;

constexpr uint32_t kDomain = TEST_DOMAIN;
constexpr auto kPatience = 20s;

// Holds the discovery thread that tells of a writer on the given topic, as a slow listener
// callback (or a starved core) would, until released.
class DiscoveryGate : public dds::DomainParticipantListener {
 public:
  explicit DiscoveryGate(std::string topic) : topic_(std::move(topic)) {}

  void on_publisher_discovery(dds::DomainParticipant*, WriterDiscoveryInfo&& info) override {
    if (info.status != WriterDiscoveryInfo::DISCOVERED_WRITER ||
        info.info.topicName().to_string() != topic_) {
      return;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    held_ = true;
    changed_.notify_all();
    // Not longer than a lease: a participant held longer drops out of the others' view.
    changed_.wait_for(lock, 3s, [&] { return released_; });
  }

  bool wait_until_held() {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] { return held_; });
  }

  void release() {
    std::lock_guard<std::mutex> lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }

 private:
  const std::string topic_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool held_ = false;
  bool released_ = false;
};

TEST(Discovery, AServerHeldBusyWhileAStrangerComesAndGoesStillAnswersNewClients) {
  constexpr int kCalls = 3;
  const std::string partition = transport_test::run_partition("discovery_gate");
  // Names of this run only: copies of this test in the same domain must not hold each other.
  const std::string run = std::to_string(getpid());
  const std::string hold_topic = "/hold_" + run;
  const std::string server_name = "server_" + run;
  DiscoveryGate gate("rt" + hold_topic);
  transport::NodeOptions server_options{kDomain, partition};
  server_options.discovery_listener = &gate;
  transport::Node server_node(server_name, server_options);
  transport::ServiceServer server(server_node, "/detect_trash", transport_test::detect_trash_c(),
                                  [](transport::ServiceServer& self, transport::MessagePtr request,
                                     const transport::RequestId& id) {
                                    self.send_reply(
                                        id, transport_test::answer_detect_trash(request).get());
                                  });

  // One visitor holds the server's discovery thread with its writer; meanwhile another talks
  // to the server and leaves. Only then does the client come.
  const auto visit = [&](const std::string& topic, const char* milliseconds) {
    return std::vector<std::string>{TRANSPORT_PEER, "visit", std::to_string(kDomain), "elsewhere",
                                    topic, server_name, milliseconds};
  };
  transport_test::PeerProcess holder(visit(hold_topic, "1500"));
  ASSERT_TRUE(gate.wait_until_held()) << "the server never heard of the holder's writer";
  transport_test::PeerProcess stranger(visit("/stranger_" + run, "20"));
  ASSERT_EQ(stranger.wait(kPatience), 0);
  gate.release();
  ASSERT_EQ(holder.wait(kPatience), 0);

  transport::Node client_node("client", {kDomain, partition});
  transport::ServiceClient client(client_node, "/detect_trash", transport_test::detect_trash_c());
  ASSERT_TRUE(client.wait_for_service(10s)) << "the server's discovery has gone deaf";
  int answered = 0;
  for (int i = 0; i < kCalls; ++i) {
    transport::MessagePtr request =
        transport::make_message(transport_test::detect_trash_c().request.ops);
    if (client.call(request.get(), 5s)) ++answered;
  }
  EXPECT_EQ(answered, kCalls);
}

}  // namespace
