// How long a node that has just started waits before it can use a service: the time from a
// participant's creation to a matched service (both of the client's endpoints matched), and to
// its first reply. A server node lives for the whole run; each start makes a new node with a
// client, calls once and leaves, as a short-lived tool does. Run several copies at once in one
// domain to see discovery under the load of other participants coming and going. Not run by
// CTest; results in docs/performance.md.
//
//   discovery_bench [starts] [domain]     (default 100 starts in domain 53)

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "corvanthelis_interfaces/srv/detect_trash.hpp"
#include "transport/cpp.hpp"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using corvanthelis_interfaces::srv::DetectTrash;

// A start that takes longer than this counts as lost.
constexpr auto kPatience = 10s;

double milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

// The value below which `share` of the sorted times lie.
double quantile(const std::vector<double>& sorted, double share) {
  if (sorted.empty()) return 0.0;
  const auto at = static_cast<size_t>(share * static_cast<double>(sorted.size() - 1) + 0.5);
  return sorted[std::min(at, sorted.size() - 1)];
}

void report(const char* what, std::vector<double> times, size_t starts) {
  std::sort(times.begin(), times.end());
  std::printf("%-28s %4zu of %zu  median %7.1f ms  p99 %7.1f ms  max %7.1f ms\n", what,
              times.size(), starts, quantile(times, 0.5), quantile(times, 0.99),
              times.empty() ? 0.0 : times.back());
}

}  // namespace

int main(int argc, char** argv) {
  const size_t starts = argc > 1 ? std::stoul(argv[1]) : 100;
  const auto domain = static_cast<uint32_t>(argc > 2 ? std::stoul(argv[2]) : 53);
  // Copies run side by side in one domain; each talks only to its own server.
  const std::string partition = "discovery_bench_" + std::to_string(getpid());
  transport::Node server_node("discovery_server", {domain, partition});
  transport::cpp::ServiceServer<DetectTrash> server(
      server_node, "/detect_trash", [](const DetectTrash::Request& request) {
        DetectTrash::Response response;
        response.status = request.cmd;
        return response;
      });

  std::vector<double> matched;
  std::vector<double> answered;
  for (size_t i = 0; i < starts; ++i) {
    const Clock::time_point start = Clock::now();
    transport::Node node("discovery_client", {domain, partition});
    transport::cpp::ServiceClient<DetectTrash> client(node, "/detect_trash");
    if (!client.wait_for_service(kPatience)) continue;
    matched.push_back(milliseconds(Clock::now() - start));
    DetectTrash::Request request;
    request.cmd = static_cast<int32_t>(i);
    const auto response = client.call(request, kPatience);
    if (response && response->status == request.cmd)
      answered.push_back(milliseconds(Clock::now() - start));
  }
  report("creation to matched service", matched, starts);
  report("creation to first reply", answered, starts);
  return matched.size() == starts && answered.size() == starts ? 0 : 1;
}
