// What the two libraries export, against names built here from the catalogue: nothing missing,
// nothing extra.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "catalogue.hpp"
#include "support/exported_symbols.hpp"

namespace {

const std::string kPackage = "corvanthelis_interfaces";

TEST(Exports, IntrospectionLibraryExportsHandlesTrampolinesAndAccessors) {
  std::set<std::string> expected;
  const std::string prefix = "rosidl_typesupport_introspection_c";
  size_t accessors = 0;
  for (const catalogue::Type& type : catalogue::types()) {
    const std::string c_name = catalogue::c_name(type.kind, type.name);
    const std::string helper = c_name + "__rosidl_typesupport_introspection_c__";
    expected.insert(prefix + "__get_message_type_support_handle__" + c_name);
    expected.insert(helper + type.name + "_init_function");
    expected.insert(helper + type.name + "_fini_function");
    for (const catalogue::Field& field : type.fields) {
      if (!field.is_sequence) continue;
      for (const char* operation : {"size", "get_const", "get", "fetch", "assign", "resize"}) {
        expected.insert(helper + operation + "_function__" + type.name + "__" + field.name);
        ++accessors;
      }
    }
  }
  for (const catalogue::Service& service : catalogue::services()) {
    expected.insert(prefix + "__get_service_type_support_handle__" + catalogue::c_name(service.kind, service.name));
  }
  EXPECT_EQ(accessors, 54u);
  EXPECT_EQ(expected.size(), 44u + 15u + 88u + 54u);
  EXPECT_EQ(exported_symbols::of(INTROSPECTION_LIBRARY), expected);
}

TEST(Exports, DispatchLibraryExportsItsHandles) {
  std::set<std::string> expected;
  const std::string prefix = "rosidl_typesupport_c";
  for (const catalogue::Type& type : catalogue::types()) {
    expected.insert(prefix + "__get_message_type_support_handle__" + catalogue::c_name(type.kind, type.name));
  }
  for (const catalogue::Service& service : catalogue::services()) {
    expected.insert(prefix + "__get_service_type_support_handle__" + catalogue::c_name(service.kind, service.name));
  }
  for (const char* action : {"ArmTask", "ArmTaskDecision"}) {
    expected.insert(prefix + "__get_action_type_support_handle__" + catalogue::c_name("action", action));
  }
  EXPECT_EQ(expected.size(), 61u);
  EXPECT_EQ(exported_symbols::of(DISPATCH_LIBRARY), expected);
}

}  // namespace
