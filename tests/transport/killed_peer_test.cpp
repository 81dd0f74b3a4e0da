// A peer killed with SIGKILL in the middle of a stream and of a call, as a crash ends it: the
// other side notices and says so, and talks again to the peer started anew while what the
// killed one left in /dev/shm may still be there; the test removes it at the end.

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>

#include "c_types.hpp"
#include "inbox.hpp"
#include "log_capture.hpp"
#include "peer_process.hpp"
#include "shm_files.hpp"
#include "transport/service.hpp"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr uint32_t kDomain = TEST_DOMAIN;
constexpr auto kPatience = 20s;
// A killed participant is dropped once its lease (5 s) has run out.
constexpr auto kNoticed = 10s;

std::vector<std::string> peer(const char* mode, const std::string& partition,
                              std::vector<std::string> rest) {
  std::vector<std::string> words = {TRANSPORT_PEER, mode, std::to_string(kDomain), partition};
  words.insert(words.end(), rest.begin(), rest.end());
  return words;
}

bool logged(const transport_test::LogCapture& capture, const std::string& part) {
  for (const std::string& line : capture.lines()) {
    if (line.find(part) != std::string::npos) return true;
  }
  return false;
}

// What the killed peer left, removed once the test's own node is gone too: a node that goes on
// sending to the dead peer makes its port file again, with no owner.
void clear(const std::set<std::string>& killed_files) {
  transport_test::remove_if_owner_gone(killed_files);
}

TEST(KilledPeer, AStreamResumesWhenItsKilledPublisherStartsAgain) {
  std::set<std::string> killed_files;
  {
    const std::string partition = transport_test::run_partition("killed_stream");
    transport_test::LogCapture capture;
    transport::Node node("listener", {kDomain, partition});
    transport_test::Inbox inbox;
    transport::Subscription subscription(node, "/stream", transport_test::trashes_c(),
                                         inbox.callback());
    transport_test::PeerProcess publisher(peer("stream", partition, {"/stream", "0"}));
    ASSERT_TRUE(inbox.wait_for(10, kPatience));
    publisher.kill();
    const auto gone = [&] { return subscription.publisher_count() == 0; };
    const auto deadline = Clock::now() + kNoticed;
    while (!gone() && Clock::now() < deadline) std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(gone()) << "the killed publisher is still counted";
    EXPECT_TRUE(logged(capture, "transport_peer")) << "nobody said the peer vanished";

    inbox.take();
    transport_test::PeerProcess again(peer("stream", partition, {"/stream", "20"}));
    EXPECT_EQ(again.wait(kPatience), 0) << "the restarted publisher's stream was not acknowledged";
    EXPECT_TRUE(inbox.wait_for(20, kPatience));
    killed_files = publisher.mapped_files();
  }
  clear(killed_files);
}

TEST(KilledPeer, ACallWhoseServerIsKilledFailsSayingSoAndTheRestartedServerAnswers) {
  std::set<std::string> killed_files;
  {
    const std::string partition = transport_test::run_partition("killed_call");
    const transport::ServiceSupport support = transport_test::detect_trash_c();
    transport::Node node("caller", {kDomain, partition});
    transport::ServiceClient client(node, "/detect_trash", support);
    transport::MessagePtr request = transport::make_message(support.request.ops);
    const transport_test::OutputFile said(partition);
    transport_test::PeerProcess server(peer("hold", partition, {"/detect_trash"}), said.path);
    {
      ASSERT_TRUE(client.wait_for_service(kPatience));
      std::string failure;
      const auto started = Clock::now();
      std::thread caller([&] { EXPECT_FALSE(client.call(request.get(), kPatience, &failure)); });
      while (said.text().find("held") == std::string::npos && Clock::now() < started + kPatience) {
        std::this_thread::sleep_for(5ms);
      }
      server.kill();
      caller.join();
      EXPECT_NE(failure.find("the server left"), std::string::npos) << failure;
      EXPECT_LT(Clock::now() - started, kPatience) << "the call waited out its whole timeout";
    }
    transport_test::PeerProcess again(peer("serve", partition, {"/detect_trash", "3"}));
    ASSERT_TRUE(client.wait_for_service(kPatience));
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(client.call(request.get(), kPatience)) << "call " << i;
    EXPECT_EQ(again.wait(kPatience), 0);
    killed_files = server.mapped_files();
  }
  clear(killed_files);
}

}  // namespace
