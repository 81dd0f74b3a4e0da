// First use from several threads at once: the handles complete their tables and the runtime
// loads the providers while other threads do the same. Every thread must see the same complete
// records. Data races themselves show under the ThreadSanitizer build
// (CORVANTHELIS_SANITIZE=thread), which runs the tests labelled "concurrency".

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "handles.hpp"
#include "rosidl_typesupport_introspection_c/message_introspection.h"
#include "support/together.hpp"

namespace {

constexpr int kThreads = 8;
const char* const kProviders[] = {"rosidl_typesupport_fastrtps_c", "rosidl_typesupport_introspection_c"};

// Per thread: for every type, the dispatch lookup of each provider and, for introspection,
// the nested link of every member.
using Seen = std::vector<const void*>;

Seen first_use(const std::vector<const rosidl_message_type_support_t*>& dispatch) {
  Seen seen;
  for (const auto* record : dispatch) {
    for (const char* provider : kProviders) {
      const auto* provided = record->func(record, provider);
      seen.push_back(provided);
      if (provided == nullptr || std::string(provider) != kProviders[1]) continue;
      const auto* members = static_cast<const rosidl_typesupport_introspection_c__MessageMembers*>(provided->data);
      // Other threads may still be completing these tables: read what they store atomically.
      seen.push_back(__atomic_load_n(&provided->typesupport_identifier, __ATOMIC_ACQUIRE));
      for (uint32_t i = 0; i < members->member_count_; ++i) {
        if (members->members_[i].type_id_ == 18) {
          seen.push_back(__atomic_load_n(&members->members_[i].members_, __ATOMIC_ACQUIRE));
        }
      }
    }
  }
  return seen;
}

TEST(FirstUse, ConcurrentFirstCallsAgree) {
  // Dispatch records are complete at load, so collecting them first leaves the providers and
  // the introspection tables untouched for the threads.
  std::vector<const rosidl_message_type_support_t*> dispatch;
  for (const catalogue::Structure& type : catalogue::structures()) {
    dispatch.push_back(handles::message("rosidl_typesupport_c", type));
  }
  const std::vector<Seen> results = together::run(kThreads, [&] { return first_use(dispatch); });
  together::expect_agreement(results);
}

}  // namespace
