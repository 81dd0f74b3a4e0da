// C++ clients and the middleware reach the C++ serialization through records and exported
// names only; a record stamped with the wrong family or a pair of handles that disagree makes a
// type silently unusable from C++.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "cpp_catalogue.hpp"
#include "cpp_catalogue_headers.hpp"
#include "rosidl_typesupport_fastrtps_c/identifier.h"
#include "support/exported_symbols.hpp"

namespace ser {
namespace {

const char* const kOtherIdentifiers[] = {"rosidl_typesupport_c",
                                         "rosidl_typesupport_introspection_cpp",
                                         "rosidl_typesupport_fastrtps_c"};

TEST(CppRecords, MessageRecordsAreTheCppFamilysAndBothHandleFormsAgree) {
  std::set<std::string> names;
  for (const CppRow& row : cpp_types()) {
    SCOPED_TRACE(row.full_name());
    names.insert(row.full_name());
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
    EXPECT_STREQ(cb->message_namespace_, ("corvanthelis_interfaces::" + std::string(row.kind)).c_str());
    EXPECT_STREQ(cb->message_name_, row.name);
    EXPECT_NE(cb->cdr_serialize, nullptr);
    EXPECT_NE(cb->cdr_deserialize, nullptr);
    EXPECT_NE(cb->get_serialized_size, nullptr);
    EXPECT_NE(cb->max_serialized_size, nullptr);
    ASSERT_NE(handle->func, nullptr);
    EXPECT_EQ(handle->func(handle, rosidl_typesupport_fastrtps_cpp::typesupport_identifier), handle);
    for (const char* other : kOtherIdentifiers) EXPECT_EQ(handle->func(handle, other), nullptr) << other;
  }
  EXPECT_EQ(names.size(), 44u);
}

TEST(CppRecords, ServiceRecordsPairTheCLinkageMessageHandles) {
  ASSERT_EQ(cpp_services().size(), 15u);
  for (const CppServiceRow& row : cpp_services()) {
    SCOPED_TRACE(row.name);
    const rosidl_service_type_support_t* handle = row.handle();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(row.c_linkage_handle(), handle);
    EXPECT_EQ(handle->typesupport_identifier, rosidl_typesupport_fastrtps_cpp::typesupport_identifier);
    const auto* cb = static_cast<const service_type_support_callbacks_t*>(handle->data);
    ASSERT_NE(cb, nullptr);
    EXPECT_STREQ(cb->service_namespace_, ("corvanthelis_interfaces::" + std::string(row.kind)).c_str());
    EXPECT_STREQ(cb->service_name_, row.name);
    EXPECT_EQ(cb->request_members_, row.request());
    EXPECT_EQ(cb->response_members_, row.response());
    EXPECT_EQ(cpp_type(std::string(row.name) + "_Request").handle(), cb->request_members_);
    ASSERT_NE(handle->func, nullptr);
    EXPECT_EQ(handle->func(handle, rosidl_typesupport_fastrtps_cpp::typesupport_identifier), handle);
    for (const char* other : kOtherIdentifiers) EXPECT_EQ(handle->func(handle, other), nullptr) << other;
  }
}

TEST(CppRecords, LibraryExportsExactlyTheDocumentedFunctions) {
  std::set<std::string> expected;
  for (const CppRow& row : cpp_types()) {
    const std::string ns = "corvanthelis_interfaces::" + std::string(row.kind) + "::typesupport_fastrtps_cpp::";
    const std::string type = row.class_name();
    expected.insert(ns + "cdr_serialize(" + type + " const&, eprosima::fastcdr::Cdr&)");
    expected.insert(ns + "cdr_deserialize(eprosima::fastcdr::Cdr&, " + type + "&)");
    expected.insert(ns + "get_serialized_size(" + type + " const&, unsigned long)");
    expected.insert(ns + "max_serialized_size_" + row.name + "(bool&, bool&, unsigned long)");
    expected.insert("rosidl_typesupport_fastrtps_cpp__get_message_type_support_handle__corvanthelis_interfaces__" +
                    row.full_name());
    expected.insert("rosidl_message_type_support_t const* "
                    "rosidl_typesupport_fastrtps_cpp::get_message_type_support_handle<" + type + " >()");
  }
  for (const CppServiceRow& row : cpp_services()) {
    const std::string full = std::string(row.kind) + "__" + row.name;
    expected.insert("rosidl_typesupport_fastrtps_cpp__get_service_type_support_handle__corvanthelis_interfaces__" + full);
    expected.insert("rosidl_service_type_support_t const* "
                    "rosidl_typesupport_fastrtps_cpp::get_service_type_support_handle<corvanthelis_interfaces::" +
                    std::string(row.kind) + "::" + row.name + ">()");
  }
  ASSERT_EQ(expected.size(), 4u * 44 + 2u * 44 + 2u * 15);

  EXPECT_EQ(exported_symbols::demangled_of(FASTRTPS_CPP_LIBRARY), expected);
}

}  // namespace
}  // namespace ser
