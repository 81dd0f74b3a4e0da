#pragma once

// For the peer programs: waiting until a callback has counted far enough.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <thread>

namespace transport_test {

inline bool wait_for_count(const std::atomic<size_t>& done, size_t count,
                           std::chrono::milliseconds patience) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (done.load() < count) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace transport_test
