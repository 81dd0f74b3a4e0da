// First calls of the C++ service handles from several threads at once: each call that finds a
// side missing sets both, and every thread must come away with the same complete tables. Data
// races themselves show under the ThreadSanitizer build, which runs the tests labelled
// "concurrency".

#include <gtest/gtest.h>

#include <vector>

#include "handles_cpp.hpp"
#include "support/together.hpp"

namespace {

constexpr int kThreads = 8;

using Seen = std::vector<const void*>;

Seen first_use() {
  Seen seen;
  for (const handles_cpp::ServiceHandle& service : handles_cpp::service_templates()) {
    const rosidl_service_type_support_t* record = service.handle();
    const auto* members = static_cast<const handles_cpp::ServiceMembers*>(record->data);
    seen.push_back(record);
    // Other threads may still be storing these: read what they store atomically.
    seen.push_back(__atomic_load_n(&members->request_members_, __ATOMIC_ACQUIRE));
    seen.push_back(__atomic_load_n(&members->response_members_, __ATOMIC_ACQUIRE));
  }
  return seen;
}

TEST(IntrospectionCppFirstUse, ConcurrentServiceHandleCallsAgree) {
  const std::vector<Seen> results = together::run(kThreads, first_use);
  together::expect_agreement(results);
}

}  // namespace
