// The C++ member tables as a generic reader meets them: complete from load on, reached by
// either handle form, and describing the C++ classes, whose layout differs from the C
// structures'.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "catalogue/catalogue.hpp"
#include "corvanthelis_interfaces/msg/trashes.h"
#include "cpp_layout.hpp"
#include "handles_cpp.hpp"
#include "member_rows.hpp"
#include "rosidl_typesupport_introspection_cpp/identifier.hpp"

namespace {

using handles_cpp::Member;
using handles_cpp::Members;
using handles_cpp::ServiceMembers;

std::string full_name(const Members& members) {
  return std::string(members.message_namespace_) + "::" + members.message_name_;
}

// Follows every nested link from a record: each reachable record must carry the identifier
// variable's value itself and each nested member must be bound.
void expect_complete(const rosidl_message_type_support_t* record, std::set<const void*>& seen) {
  ASSERT_NE(record, nullptr);
  if (!seen.insert(record).second) return;
  EXPECT_EQ(record->typesupport_identifier, rosidl_typesupport_introspection_cpp::typesupport_identifier);
  EXPECT_EQ(record->func, &get_message_typesupport_handle_function);
  ASSERT_NE(record->data, nullptr);
  const Members& members = handles_cpp::members_of(record);
  EXPECT_NE(members.init_function, nullptr) << full_name(members);
  EXPECT_NE(members.fini_function, nullptr) << full_name(members);
  for (uint32_t i = 0; i < members.member_count_; ++i) {
    const Member& member = members.members_[i];
    if (member.type_id_ == rosidl_typesupport_introspection_cpp::ROS_TYPE_MESSAGE) {
      ASSERT_NE(member.members_, nullptr) << full_name(members) << "." << member.name_;
      expect_complete(member.members_, seen);
    } else {
      EXPECT_EQ(member.members_, nullptr) << full_name(members) << "." << member.name_;
    }
  }
}

// Runs first in its own process (CTest runs each case alone): no service handle has been
// called, so everything checked here was done at load.
TEST(IntrospectionCppTables, AreCompleteFromLoadAndBothHandleFormsAgree) {
  for (const handles_cpp::MessageHandle& entry : handles_cpp::message_templates()) {
    SCOPED_TRACE(entry.name);
    const rosidl_message_type_support_t* record = entry.handle();
    EXPECT_EQ(handles::message(handles_cpp::kSupport, catalogue::structure(entry.name)), record);
    EXPECT_EQ(entry.handle(), record);
    std::set<const void*> seen;
    expect_complete(record, seen);
  }
}

TEST(IntrospectionCppTables, DescribeTheCppClasses) {
  for (const catalogue::Structure& type : catalogue::structures()) {
    SCOPED_TRACE(type.name);
    const Members& members = handles_cpp::members_of(type.name);
    EXPECT_EQ(full_name(members), type.cpp_name);
    EXPECT_STREQ(members.message_name_, type.name);
    EXPECT_EQ(members.size_of_, cpp_layout().size(type));
    ASSERT_EQ(members.member_count_, type.fields.size());
    for (std::size_t i = 0; i < type.fields.size(); ++i) {
      const catalogue::Field& field = type.fields[i];
      const Member& member = members.members_[i];
      SCOPED_TRACE(field.name);
      member_rows::expect_row(member, field, cpp_layout().offset(type, field));
      if (field.nested != nullptr && member.members_ != nullptr) {
        EXPECT_EQ(full_name(handles_cpp::members_of(member.members_)), field.nested->cpp_name);
      }
    }
  }
}

TEST(IntrospectionCppTables, TrashesHasTheCppLayoutNotTheCOne) {
  const Members& members = handles_cpp::members_of("Trashes");
  EXPECT_EQ(members.member_count_, 2u);
  EXPECT_EQ(members.size_of_, sizeof(corvanthelis_interfaces::msg::Trashes));
  EXPECT_NE(members.size_of_, sizeof(corvanthelis_interfaces__msg__Trashes));
}

TEST(IntrospectionCppTables, ServiceTablesPairTheirSidesAfterOneCall) {
  const auto& templates = handles_cpp::service_templates();
  ASSERT_EQ(templates.size(), catalogue::services().size());
  for (std::size_t s = 0; s < templates.size(); ++s) {
    const catalogue::Service& service = catalogue::services()[s];
    SCOPED_TRACE(service.name);
    ASSERT_STREQ(templates[s].name, service.name);
    const rosidl_service_type_support_t* record = templates[s].handle();
    EXPECT_EQ(handles::service(handles_cpp::kSupport, service), record);
    EXPECT_EQ(record->typesupport_identifier, rosidl_typesupport_introspection_cpp::typesupport_identifier);
    EXPECT_EQ(record->func, &get_service_typesupport_handle_function);
    const auto& members = *static_cast<const ServiceMembers*>(record->data);
    EXPECT_EQ(std::string(members.service_namespace_) + "::" + members.service_name_, service.cpp_name);
    EXPECT_STREQ(members.service_name_, service.name);
    EXPECT_EQ(members.request_members_, &handles_cpp::members_of(service.request));
    EXPECT_EQ(members.response_members_, &handles_cpp::members_of(service.response));
  }
}

TEST(IntrospectionCppTables, ServiceHandleSetsBothSidesWhenEitherIsMissing) {
  const auto* record = rosidl_typesupport_introspection_cpp::get_service_type_support_handle<
      corvanthelis_interfaces::srv::DetectTrash>();
  auto& members = *static_cast<ServiceMembers*>(const_cast<void*>(record->data));
  const Members* request = &handles_cpp::members_of("DetectTrash_Request");
  const Members* response = &handles_cpp::members_of("DetectTrash_Response");
  const Members* stranger = &handles_cpp::members_of("Trash");

  // Someone else set one side, and set it wrong: the call must set both.
  members.request_members_ = stranger;
  members.response_members_ = nullptr;
  EXPECT_EQ(rosidl_typesupport_introspection_cpp::get_service_type_support_handle<
                corvanthelis_interfaces::srv::DetectTrash>(),
            record);
  EXPECT_EQ(members.request_members_, request);
  EXPECT_EQ(members.response_members_, response);

  members.request_members_ = nullptr;
  members.response_members_ = stranger;
  rosidl_typesupport_introspection_cpp::get_service_type_support_handle<corvanthelis_interfaces::srv::DetectTrash>();
  EXPECT_EQ(members.request_members_, request);
  EXPECT_EQ(members.response_members_, response);
}

}  // namespace
