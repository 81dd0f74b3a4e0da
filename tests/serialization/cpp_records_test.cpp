// C++ clients and the middleware reach the C++ serialization through records and exported
// names only; a record stamped with the wrong family or a pair of handles that disagree makes a
// type silently unusable from C++.

#include <gtest/gtest.h>

#include <string>

#include "cpp_catalogue.hpp"
#include "cpp_catalogue_headers.hpp"
#include "rosidl_typesupport_fastrtps_c/identifier.h"

namespace ser {
namespace {

const char* const kOtherIdentifiers[] = {"rosidl_typesupport_c",
                                         "rosidl_typesupport_introspection_cpp",
                                         "rosidl_typesupport_fastrtps_c"};

TEST(CppRecords, MessageRecordsAreTheCppFamilysAndBothHandleFormsAgree) {
  for (const CppRow& row : cpp_types()) {
    SCOPED_TRACE(row.full_name());
    const rosidl_message_type_support_t* handle = row.handle();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(row.c_linkage_handle(), handle);
    EXPECT_EQ(row.handle(), handle);
    // the variable's value itself, not a copy of its text, and not the C family's
    EXPECT_EQ(handle->typesupport_identifier, rosidl_typesupport_fastrtps_cpp::typesupport_identifier);
    EXPECT_NE(handle->typesupport_identifier, rosidl_typesupport_fastrtps_c__identifier);
    EXPECT_NE(handle, row.c_row().handle());
    const message_type_support_callbacks_t* cb = row.callbacks();
    ASSERT_NE(cb, nullptr);
    EXPECT_EQ(std::string(cb->message_namespace_) + "::" + cb->message_name_, row.cpp_name);
    EXPECT_STREQ(cb->message_name_, row.name);
    EXPECT_NE(cb->cdr_serialize, nullptr);
    EXPECT_NE(cb->cdr_deserialize, nullptr);
    EXPECT_NE(cb->get_serialized_size, nullptr);
    EXPECT_NE(cb->max_serialized_size, nullptr);
    ASSERT_NE(handle->func, nullptr);
    EXPECT_EQ(handle->func(handle, rosidl_typesupport_fastrtps_cpp::typesupport_identifier), handle);
    for (const char* other : kOtherIdentifiers) EXPECT_EQ(handle->func(handle, other), nullptr) << other;
  }
}

TEST(CppRecords, ServiceRecordsPairTheCLinkageMessageHandles) {
  for (const CppServiceRow& row : cpp_services()) {
    SCOPED_TRACE(row.name);
    const rosidl_service_type_support_t* handle = row.handle();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(row.c_linkage_handle(), handle);
    EXPECT_EQ(handle->typesupport_identifier, rosidl_typesupport_fastrtps_cpp::typesupport_identifier);
    const auto* cb = static_cast<const service_type_support_callbacks_t*>(handle->data);
    ASSERT_NE(cb, nullptr);
    EXPECT_EQ(std::string(cb->service_namespace_) + "::" + cb->service_name_, row.cpp_name);
    EXPECT_STREQ(cb->service_name_, row.name);
    EXPECT_EQ(cb->request_members_, row.request());
    EXPECT_EQ(cb->response_members_, row.response());
    EXPECT_EQ(cpp_type(std::string(row.name) + "_Request").handle(), cb->request_members_);
    ASSERT_NE(handle->func, nullptr);
    EXPECT_EQ(handle->func(handle, rosidl_typesupport_fastrtps_cpp::typesupport_identifier), handle);
    for (const char* other : kOtherIdentifiers) EXPECT_EQ(handle->func(handle, other), nullptr) << other;
  }
}

}  // namespace
}  // namespace ser
