#include "middleware_log.hpp"

#include <chrono>
#include <fastdds/dds/log/Log.hpp>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "transport/log.hpp"

namespace transport::detail {
namespace {

using eprosima::fastdds::dds::Log;

// Fast DDS keeps its warnings to itself by default. Those of its shared-memory transport (a
// port found dead and reset, a message it could not push) and the receive errors of a port are
// the only sign that what was sent to it is lost: a port that cannot read a message retries it
// for ever, and the endpoints behind it hear nothing more.
bool means_loss(const Log::Entry& entry) {
  const std::string category = entry.context.category != nullptr ? entry.context.category : "";
  if (category == "RTPS_TRANSPORT_SHM") return true;
  return category == "RTPS_MSG_IN" && entry.message.find("Error receiving data") != std::string::npos;
}

// A deaf port repeats its warning tens of thousands of times a second: each different line is
// logged at once, then at most once a second with the count of those left out meanwhile.
class MiddlewareLog : public eprosima::fastdds::dds::LogConsumer {
 public:
  void Consume(const Log::Entry& entry) override {
    const bool loss = entry.kind == Log::Kind::Warning && means_loss(entry);
    if (entry.kind != Log::Kind::Error && !loss) return;
    const std::string line = std::string("middleware ") +
                             (entry.kind == Log::Kind::Error ? "error" : "warning") + " (" +
                             (entry.context.category != nullptr ? entry.context.category : "") +
                             "): " + entry.message;
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard<std::mutex> lock(mutex_);
    Repeats& repeats = seen_[line];
    if (repeats.logged && now - repeats.last < std::chrono::seconds(1)) {
      ++repeats.left_out;
      return;
    }
    log(repeats.left_out > 0 ? line + " (and " + std::to_string(repeats.left_out) +
                                   " more times since)"
                             : line);
    repeats = {true, now, 0};
  }

 private:
  struct Repeats {
    bool logged = false;
    std::chrono::steady_clock::time_point last;
    unsigned long left_out = 0;
  };
  std::mutex mutex_;
  std::map<std::string, Repeats> seen_;
};

}  // namespace

void watch_middleware_log() {
  static std::once_flag once;
  std::call_once(once, [] {
    Log::ClearConsumers();
    Log::RegisterConsumer(std::make_unique<MiddlewareLog>());
    Log::SetVerbosity(Log::Kind::Warning);
  });
}

}  // namespace transport::detail
