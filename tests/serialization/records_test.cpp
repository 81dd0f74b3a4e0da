// The middleware finds everything through records and exported names, never through headers,
// so a wrong pointer or a missing symbol here is a type that silently cannot be used.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "catalogue.hpp"
#include "catalogue_headers.hpp"
#include "rosidl_typesupport_fastrtps_cpp/service_type_support.h"

namespace ser {
namespace {

const char* const kOtherIdentifiers[] = {"rosidl_typesupport_c",
                                         "rosidl_typesupport_introspection_c",
                                         "rosidl_typesupport_fastrtps_cpp"};

TEST(Records, MessageRecordsCarryTheirOwnIdentityAndCallbacks) {
  for (const TypeRow& row : types()) {
    SCOPED_TRACE(row.full_name());
    const rosidl_message_type_support_t* handle = row.handle();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(row.handle(), handle);
    EXPECT_EQ(handle->typesupport_identifier, rosidl_typesupport_fastrtps_c__identifier);
    const message_type_support_callbacks_t* cb = row.callbacks();
    ASSERT_NE(cb, nullptr);
    EXPECT_EQ(std::string(cb->message_namespace_) + "::" + cb->message_name_, row.cpp_name);
    EXPECT_STREQ(cb->message_name_, row.name);
    EXPECT_NE(cb->cdr_serialize, nullptr);
    EXPECT_NE(cb->cdr_deserialize, nullptr);
    EXPECT_NE(cb->get_serialized_size, nullptr);
    EXPECT_NE(cb->max_serialized_size, nullptr);
    ASSERT_NE(handle->func, nullptr);
    EXPECT_EQ(handle->func(handle, rosidl_typesupport_fastrtps_c__identifier), handle);
    for (const char* other : kOtherIdentifiers)
      EXPECT_EQ(handle->func(handle, other), nullptr) << other;
  }
  EXPECT_STREQ(type("ArmTask_SendGoal_Request").callbacks()->message_namespace_,
               "corvanthelis_interfaces::action");
  EXPECT_STREQ(type("TrashCloud_Request").callbacks()->message_namespace_,
               "corvanthelis_interfaces::srv");
}

TEST(Records, ServiceRecordsPairTheVeryMessageHandles) {
  for (const ServiceRow& row : services()) {
    SCOPED_TRACE(row.name);
    const rosidl_service_type_support_t* handle = row.handle();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(row.handle(), handle);
    EXPECT_EQ(handle->typesupport_identifier, rosidl_typesupport_fastrtps_c__identifier);
    const auto* cb = static_cast<const service_type_support_callbacks_t*>(handle->data);
    ASSERT_NE(cb, nullptr);
    EXPECT_EQ(std::string(cb->service_namespace_) + "::" + cb->service_name_, row.cpp_name);
    EXPECT_STREQ(cb->service_name_, row.name);
    EXPECT_EQ(cb->request_members_, row.request());
    EXPECT_EQ(cb->response_members_, row.response());
    ASSERT_NE(handle->func, nullptr);
    EXPECT_EQ(handle->func(handle, rosidl_typesupport_fastrtps_c__identifier), handle);
    for (const char* other : kOtherIdentifiers)
      EXPECT_EQ(handle->func(handle, other), nullptr) << other;
  }
}

}  // namespace
}  // namespace ser
