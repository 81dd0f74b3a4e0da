// The member tables as a generic reader meets them: reached only through the handles, complete
// after one call, and describing the C structures exactly.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "c_layout.hpp"
#include "catalogue/catalogue.hpp"
#include "handles.hpp"
#include "member_rows.hpp"
#include "rosidl_typesupport_introspection_c/identifier.h"
#include "rosidl_typesupport_introspection_c/message_introspection.h"
#include "rosidl_typesupport_introspection_c/service_introspection.h"

namespace {

using Members = rosidl_typesupport_introspection_c__MessageMembers;
using Member = rosidl_typesupport_introspection_c__MessageMember;
constexpr const char* kSupport = "rosidl_typesupport_introspection_c";

const rosidl_message_type_support_t* handle_of(const catalogue::Structure& type) {
  return handles::message(kSupport, type);
}

const Members& members_of(const rosidl_message_type_support_t* record) {
  return *static_cast<const Members*>(record->data);
}

std::string full_name(const Members& members) {
  return std::string(members.message_namespace_) + "__" + members.message_name_;
}

// Follows every nested link from a record: each reachable record must carry the identifier
// variable's value itself and each nested member must be bound.
void expect_complete(const rosidl_message_type_support_t* record, std::set<const void*>& seen) {
  if (!seen.insert(record).second) return;
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->typesupport_identifier, rosidl_typesupport_introspection_c__identifier);
  ASSERT_NE(record->data, nullptr);
  const Members& members = members_of(record);
  EXPECT_NE(members.init_function, nullptr) << full_name(members);
  EXPECT_NE(members.fini_function, nullptr) << full_name(members);
  for (uint32_t i = 0; i < members.member_count_; ++i) {
    const Member& member = members.members_[i];
    if (member.type_id_ == 18) {
      ASSERT_NE(member.members_, nullptr) << full_name(members) << "." << member.name_;
      expect_complete(member.members_, seen);
    } else {
      EXPECT_EQ(member.members_, nullptr) << full_name(members) << "." << member.name_;
    }
  }
}

TEST(IntrospectionTables, EveryTableReachedFromAHandleIsComplete) {
  for (const catalogue::Structure& type : catalogue::structures()) {
    SCOPED_TRACE(type.name);
    std::set<const void*> seen;
    expect_complete(handle_of(type), seen);
  }
  for (const catalogue::Service& service : catalogue::services()) {
    SCOPED_TRACE(service.name);
    const auto* record = handles::service(kSupport, service);
    EXPECT_EQ(record->typesupport_identifier, rosidl_typesupport_introspection_c__identifier);
    const auto& members = *static_cast<const rosidl_typesupport_introspection_c__ServiceMembers*>(record->data);
    ASSERT_NE(members.request_members_, nullptr);
    ASSERT_NE(members.response_members_, nullptr);
  }
}

TEST(IntrospectionTables, DescribeTheCStructures) {
  for (const catalogue::Structure& type : catalogue::structures()) {
    SCOPED_TRACE(type.name);
    const Members& members = members_of(handle_of(type));
    EXPECT_EQ(full_name(members), type.c_name);
    EXPECT_STREQ(members.message_name_, type.name);
    EXPECT_EQ(members.size_of_, c_layout().size(type));
    ASSERT_EQ(members.member_count_, type.fields.size());
    for (std::size_t i = 0; i < type.fields.size(); ++i) {
      const catalogue::Field& field = type.fields[i];
      const Member& member = members.members_[i];
      SCOPED_TRACE(field.name);
      member_rows::expect_row(member, field, c_layout().offset(type, field));
      if (field.nested != nullptr && member.members_ != nullptr) {
        EXPECT_EQ(full_name(members_of(member.members_)), field.nested->c_name);
      }
    }
  }
}

TEST(IntrospectionTables, HandlesReturnTheSameRecordAndKeepTheIdentifier) {
  for (const catalogue::Structure& type : catalogue::structures()) {
    const auto* first = handle_of(type);
    const char* identifier = first->typesupport_identifier;
    EXPECT_EQ(handle_of(type), first) << type.name;
    EXPECT_EQ(first->typesupport_identifier, identifier) << type.name;
  }
  for (const catalogue::Service& service : catalogue::services()) {
    EXPECT_EQ(handles::service(kSupport, service), handles::service(kSupport, service)) << service.name;
  }
}

TEST(IntrospectionTables, ServicesPointAtTheirSidesTables) {
  for (const catalogue::Service& service : catalogue::services()) {
    SCOPED_TRACE(service.name);
    const auto* record = handles::service(kSupport, service);
    EXPECT_EQ(record->func, &get_service_typesupport_handle_function);
    const auto& members = *static_cast<const rosidl_typesupport_introspection_c__ServiceMembers*>(record->data);
    EXPECT_EQ(std::string(members.service_namespace_) + "__" + members.service_name_, service.c_name);
    EXPECT_STREQ(members.service_name_, service.name);
    const auto* request = handles::message(kSupport, catalogue::structure(service.request));
    const auto* response = handles::message(kSupport, catalogue::structure(service.response));
    EXPECT_EQ(members.request_members_, request->data);
    EXPECT_EQ(members.response_members_, response->data);
    EXPECT_EQ(record->func(record, rosidl_typesupport_introspection_c__identifier), record);
  }
}

TEST(IntrospectionTables, InitTrampolineGivesTheInitialisedStructure) {
  const auto* record = handles::message(kSupport, catalogue::structure("DetectTrash_Response"));
  const Members& members = members_of(record);
  // Garbage first: the trampoline must not rely on cleared memory.
  void* memory = std::malloc(members.size_of_);
  ASSERT_NE(memory, nullptr);
  std::memset(memory, 0xA5, members.size_of_);
  members.init_function(memory, ROSIDL_RUNTIME_C_MSG_INIT_ALL);
  const auto* message = static_cast<const corvanthelis_interfaces__srv__DetectTrash_Response*>(memory);
  EXPECT_EQ(message->trashes_detected.size, 0u);
  EXPECT_EQ(message->trashes_detected.data, nullptr);
  ASSERT_NE(message->errmsg.data, nullptr);
  EXPECT_STREQ(message->errmsg.data, "");
  members.fini_function(memory);
  std::free(memory);
}

TEST(IntrospectionTables, EmptyRequestHasItsPlaceholderMember) {
  const Members& members = members_of(handles::message(kSupport, catalogue::structure("TrashCloud_Request")));
  ASSERT_EQ(members.member_count_, 1u);
  EXPECT_STREQ(members.members_[0].name_, "structure_needs_at_least_one_member");
  EXPECT_EQ(members.members_[0].type_id_, 8);
  EXPECT_EQ(members.members_[0].offset_, 0u);
  EXPECT_FALSE(members.members_[0].is_array_);
}

}  // namespace
