// The dispatch records end to end: the runtime finds each support in a record's map, loads the
// provider by name and hands back the provider's own record.

#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "catalogue/dispatch_c_headers.hpp"
#include "catalogue/catalogue.hpp"
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

// A row's map names each provider and the handle by which the runtime finds the row there.
template <typename Row>
void expect_map(const type_support_map_t& map, const Row& row) {
  ASSERT_EQ(map.size, 2u);
  EXPECT_STREQ(map.package_name, "corvanthelis_interfaces");
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_STREQ(map.typesupport_identifier[i], kProviders[i]);
    EXPECT_EQ(map.symbol_name[i], catalogue::handle(kProviders[i], row));
  }
}

TEST(Dispatch, MessageRecordsLeadToTheProvidersOwnRecords) {
  for (const catalogue::Structure& type : catalogue::structures()) {
    SCOPED_TRACE(type.name);
    const auto* record = handles::message(kDispatch, type);
    EXPECT_EQ(record->typesupport_identifier, rosidl_typesupport_c__typesupport_identifier);
    EXPECT_EQ(record->func, &rosidl_typesupport_c__get_message_typesupport_handle_function);
    expect_map(map_of(record->data), type);
    for (size_t i = 0; i < 2; ++i) {
      const auto* provided = record->func(record, kProviders[i]);
      ASSERT_NE(provided, nullptr) << rcutils_get_error_string().str;
      EXPECT_EQ(provided, handles::message(kProviders[i], type));
      EXPECT_STREQ(provided->typesupport_identifier, kProviders[i]);
      EXPECT_NE(map_of(record->data).data[i], nullptr);
    }
    EXPECT_EQ(record->func(record, kDispatch), record);
  }
}

TEST(Dispatch, ServiceRecordsLeadToTheProvidersOwnRecords) {
  for (const catalogue::Service& service : catalogue::services()) {
    SCOPED_TRACE(service.name);
    const auto* record = handles::service(kDispatch, service);
    EXPECT_EQ(record->typesupport_identifier, rosidl_typesupport_c__typesupport_identifier);
    EXPECT_EQ(record->func, &rosidl_typesupport_c__get_service_typesupport_handle_function);
    expect_map(map_of(record->data), service);
    for (size_t i = 0; i < 2; ++i) {
      const auto* provided = record->func(record, kProviders[i]);
      ASSERT_NE(provided, nullptr) << rcutils_get_error_string().str;
      EXPECT_EQ(provided, handles::service(kProviders[i], service));
    }
  }
}

TEST(Dispatch, UnknownIdentifierGivesNullWithAnError) {
  rcutils_reset_error();
  const auto* record = handles::message(kDispatch, catalogue::structure("Trash"));
  EXPECT_EQ(record->func(record, "rosidl_typesupport_introspection_cpp"), nullptr);
  EXPECT_TRUE(rcutils_error_is_set());
  rcutils_reset_error();
  const auto* service = handles::service(kDispatch, catalogue::service("DetectTrash"));
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
    const catalogue::Action& action;
  };
  const Case cases[] = {
#define CATALOGUE_ACTION(package, kind, Name, c_name, ...) \
  {&rosidl_typesupport_c__get_action_type_support_handle__##c_name, catalogue::action(#Name)},
#include "catalogue/interfaces.def"
  };
  void* action_msgs = dlopen("libaction_msgs__rosidl_typesupport_c.so", RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(action_msgs, nullptr);
  const auto* cancel = handles::call<rosidl_service_type_support_t>(
      action_msgs, "rosidl_typesupport_c__get_service_type_support_handle__action_msgs__srv__CancelGoal");
  const auto* status = handles::call<rosidl_message_type_support_t>(
      action_msgs, "rosidl_typesupport_c__get_message_type_support_handle__action_msgs__msg__GoalStatusArray");
  ASSERT_EQ(std::size(cases), catalogue::actions().size());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action.name);
    const rosidl_action_type_support_t* record = c.handle();
    EXPECT_EQ(c.handle(), record);
    EXPECT_EQ(record->goal_service_type_support, handles::service(kDispatch, catalogue::service(c.action.send_goal)));
    EXPECT_EQ(record->result_service_type_support,
              handles::service(kDispatch, catalogue::service(c.action.get_result)));
    EXPECT_EQ(record->cancel_service_type_support, cancel);
    EXPECT_EQ(record->feedback_message_type_support,
              handles::message(kDispatch, catalogue::structure(c.action.feedback_message)));
    EXPECT_EQ(record->status_message_type_support, status);
  }
}

}  // namespace
