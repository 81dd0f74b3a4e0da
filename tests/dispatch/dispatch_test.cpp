// The dispatch records end to end: the runtime finds each support in a record's map, loads the
// provider by name and hands back the provider's own record.

#include <gtest/gtest.h>

#include <string>

#include "catalogue.hpp"
#include "corvanthelis_interfaces/action/detail/arm_task__type_support.h"
#include "corvanthelis_interfaces/action/detail/arm_task_decision__type_support.h"
#include "handles.hpp"
#include "rcutils/error_handling.h"
#include "rosidl_typesupport_c/identifier.h"
#include "rosidl_typesupport_c/message_type_support_dispatch.h"
#include "rosidl_typesupport_c/service_type_support_dispatch.h"
#include "rosidl_typesupport_c/type_support_map.h"

namespace {

constexpr const char* kDispatch = "rosidl_typesupport_c";
const char* const kProviders[] = {"rosidl_typesupport_fastrtps_c", "rosidl_typesupport_introspection_c"};

const type_support_map_t& map_of(const void* data) { return *static_cast<const type_support_map_t*>(data); }

void expect_map(const type_support_map_t& map, const std::string& kind_of_handle, const std::string& c_name) {
  ASSERT_EQ(map.size, 2u);
  EXPECT_STREQ(map.package_name, "corvanthelis_interfaces");
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_STREQ(map.typesupport_identifier[i], kProviders[i]);
    EXPECT_EQ(std::string(map.symbol_name[i]),
              std::string(kProviders[i]) + "__get_" + kind_of_handle + "_type_support_handle__" + c_name);
  }
}

TEST(Dispatch, MessageRecordsLeadToTheProvidersOwnRecords) {
  for (const catalogue::Type& type : catalogue::types()) {
    const std::string c_name = catalogue::c_name(type.kind, type.name);
    SCOPED_TRACE(c_name);
    const auto* record = handles::message(kDispatch, c_name);
    EXPECT_EQ(record->typesupport_identifier, rosidl_typesupport_c__typesupport_identifier);
    EXPECT_EQ(record->func, &rosidl_typesupport_c__get_message_typesupport_handle_function);
    expect_map(map_of(record->data), "message", c_name);
    for (size_t i = 0; i < 2; ++i) {
      const auto* provided = record->func(record, kProviders[i]);
      ASSERT_NE(provided, nullptr) << rcutils_get_error_string().str;
      EXPECT_EQ(provided, handles::message(kProviders[i], c_name));
      EXPECT_STREQ(provided->typesupport_identifier, kProviders[i]);
      EXPECT_NE(map_of(record->data).data[i], nullptr);
    }
    EXPECT_EQ(record->func(record, kDispatch), record);
  }
}

TEST(Dispatch, ServiceRecordsLeadToTheProvidersOwnRecords) {
  for (const catalogue::Service& service : catalogue::services()) {
    const std::string c_name = catalogue::c_name(service.kind, service.name);
    SCOPED_TRACE(c_name);
    const auto* record = handles::service(kDispatch, c_name);
    EXPECT_EQ(record->typesupport_identifier, rosidl_typesupport_c__typesupport_identifier);
    EXPECT_EQ(record->func, &rosidl_typesupport_c__get_service_typesupport_handle_function);
    expect_map(map_of(record->data), "service", c_name);
    for (size_t i = 0; i < 2; ++i) {
      const auto* provided = record->func(record, kProviders[i]);
      ASSERT_NE(provided, nullptr) << rcutils_get_error_string().str;
      EXPECT_EQ(provided, handles::service(kProviders[i], c_name));
    }
  }
}

TEST(Dispatch, UnknownIdentifierGivesNullWithAnError) {
  rcutils_reset_error();
  const auto* record = handles::message(kDispatch, "corvanthelis_interfaces__msg__Trash");
  EXPECT_EQ(record->func(record, "rosidl_typesupport_introspection_cpp"), nullptr);
  EXPECT_TRUE(rcutils_error_is_set());
  rcutils_reset_error();
  const auto* service = handles::service(kDispatch, "corvanthelis_interfaces__srv__DetectTrash");
  EXPECT_EQ(service->func(service, "no_such_support"), nullptr);
  EXPECT_TRUE(rcutils_error_is_set());
  rcutils_reset_error();
}

// Records of a package whose provider is missing, or exports no such handle.
TEST(Dispatch, MissingLibraryOrSymbolGivesNullWithAnError) {
  const char* const identifiers[] = {"rosidl_typesupport_introspection_c"};
  const char* const missing_symbol[] = {"no_such_handle"};
  void* slots[] = {nullptr};
  const type_support_map_t no_library = {1, "no_such_package", identifiers, missing_symbol, slots};
  const rosidl_message_type_support_t orphan = {kDispatch, &no_library,
                                                rosidl_typesupport_c__get_message_typesupport_handle_function};
  rcutils_reset_error();
  EXPECT_EQ(orphan.func(&orphan, identifiers[0]), nullptr);
  EXPECT_TRUE(rcutils_error_is_set());
  EXPECT_EQ(slots[0], nullptr);
  rcutils_reset_error();

  void* more_slots[] = {nullptr};
  const type_support_map_t no_symbol = {1, "corvanthelis_interfaces", identifiers, missing_symbol, more_slots};
  const rosidl_message_type_support_t stray = {kDispatch, &no_symbol,
                                               rosidl_typesupport_c__get_message_typesupport_handle_function};
  EXPECT_EQ(stray.func(&stray, identifiers[0]), nullptr);
  EXPECT_TRUE(rcutils_error_is_set());
  rcutils_reset_error();
}

TEST(Dispatch, ActionRecordsBundleTheirServicesAndMessages) {
  struct Case {
    const rosidl_action_type_support_t* (*handle)();
    std::string action;
  };
  const Case cases[] = {
      {&rosidl_typesupport_c__get_action_type_support_handle__corvanthelis_interfaces__action__ArmTask, "ArmTask"},
      {&rosidl_typesupport_c__get_action_type_support_handle__corvanthelis_interfaces__action__ArmTaskDecision,
       "ArmTaskDecision"},
  };
  void* action_msgs = dlopen("libaction_msgs__rosidl_typesupport_c.so", RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(action_msgs, nullptr);
  const auto* cancel = handles::call<rosidl_service_type_support_t>(
      action_msgs, "rosidl_typesupport_c__get_service_type_support_handle__action_msgs__srv__CancelGoal");
  const auto* status = handles::call<rosidl_message_type_support_t>(
      action_msgs, "rosidl_typesupport_c__get_message_type_support_handle__action_msgs__msg__GoalStatusArray");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    const std::string prefix = "corvanthelis_interfaces__action__" + c.action;
    const rosidl_action_type_support_t* record = c.handle();
    EXPECT_EQ(c.handle(), record);
    EXPECT_EQ(record->goal_service_type_support, handles::service(kDispatch, prefix + "_SendGoal"));
    EXPECT_EQ(record->result_service_type_support, handles::service(kDispatch, prefix + "_GetResult"));
    EXPECT_EQ(record->cancel_service_type_support, cancel);
    EXPECT_EQ(record->feedback_message_type_support, handles::message(kDispatch, prefix + "_FeedbackMessage"));
    EXPECT_EQ(record->status_message_type_support, status);
  }
}

}  // namespace
