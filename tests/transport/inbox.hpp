#pragma once

// Messages a subscription received, in order, for the test thread to wait on.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "transport/node.hpp"

namespace transport_test {

class Inbox {
 public:
  transport::Subscription::Callback callback() {
    return [this](transport::MessagePtr message) {
      std::lock_guard<std::mutex> lock(mutex_);
      messages_.push_back(std::move(message));
      arrived_.notify_all();
    };
  }

  // True when at least `count` messages are in.
  bool wait_for(size_t count, std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    return arrived_.wait_for(lock, timeout, [&] { return messages_.size() >= count; });
  }

  // Hands over what came so far.
  std::vector<transport::MessagePtr> take() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::move(messages_);
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<transport::MessagePtr> messages_;
};

}  // namespace transport_test
