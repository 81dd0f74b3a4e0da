// First use from several threads at once, in a process that has touched nothing of the package
// before: each thread asks every C++ dispatch record for both C++ supports, so the runtime
// loads the providers while the other threads do the same, and takes the actions' records,
// which their first call fills. Every thread must see the same complete records. Data races
// themselves show under the ThreadSanitizer build, which runs the tests labelled
// "concurrency".

#include <gtest/gtest.h>

#include <vector>

#include "catalogue/cpp_headers.hpp"
#include "rosidl_typesupport_fastrtps_cpp/identifier.hpp"
#include "rosidl_typesupport_introspection_cpp/identifier.hpp"
#include "support/together.hpp"

namespace {

constexpr int kThreads = 8;

using Seen = std::vector<const void*>;

Seen first_use() {
  const char* const providers[] = {rosidl_typesupport_fastrtps_cpp::typesupport_identifier,
                                   rosidl_typesupport_introspection_cpp::typesupport_identifier};
  Seen seen;
  auto ask = [&](const auto* record, auto lookup) {
    for (const char* provider : providers) seen.push_back(lookup(record, provider));
  };
#define CATALOGUE_STRUCTURE(package, kind, Name, role, c_name, T, ...) \
  ask(rosidl_typesupport_cpp::get_message_type_support_handle<T>(), get_message_typesupport_handle);
#define CATALOGUE_SERVICE(package, kind, Name, c_name, S, ...) \
  ask(rosidl_typesupport_cpp::get_service_type_support_handle<S>(), get_service_typesupport_handle);
#define CATALOGUE_ACTION(package, kind, Name, c_name, A, ...)                              \
  {                                                                                        \
    const rosidl_action_type_support_t* action =                                           \
        rosidl_typesupport_cpp::get_action_type_support_handle<A>();                       \
    seen.insert(seen.end(), {action->goal_service_type_support, action->result_service_type_support, \
                             action->cancel_service_type_support,                          \
                             action->feedback_message_type_support,                        \
                             action->status_message_type_support});                        \
  }
#include "catalogue/interfaces.def"
  return seen;
}

TEST(FirstUse, ConcurrentFirstCallsAgree) {
  const std::vector<Seen> results = together::run(kThreads, first_use);
  together::expect_agreement(results);
}

}  // namespace
