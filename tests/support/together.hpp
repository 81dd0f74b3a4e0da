#pragma once

// Runs the same work on several threads that all start at once, for tests of concurrent first
// use; each thread's result comes back in thread order.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace together {

template <typename Work>
auto run(int threads, Work work) -> std::vector<decltype(work())> {
  std::atomic<int> waiting{threads};
  std::vector<decltype(work())> results(static_cast<std::size_t>(threads));
  std::vector<std::thread> running;
  for (int t = 0; t < threads; ++t) {
    running.emplace_back([&, t] {
      waiting.fetch_sub(1);
      while (waiting.load() > 0) {
      }
      results[static_cast<std::size_t>(t)] = work();
    });
  }
  for (std::thread& thread : running) thread.join();
  return results;
}

// What first use should give: every thread saw the very pointers the first thread saw, and
// none of them is null.
template <typename Pointer>
void expect_agreement(const std::vector<std::vector<Pointer>>& results) {
  for (std::size_t t = 0; t < results.size(); ++t) {
    ASSERT_EQ(results[t], results[0]) << "thread " << t;
  }
  for (const Pointer& pointer : results[0]) EXPECT_NE(pointer, nullptr);
}

}  // namespace together
