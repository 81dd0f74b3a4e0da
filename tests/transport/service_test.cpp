// Services through the middleware with the C type support: a server in another process,
// several clients calling at once, and a client with no server.

#include "transport/service.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "c_types.hpp"
#include "inbox.hpp"
#include "peer_process.hpp"
#include "transport/node.hpp"

namespace {

using namespace std::chrono_literals;

constexpr uint32_t kDomain = TEST_DOMAIN;
constexpr auto kPatience = 20s;

using Request = corvanthelis_interfaces__srv__DetectTrash_Request;
using Response = corvanthelis_interfaces__srv__DetectTrash_Response;

// Calls with the given request fields and checks the reply against what servers answer.
void expect_answered(transport::ServiceClient& client, int32_t cmd, uint8_t camera) {
  const transport::ServiceSupport support = transport_test::detect_trash_c();
  transport::MessagePtr request = transport::make_message(support.request.ops);
  static_cast<Request*>(request.get())->cmd = cmd;
  static_cast<Request*>(request.get())->cam_choice = camera;
  const transport::MessagePtr expected = transport_test::answer_detect_trash(request);

  const transport::MessagePtr response = client.call(request.get(), kPatience);
  ASSERT_TRUE(response) << "no reply to cmd " << cmd;
  EXPECT_TRUE(corvanthelis_interfaces__srv__DetectTrash_Response__are_equal(
      static_cast<const Response*>(expected.get()), static_cast<const Response*>(response.get())))
      << "cmd " << cmd << " got status " << static_cast<const Response*>(response.get())->status;
}

// Two clients of /detect_trash, each in a node of its own.
struct TwoClients {
  explicit TwoClients(const std::string& partition)
      : first_node("first", {kDomain, partition}),
        second_node("second", {kDomain, partition}),
        first(first_node, "/detect_trash", transport_test::detect_trash_c()),
        second(second_node, "/detect_trash", transport_test::detect_trash_c()) {}
  bool ready() const {
    return first.wait_for_service(kPatience) && second.wait_for_service(kPatience);
  }

  transport::Node first_node;
  transport::Node second_node;
  transport::ServiceClient first;
  transport::ServiceClient second;
};

TEST(Service, ClientCallsAServerInAnotherProcess) {
  constexpr int kCalls = 20;
  const std::string partition = transport_test::run_partition("service_process");
  transport::Node node("client", {kDomain, partition});
  transport::ServiceClient client(node, "/detect_trash", transport_test::detect_trash_c());
  transport_test::PeerProcess server({TRANSPORT_PEER, "serve", std::to_string(kDomain), partition,
                                      "/detect_trash", std::to_string(kCalls)});
  ASSERT_TRUE(client.wait_for_service(kPatience));
  for (int i = 0; i < kCalls; ++i) expect_answered(client, 100 + i, static_cast<uint8_t>(i % 3));
  EXPECT_EQ(server.wait(kPatience), 0);
}

TEST(Service, ConcurrentCallsOfTwoClientsEachGetTheirOwnReply) {
  constexpr int kThreadsPerClient = 2;
  constexpr int kCallsPerThread = 25;
  const std::string partition = transport_test::run_partition("service_concurrent");
  const transport::ServiceSupport support = transport_test::detect_trash_c();
  transport::Node server_node("server", {kDomain, partition});
  transport::ServiceServer server(server_node, "/detect_trash", support,
                                  [&](transport::ServiceServer& self, transport::MessagePtr request,
                                      const transport::RequestId& id) {
                                    self.send_reply(
                                        id, transport_test::answer_detect_trash(request).get());
                                  });
  TwoClients clients(partition);
  ASSERT_TRUE(clients.ready());
  transport::ServiceClient& first = clients.first;
  transport::ServiceClient& second = clients.second;

  // Every call asks with its own cmd, so a reply that reached the wrong call shows.
  std::vector<std::thread> threads;
  for (int t = 0; t < 2 * kThreadsPerClient; ++t) {
    transport::ServiceClient& client = t % 2 ? second : first;
    threads.emplace_back([&client, t] {
      for (int i = 0; i < kCallsPerThread; ++i)
        expect_answered(client, 1000 * t + i, static_cast<uint8_t>(t));
    });
  }
  for (std::thread& thread : threads) thread.join();
}

// Both clients' first requests have the same sequence number, and each reply reaches both
// clients; the server answers the later request first, so the first client sees the other's
// reply while it waits for its own.
TEST(Service, AClientIgnoresRepliesToAnotherClient) {
  const std::string partition = transport_test::run_partition("service_identity");
  const transport::ServiceSupport support = transport_test::detect_trash_c();
  std::mutex mutex;
  std::vector<std::pair<transport::MessagePtr, transport::RequestId>> held;
  transport::Node server_node("server", {kDomain, partition});
  transport::ServiceServer server(
      server_node, "/detect_trash", support,
      [&](transport::ServiceServer& self, transport::MessagePtr request,
          const transport::RequestId& id) {
        std::lock_guard<std::mutex> lock(mutex);
        held.emplace_back(std::move(request), id);
        if (held.size() < 2) return;
        for (auto call = held.rbegin(); call != held.rend(); ++call) {
          self.send_reply(call->second, transport_test::answer_detect_trash(call->first).get());
        }
      });
  TwoClients clients(partition);
  ASSERT_TRUE(clients.ready());
  transport::ServiceClient& first = clients.first;
  transport::ServiceClient& second = clients.second;

  std::thread early([&] { expect_answered(first, 1, 1); });
  // The first request must be held before the second comes.
  for (auto deadline = std::chrono::steady_clock::now() + kPatience;;) {
    std::this_thread::sleep_for(1ms);
    std::lock_guard<std::mutex> lock(mutex);
    if (!held.empty()) break;
    ASSERT_LT(std::chrono::steady_clock::now(), deadline);
  }
  expect_answered(second, 2, 2);
  early.join();
}

TEST(Service, ACallWithoutServerTimesOut) {
  const std::string partition = transport_test::run_partition("service_timeout");
  transport::Node node("client", {kDomain, partition});
  transport::ServiceClient client(node, "/nobody_serves_this", transport_test::detect_trash_c());
  EXPECT_FALSE(client.wait_for_service(200ms));
  transport::MessagePtr request =
      transport::make_message(transport_test::detect_trash_c().request.ops);
  std::string failure;
  EXPECT_FALSE(client.call(request.get(), 300ms, &failure));
  EXPECT_NE(failure.find("no server"), std::string::npos) << failure;
}

// The handler runs on a thread of the server's own: one that waits for another message to the
// same node leaves the middleware free to deliver it.
TEST(Service, AHandlerThatWaitsDoesNotStallItsNodesOtherReaders) {
  const std::string partition = transport_test::run_partition("service_waiting_handler");
  transport::Node server_node("server", {kDomain, partition});
  transport_test::Inbox inbox;
  transport::Subscription subscription(server_node, "/go_ahead", transport_test::trashes_c(),
                                       inbox.callback());
  std::atomic<bool> handling{false};
  transport::ServiceServer server(server_node, "/detect_trash", transport_test::detect_trash_c(),
                                  [&](transport::ServiceServer& self, transport::MessagePtr request,
                                      const transport::RequestId& id) {
                                    handling = true;
                                    if (!inbox.wait_for(1, kPatience)) return;
                                    self.send_reply(
                                        id, transport_test::answer_detect_trash(request).get());
                                  });
  transport::Node client_node("client", {kDomain, partition});
  transport::ServiceClient client(client_node, "/detect_trash", transport_test::detect_trash_c());
  transport::Publisher go_ahead(client_node, "/go_ahead", transport_test::trashes_c());
  ASSERT_TRUE(client.wait_for_service(kPatience));
  ASSERT_TRUE(go_ahead.wait_for_subscribers(1, kPatience));

  std::thread caller([&] { expect_answered(client, 3, 1); });
  while (!handling) std::this_thread::sleep_for(1ms);
  transport::MessagePtr message = transport::make_message(transport_test::trashes_c().ops);
  EXPECT_TRUE(go_ahead.publish(message.get()));
  caller.join();
}

}  // namespace
