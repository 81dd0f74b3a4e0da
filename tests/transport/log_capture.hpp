#pragma once

// Takes what the transport reports, from any thread, while it lives.

#include <mutex>
#include <string>
#include <vector>

#include "transport/log.hpp"

namespace transport_test {

class LogCapture {
 public:
  LogCapture() {
    transport::set_log_sink([this](const std::string& line) {
      std::lock_guard<std::mutex> lock(mutex_);
      lines_.push_back(line);
    });
  }
  ~LogCapture() { transport::set_log_sink({}); }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::vector<std::string> lines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

}  // namespace transport_test
