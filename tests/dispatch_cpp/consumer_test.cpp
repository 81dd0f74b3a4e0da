// The package used as rclcpp, rclcpp_action and rmw_fastrtps_cpp use it: the classes and the
// C++ dispatch handles from the C++ umbrella headers alone, each record asked for the C fast-CDR
// support first and then for the C++ one, as the middleware asks; a C client's records from
// the C umbrella headers; and the C-linkage handles looked up by name, as generic clients and
// rosbag2 find them.

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "catalogue/cpp_headers.hpp"
#include "cpp_catalogue.hpp"
#include "handles.hpp"
#include "random_fill.hpp"
#include "rcutils/error_handling.h"
#include "rosidl_typesupport_cpp/identifier.hpp"
#include "rosidl_typesupport_cpp/type_support_map.h"
#include "rosidl_typesupport_fastrtps_cpp/identifier.hpp"
#include "rosidl_typesupport_fastrtps_cpp/message_type_support.h"
#include "rosidl_typesupport_fastrtps_cpp/service_type_support.h"
#include "rosidl_typesupport_introspection_cpp/identifier.hpp"
#include "rosidl_typesupport_introspection_cpp/message_introspection.hpp"
#include "rosidl_typesupport_introspection_cpp/service_introspection.hpp"
#include "umbrella_c.h"

namespace {

constexpr const char* kDispatch = "rosidl_typesupport_cpp";
constexpr const char* kFastCdrC = "rosidl_typesupport_fastrtps_c";
const char* const kProviders[] = {"rosidl_typesupport_fastrtps_cpp", "rosidl_typesupport_introspection_cpp"};

template <typename Record>
struct Row {
  const char* name;
  const Record* (*handle)();     // the template specialisation
  const Record* (*c_linkage)();  // its twin, declared by the same header
};
using MessageRow = Row<rosidl_message_type_support_t>;
using ServiceRow = Row<rosidl_service_type_support_t>;

const std::vector<MessageRow>& message_rows() {
  static const std::vector<MessageRow> rows = {
#define CATALOGUE_STRUCTURE(package, kind, Name, role, c_name, cpp_name, ...)   \
  {#Name, &rosidl_typesupport_cpp::get_message_type_support_handle<cpp_name>, \
   &rosidl_typesupport_cpp__get_message_type_support_handle__##c_name},
#include "catalogue/interfaces.def"
  };
  return rows;
}

const std::vector<ServiceRow>& service_rows() {
  static const std::vector<ServiceRow> rows = {
#define CATALOGUE_SERVICE(package, kind, Name, c_name, cpp_name, ...)           \
  {#Name, &rosidl_typesupport_cpp::get_service_type_support_handle<cpp_name>, \
   &rosidl_typesupport_cpp__get_service_type_support_handle__##c_name},
#include "catalogue/interfaces.def"
  };
  return rows;
}

// An action's record and what its Impl's five types lead to through the same templates.
struct ActionRow {
  const char* name;
  const rosidl_action_type_support_t* (*handle)();
  const rosidl_action_type_support_t* (*c_linkage)();
  const rosidl_action_type_support_t expected;
};

const std::vector<ActionRow>& action_rows() {
  using rosidl_typesupport_cpp::get_message_type_support_handle;
  using rosidl_typesupport_cpp::get_service_type_support_handle;
  static const std::vector<ActionRow> rows = {
#define CATALOGUE_ACTION(package, kind, Name, c_name, A, ...)                               \
  {#Name,                                                                                   \
   &rosidl_typesupport_cpp::get_action_type_support_handle<A>,                              \
   &rosidl_typesupport_cpp__get_action_type_support_handle__##c_name,                       \
   {get_service_type_support_handle<A::Impl::SendGoalService>(),                            \
    get_service_type_support_handle<A::Impl::GetResultService>(),                           \
    get_service_type_support_handle<A::Impl::CancelGoalService>(),                          \
    get_message_type_support_handle<A::Impl::FeedbackMessage>(),                            \
    get_message_type_support_handle<A::Impl::GoalStatusMessage>()}},
#include "catalogue/interfaces.def"
  };
  return rows;
}

// rclcpp_action builds its clients and servers of these; action_msgs gives the cancel service
// and the status message.
#define CATALOGUE_ACTION(package, kind, Name, c_name, A, infix, send_goal, get_result, feedback) \
  static_assert(std::is_same_v<A::Impl::SendGoalService, package::kind::send_goal>);              \
  static_assert(std::is_same_v<A::Impl::GetResultService, package::kind::get_result>);            \
  static_assert(std::is_same_v<A::Impl::FeedbackMessage, package::kind::feedback>);               \
  static_assert(std::is_same_v<A::Impl::CancelGoalService, action_msgs::srv::CancelGoal>);        \
  static_assert(std::is_same_v<A::Impl::GoalStatusMessage, action_msgs::msg::GoalStatusArray>);
#include "catalogue/interfaces.def"

const type_support_map_t& map_of(const void* data) { return *static_cast<const type_support_map_t*>(data); }

// A record of the C++ dispatch: stamped with the runtime's identifier, with a map that names
// the two C++ providers and the handles by which the runtime finds the row there.
template <typename Record, typename CatalogueRow>
void expect_dispatch_record(const Record* record, const CatalogueRow& row) {
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->typesupport_identifier, rosidl_typesupport_cpp::typesupport_identifier);
  const type_support_map_t& map = map_of(record->data);
  ASSERT_EQ(map.size, 2u);
  EXPECT_STREQ(map.package_name, "corvanthelis_interfaces");
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_STREQ(map.typesupport_identifier[i], kProviders[i]);
    EXPECT_EQ(map.symbol_name[i], catalogue::handle(kProviders[i], row));
  }
}

// rmw_fastrtps_cpp asks for the C support first, and must be told no, with the reason set.
template <typename Record>
void expect_c_support_refused(const Record* record,
                              const Record* (*lookup)(const Record*, const char*)) {
  rcutils_reset_error();
  EXPECT_EQ(lookup(record, kFastCdrC), nullptr);
  EXPECT_TRUE(rcutils_error_is_set());
  rcutils_reset_error();
}

template <typename Record>
const Record* provided(const Record* record, const char* identifier,
                       const Record* (*lookup)(const Record*, const char*)) {
  const Record* found = lookup(record, identifier);
  EXPECT_NE(found, nullptr) << identifier << ": " << rcutils_get_error_string().str;
  EXPECT_FALSE(rcutils_error_is_set());
  rcutils_reset_error();
  return found;
}

std::vector<std::string> member_names(const rosidl_typesupport_introspection_cpp::MessageMembers& members) {
  std::vector<std::string> names;
  for (uint32_t i = 0; i < members.member_count_; ++i) names.emplace_back(members.members_[i].name_);
  return names;
}

std::vector<std::string> field_names(const catalogue::Structure& type) {
  std::vector<std::string> names;
  for (const catalogue::Field& field : type.fields) names.emplace_back(field.name);
  return names;
}

const rosidl_message_type_support_t* provider_record(const char* support, const catalogue::Structure& row) {
  return handles::message(support, row);
}
const rosidl_service_type_support_t* provider_record(const char* support, const catalogue::Service& row) {
  return handles::service(support, row);
}

// What the middleware gets from a row's dispatch record, asking as it does: no C support, and
// each C++ support the provider's own record, fast-CDR first.
template <typename Record, typename CatalogueRow>
std::array<const Record*, 2> cpp_supports(const Row<Record>& row, const CatalogueRow& catalogue_row,
                                          const Record* (*lookup)(const Record*, const char*)) {
  const Record* record = row.handle();
  EXPECT_EQ(row.c_linkage(), record);
  expect_dispatch_record(record, catalogue_row);
  expect_c_support_refused(record, lookup);
  const char* const identifiers[] = {rosidl_typesupport_fastrtps_cpp::typesupport_identifier,
                                     rosidl_typesupport_introspection_cpp::typesupport_identifier};
  std::array<const Record*, 2> found{};
  for (size_t i = 0; i < 2; ++i) {
    found[i] = provided(record, identifiers[i], lookup);
    EXPECT_EQ(found[i], provider_record(kProviders[i], catalogue_row));
  }
  return found;
}

TEST(CppDispatch, MessagesLeadToTheCppSupportsOnly) {
  ASSERT_EQ(message_rows().size(), catalogue::structures().size());
  for (const MessageRow& row : message_rows()) {
    SCOPED_TRACE(row.name);
    const catalogue::Structure& type = catalogue::structure(row.name);
    const auto [fast_cdr, introspection] = cpp_supports(row, type, get_message_typesupport_handle);
    ASSERT_NE(fast_cdr, nullptr);
    ASSERT_NE(introspection, nullptr);
    // The bytes the middleware would send are the C++ library's own.
    const ser::CppRow& cpp = ser::cpp_type(row.name);
    ser::CppObject sample(cpp);
    ser::Draws draws(std::hash<std::string>()(row.name));
    ser::fill_cpp(cpp.introspection(), sample.msg, draws);
    ser::Stream direct(cpp.size(sample.msg, 0));
    ASSERT_TRUE(cpp.serialize(sample.msg, direct.cdr));
    const auto* callbacks = static_cast<const message_type_support_callbacks_t*>(fast_cdr->data);
    EXPECT_EQ(ser::write_through(callbacks, row.name, sample.msg, cpp.size(sample.msg, 0), 0),
              direct.written());
    EXPECT_EQ(member_names(*static_cast<const rosidl_typesupport_introspection_cpp::MessageMembers*>(
                  introspection->data)),
              field_names(type));
  }
}

TEST(CppDispatch, ServicesLeadToTheCppSupportsOnly) {
  ASSERT_EQ(service_rows().size(), catalogue::services().size());
  for (const ServiceRow& row : service_rows()) {
    SCOPED_TRACE(row.name);
    const catalogue::Service& service = catalogue::service(row.name);
    const auto [fast_cdr, introspection] = cpp_supports(row, service, get_service_typesupport_handle);
    ASSERT_NE(fast_cdr, nullptr);
    ASSERT_NE(introspection, nullptr);
    // rmw_fastrtps_cpp takes the request's and the response's callbacks from here.
    const auto* sides = static_cast<const service_type_support_callbacks_t*>(fast_cdr->data);
    EXPECT_EQ(sides->request_members_,
              handles::message(kProviders[0], catalogue::structure(service.request)));
    EXPECT_EQ(sides->response_members_,
              handles::message(kProviders[0], catalogue::structure(service.response)));
    const auto* members = static_cast<const rosidl_typesupport_introspection_cpp::ServiceMembers*>(
        introspection->data);
    EXPECT_EQ(member_names(*members->request_members_), field_names(catalogue::structure(service.request)));
    EXPECT_EQ(member_names(*members->response_members_), field_names(catalogue::structure(service.response)));
  }
}

TEST(CppDispatch, ActionsBundleTheirServicesAndMessagesWithActionMsgs) {
  ASSERT_EQ(action_rows().size(), catalogue::actions().size());
  void* action_msgs = dlopen("libaction_msgs__rosidl_typesupport_cpp.so", RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(action_msgs, nullptr) << dlerror();
  const auto* cancel = handles::call<rosidl_service_type_support_t>(
      action_msgs, "rosidl_typesupport_cpp__get_service_type_support_handle__action_msgs__srv__CancelGoal");
  const auto* status = handles::call<rosidl_message_type_support_t>(
      action_msgs, "rosidl_typesupport_cpp__get_message_type_support_handle__action_msgs__msg__GoalStatusArray");
  for (const ActionRow& row : action_rows()) {
    SCOPED_TRACE(row.name);
    const catalogue::Action& action = catalogue::action(row.name);
    const rosidl_action_type_support_t* record = row.handle();
    EXPECT_EQ(row.handle(), record);
    EXPECT_EQ(row.c_linkage(), record);
    EXPECT_EQ(record->goal_service_type_support, row.expected.goal_service_type_support);
    EXPECT_EQ(record->goal_service_type_support,
              handles::service(kDispatch, catalogue::service(action.send_goal)));
    EXPECT_EQ(record->result_service_type_support, row.expected.result_service_type_support);
    EXPECT_EQ(record->result_service_type_support,
              handles::service(kDispatch, catalogue::service(action.get_result)));
    EXPECT_EQ(record->feedback_message_type_support, row.expected.feedback_message_type_support);
    EXPECT_EQ(record->feedback_message_type_support,
              handles::message(kDispatch, catalogue::structure(action.feedback_message)));
    EXPECT_EQ(record->cancel_service_type_support, row.expected.cancel_service_type_support);
    EXPECT_EQ(record->cancel_service_type_support, cancel);
    EXPECT_EQ(record->status_message_type_support, row.expected.status_message_type_support);
    EXPECT_EQ(record->status_message_type_support, status);
  }
  // action_msgs' records lead on to its own C++ providers.
  expect_c_support_refused(cancel, get_service_typesupport_handle);
  const auto* cancel_cdr = provided(cancel, rosidl_typesupport_fastrtps_cpp::typesupport_identifier,
                                    get_service_typesupport_handle);
  ASSERT_NE(cancel_cdr, nullptr);
  EXPECT_STREQ(static_cast<const service_type_support_callbacks_t*>(cancel_cdr->data)->service_name_,
               "CancelGoal");
  const auto* status_cdr = provided(status, rosidl_typesupport_fastrtps_cpp::typesupport_identifier,
                                    get_message_typesupport_handle);
  ASSERT_NE(status_cdr, nullptr);
  EXPECT_STREQ(static_cast<const message_type_support_callbacks_t*>(status_cdr->data)->message_name_,
               "GoalStatusArray");
}

// Generic publishers and subscriptions, and rosbag2, know a type by name only.
TEST(CppDispatch, HandlesFoundByNameAreTheTemplatesRecords) {
  void* library = dlopen("libcorvanthelis_interfaces__rosidl_typesupport_cpp.so", RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  for (const MessageRow& row : message_rows()) {
    EXPECT_EQ(handles::call<rosidl_message_type_support_t>(
                  library, catalogue::handle(kDispatch, catalogue::structure(row.name))),
              row.handle())
        << row.name;
  }
  for (const ServiceRow& row : service_rows()) {
    EXPECT_EQ(handles::call<rosidl_service_type_support_t>(
                  library, catalogue::handle(kDispatch, catalogue::service(row.name))),
              row.handle())
        << row.name;
  }
  for (const ActionRow& row : action_rows()) {
    EXPECT_EQ(handles::call<rosidl_action_type_support_t>(
                  library, catalogue::handle(kDispatch, catalogue::action(row.name))),
              row.handle())
        << row.name;
  }
}

TEST(CppDispatch, CClientsGetEveryRecordFromTheUmbrellaHeaders) {
  constexpr const char* kCDispatch = "rosidl_typesupport_c";
  std::vector<const rosidl_message_type_support_t*> messages(catalogue::structures().size());
  ASSERT_EQ(umbrella_c_messages(messages.data()), catalogue::structures().size());
  for (size_t i = 0; i < catalogue::structures().size(); ++i) {
    EXPECT_EQ(messages[i], handles::message(kCDispatch, catalogue::structures()[i]))
        << catalogue::structures()[i].name;
  }
  std::vector<const rosidl_service_type_support_t*> services(catalogue::services().size());
  ASSERT_EQ(umbrella_c_services(services.data()), catalogue::services().size());
  for (size_t i = 0; i < catalogue::services().size(); ++i) {
    EXPECT_EQ(services[i], handles::service(kCDispatch, catalogue::services()[i]))
        << catalogue::services()[i].name;
  }
  std::vector<const rosidl_action_type_support_t*> actions(catalogue::actions().size());
  ASSERT_EQ(umbrella_c_actions(actions.data()), catalogue::actions().size());
  void* library = handles::library(kCDispatch);
  for (size_t i = 0; i < catalogue::actions().size(); ++i) {
    EXPECT_EQ(actions[i], handles::call<rosidl_action_type_support_t>(
                              library, catalogue::handle(kCDispatch, catalogue::actions()[i])))
        << catalogue::actions()[i].name;
  }
}

}  // namespace
