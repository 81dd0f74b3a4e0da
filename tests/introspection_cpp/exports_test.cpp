// What the C++ introspection library exports, against names built here from the catalogue:
// nothing missing, nothing extra, C++ names compared in their demangled form.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "catalogue.hpp"
#include "support/exported_symbols.hpp"

namespace {

std::string cpp_name(const char* kind, const std::string& name) {
  return std::string("corvanthelis_interfaces::") + kind + "::" + name;
}

TEST(ExportsCpp, IntrospectionLibraryExportsHandlesConstructionAndAccessors) {
  const std::string support = "rosidl_typesupport_introspection_cpp";
  const std::string message_template = "rosidl_message_type_support_t const* " + support +
                                       "::get_message_type_support_handle<";
  const std::string service_template = "rosidl_service_type_support_t const* " + support +
                                       "::get_service_type_support_handle<";
  struct Accessor {
    const char* operation;
    const char* parameters;
  };
  const Accessor accessors[] = {
      {"size", "(void const*)"},
      {"get_const", "(void const*, unsigned long)"},
      {"get", "(void*, unsigned long)"},
      {"fetch", "(void const*, unsigned long, void*)"},
      {"assign", "(void*, unsigned long, void const*)"},
      {"resize", "(void*, unsigned long)"},
  };

  std::set<std::string> expected;
  std::size_t handles = 0, lifecycle = 0, accessor_count = 0;
  for (const catalogue::Type& type : catalogue::types()) {
    const std::string helpers = cpp_name(type.kind, "") + support + "::";
    expected.insert(message_template + cpp_name(type.kind, type.name) + "_<std::allocator<void> > >()");
    expected.insert(support + "__get_message_type_support_handle__" + catalogue::c_name(type.kind, type.name));
    handles += 2;
    expected.insert(helpers + type.name + "_init_function(void*, rosidl_runtime_cpp::MessageInitialization)");
    expected.insert(helpers + type.name + "_fini_function(void*)");
    lifecycle += 2;
    for (const catalogue::Field& field : type.fields) {
      if (!field.is_sequence) continue;
      for (const Accessor& accessor : accessors) {
        expected.insert(helpers + accessor.operation + "_function__" + type.name + "__" + field.name +
                        accessor.parameters);
        ++accessor_count;
      }
    }
  }
  for (const catalogue::Service& service : catalogue::services()) {
    expected.insert(service_template + cpp_name(service.kind, service.name) + ">()");
    expected.insert(support + "__get_service_type_support_handle__" + catalogue::c_name(service.kind, service.name));
    handles += 2;
  }
  EXPECT_EQ(handles, 44u + 44u + 15u + 15u);
  EXPECT_EQ(lifecycle, 88u);
  EXPECT_EQ(accessor_count, 54u);
  EXPECT_EQ(expected.size(), handles + lifecycle + accessor_count);
  EXPECT_EQ(exported_symbols::demangled_of(INTROSPECTION_CPP_LIBRARY), expected);
}

}  // namespace
