// The other process of the transport tests. Every mode ends by itself: exit 0 when it did
// its part, 1 when something was missing or late, 2 for bad arguments.
//
//   transport_peer echo <domain> <partition> <in topic> <out topic> <count>
//       republishes <count> Trashes from one topic on the other (C type support)
//   transport_peer serve <domain> <partition> <service> <count>
//       answers <count> DetectTrash requests (C type support)
//   transport_peer self <domain> <partition>
//       sends one Trashes to itself, prints the middleware files it has mapped, then leaves
//   transport_peer stream <domain> <partition> <topic> <count>
//       publishes <count> Trashes (0: until it is killed), numbered in header.stamp.sec, once a
//       subscriber is there, and waits until they are acknowledged
//   transport_peer hold <domain> <partition> <service>
//       takes DetectTrash requests and never answers; prints "held" at the first
//   transport_peer visit <domain> <partition> <topic> <server name> <milliseconds>
//       a node that announces a writer of <topic>, and leaves that long after it has
//       discovered the participant of that name (or has waited 2 s for it)

#include <unistd.h>

#include <atomic>
#include <fastdds/dds/domain/DomainParticipantListener.hpp>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "c_types.hpp"
#include "counting.hpp"
#include "shm_files.hpp"
#include "transport/node.hpp"
#include "transport/service.hpp"

namespace {

using namespace std::chrono_literals;
constexpr auto kPatience = 20s;

int echo(transport::Node& node, const std::string& in, const std::string& out, size_t count) {
  transport::Publisher publisher(node, out, transport_test::trashes_c());
  // Our samples go nowhere until the test's reader is there.
  if (!publisher.wait_for_subscribers(1, kPatience)) return 1;
  std::atomic<size_t> echoed{0};
  std::atomic<bool> failed{false};
  transport::Subscription subscription(node, in, transport_test::trashes_c(),
                                       [&](transport::MessagePtr message) {
                                         if (!publisher.publish(message.get())) failed = true;
                                         ++echoed;
                                       });
  const bool complete = transport_test::wait_for_count(echoed, count, kPatience) &&
                        publisher.wait_for_acknowledgments(kPatience);
  return complete && !failed ? 0 : 1;
}

int serve(transport::Node& node, const std::string& service, size_t count) {
  std::atomic<size_t> answered{0};
  std::atomic<bool> failed{false};
  const transport::ServiceSupport support = transport_test::detect_trash_c();
  transport::ServiceServer server(
      node, service, support,
      [&](transport::ServiceServer& self, transport::MessagePtr request,
          const transport::RequestId& id) {
        if (!self.send_reply(id, transport_test::answer_detect_trash(request).get())) failed = true;
        ++answered;
      });
  const bool complete = transport_test::wait_for_count(answered, count, kPatience) &&
                        server.wait_for_acknowledgments(kPatience);
  return complete && !failed ? 0 : 1;
}

int stream(transport::Node& node, const std::string& topic, size_t count) {
  transport::Publisher publisher(node, topic, transport_test::trashes_c());
  if (!publisher.wait_for_subscribers(1, kPatience)) return 1;
  transport::MessagePtr message = transport::make_message(transport_test::trashes_c().ops);
  auto& trashes = *static_cast<corvanthelis_interfaces__msg__Trashes*>(message.get());
  for (size_t i = 0; count == 0 || i < count; ++i) {
    trashes.header.stamp.sec = static_cast<int32_t>(i);
    if (!publisher.publish(message.get())) return 1;
    std::this_thread::sleep_for(2ms);
  }
  return publisher.wait_for_acknowledgments(kPatience) ? 0 : 1;
}

int hold(transport::Node& node, const std::string& service) {
  std::atomic<bool> held{false};
  transport::ServiceServer server(node, service, transport_test::detect_trash_c(),
                                  [&](transport::ServiceServer&, transport::MessagePtr,
                                      const transport::RequestId&) {
                                    if (!held.exchange(true)) {
                                      std::puts("held");
                                      std::fflush(stdout);
                                    }
                                  });
  std::this_thread::sleep_for(kPatience);
  return 1;  // it was to be killed long before
}

int talk_to_self(transport::Node& node) {
  std::atomic<size_t> heard{0};
  transport::Subscription subscription(node, "/self", transport_test::trashes_c(),
                                       [&](transport::MessagePtr) { ++heard; });
  transport::Publisher publisher(node, "/self", transport_test::trashes_c());
  if (!publisher.wait_for_subscribers(1, kPatience)) return 1;
  transport::MessagePtr message = transport::make_message(transport_test::trashes_c().ops);
  if (!publisher.publish(message.get()) || !transport_test::wait_for_count(heard, 1, kPatience))
    return 1;
  // Said by the process itself: a watcher that samples our maps can miss a life this short.
  for (const std::string& name : transport_test::mapped_middleware_files(getpid()))
    std::printf("%s\n", name.c_str());
  return 0;
}

// Counts the participants of one name this node has discovered.
struct ServerSeen : eprosima::fastdds::dds::DomainParticipantListener {
  explicit ServerSeen(std::string name) : name(std::move(name)) {}
  void on_participant_discovery(eprosima::fastdds::dds::DomainParticipant*,
                                eprosima::fastrtps::rtps::ParticipantDiscoveryInfo&& info) override {
    if (info.status == eprosima::fastrtps::rtps::ParticipantDiscoveryInfo::DISCOVERED_PARTICIPANT &&
        info.info.m_participantName.to_string() == name) {
      ++count;
    }
  }
  const std::string name;
  std::atomic<size_t> count{0};
};

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() < 3) {
    std::fputs("usage: transport_peer <mode> <domain> <partition> ...\n", stderr);
    return 2;
  }
  transport::NodeOptions options;
  options.domain = static_cast<uint32_t>(std::stoul(args[1]));
  options.partition = args[2];
  if (args[0] == "visit" && args.size() == 6) {
    ServerSeen seen(args[4]);
    options.discovery_listener = &seen;
    transport::Node visitor("visitor", options);
    transport::Publisher publisher(visitor, args[3], transport_test::trashes_c());
    // A server held too long drops out of the others' view; the visit is short either way.
    transport_test::wait_for_count(seen.count, 1, 2s);
    std::this_thread::sleep_for(std::chrono::milliseconds(std::stoul(args[5])));
    return 0;
  }
  transport::Node node("transport_peer", options);
  if (args[0] == "echo" && args.size() == 6)
    return echo(node, args[3], args[4], std::stoul(args[5]));
  if (args[0] == "serve" && args.size() == 5) return serve(node, args[3], std::stoul(args[4]));
  if (args[0] == "self" && args.size() == 3) return talk_to_self(node);
  if (args[0] == "stream" && args.size() == 5) return stream(node, args[3], std::stoul(args[4]));
  if (args[0] == "hold" && args.size() == 4) return hold(node, args[3]);
  std::fputs("transport_peer: unknown mode or wrong number of arguments\n", stderr);
  return 2;
}
