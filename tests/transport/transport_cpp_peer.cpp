// The C++ process of the Python transport tests, on the C++ node API and the C++ type support.
// Every mode ends by itself: exit 0 when it did its part, 1 when something was missing, late
// or different, 2 for bad arguments.
//
//   transport_cpp_peer origin <domain> <partition> <count> <seed>
//       publishes <count> random Trashes on /trashes_out and expects them back on
//       /trashes_back, all equal and in order
//   transport_cpp_peer serve <domain> <partition> <service> <count>
//       answers <count> DetectTrash requests
//   transport_cpp_peer call <domain> <partition> <service> <count>
//       calls DetectTrash <count> times and checks every answer

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "counting.hpp"
#include "cpp_types.hpp"
#include "transport/cpp.hpp"

namespace {

using namespace std::chrono_literals;
using corvanthelis_interfaces::msg::Trashes;
using corvanthelis_interfaces::srv::DetectTrash;
constexpr auto kPatience = 20s;

int origin(transport::Node& node, size_t count, uint64_t seed) {
  std::mutex mutex;
  std::vector<std::unique_ptr<Trashes>> received;
  std::atomic<size_t> arrived{0};
  transport::cpp::Subscription<Trashes> back(node, "/trashes_back",
                                             [&](std::unique_ptr<Trashes> message) {
                                               std::lock_guard<std::mutex> lock(mutex);
                                               received.push_back(std::move(message));
                                               ++arrived;
                                             });
  transport::cpp::Publisher<Trashes> out(node, "/trashes_out");
  if (!out.raw().wait_for_subscribers(1, kPatience) ||
      !back.raw().wait_for_publishers(1, kPatience)) {
    std::fputs("origin: the echo did not appear\n", stderr);
    return 1;
  }
  std::mt19937_64 random(seed);
  std::vector<Trashes> sent(count);
  for (Trashes& message : sent) {
    transport_test::fill_random(message, random);
    if (!out.publish(message)) return 1;
  }
  if (!transport_test::wait_for_count(arrived, count, kPatience)) {
    std::fprintf(stderr, "origin: %zu of %zu came back\n", arrived.load(), count);
    return 1;
  }
  std::lock_guard<std::mutex> lock(mutex);
  for (size_t i = 0; i < count; ++i) {
    if (!(*received[i] == sent[i])) {
      std::fprintf(stderr, "origin: message %zu came back different or out of order\n", i);
      return 1;
    }
  }
  return received.size() == count ? 0 : 1;
}

int serve(transport::Node& node, const std::string& service, size_t count) {
  std::atomic<size_t> answered{0};
  transport::cpp::ServiceServer<DetectTrash> server(node, service,
                                                    [&](const DetectTrash::Request& request) {
                                                      ++answered;
                                                      return transport_test::answer(request);
                                                    });
  return transport_test::wait_for_count(answered, count, kPatience) &&
                 server.raw().wait_for_acknowledgments(kPatience)
             ? 0
             : 1;
}

int call(transport::Node& node, const std::string& service, size_t count) {
  transport::cpp::ServiceClient<DetectTrash> client(node, service);
  if (!client.wait_for_service(kPatience)) return 1;
  for (size_t i = 0; i < count; ++i) {
    DetectTrash::Request request;
    request.cmd = static_cast<int32_t>(7 * i + 1);
    request.cam_choice = static_cast<uint8_t>(i % 3);
    const auto response = client.call(request, kPatience);
    if (!response || !(*response == transport_test::answer(request))) {
      std::fprintf(stderr, "call: request %zu got %s\n", i,
                   response ? "a wrong answer" : "no answer");
      return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() != 5) {
    std::fputs("usage: transport_cpp_peer <origin|serve|call> <domain> <partition> ...\n", stderr);
    return 2;
  }
  transport::Node node("transport_cpp_peer", {static_cast<uint32_t>(std::stoul(args[1])), args[2]});
  if (args[0] == "origin") return origin(node, std::stoul(args[3]), std::stoull(args[4]));
  if (args[0] == "serve") return serve(node, args[3], std::stoul(args[4]));
  if (args[0] == "call") return call(node, args[3], std::stoul(args[4]));
  std::fputs("transport_cpp_peer: unknown mode\n", stderr);
  return 2;
}
