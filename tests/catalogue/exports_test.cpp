// A library's dynamic symbol table is its whole interface: every library of the package
// exports exactly the names the catalogue gives it, functions and data alike, nothing missing
// and nothing extra. C++ names are compared as the demangler spells them.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "catalogue/catalogue.hpp"
#include "support/exported_symbols.hpp"

namespace {

struct Library {
  const char* deliverable;
  const char* file;
  bool demangled;
  // How many names each structure, service, action and sequence field gives it.
  std::size_t per_structure, per_service, per_action, per_sequence_field;
};

const Library kLibraries[] = {
    {"rosidl_generator_c", C_MESSAGES_LIBRARY, false, 12, 0, 0, 0},
    {"rosidl_typesupport_c", DISPATCH_LIBRARY, false, 1, 1, 1, 0},
    {"rosidl_typesupport_introspection_c", INTROSPECTION_C_LIBRARY, false, 3, 1, 0, 6},
    {"rosidl_typesupport_introspection_cpp", INTROSPECTION_CPP_LIBRARY, true, 4, 2, 0, 6},
    {"rosidl_typesupport_fastrtps_c", FASTRTPS_C_LIBRARY, false, 3, 1, 0, 0},
    {"rosidl_typesupport_fastrtps_cpp", FASTRTPS_CPP_LIBRARY, true, 6, 2, 0, 0},
    {"rosidl_typesupport_cpp", DISPATCH_CPP_LIBRARY, true, 2, 2, 2, 0},
};

TEST(Exports, EveryLibraryExportsExactlyTheNamesOfItsCatalogue) {
  for (const Library& library : kLibraries) {
    SCOPED_TRACE(library.deliverable);
    const std::set<std::string> expected = catalogue::exports(library.deliverable);
    EXPECT_EQ(expected.size(), library.per_structure * catalogue::structures().size() +
                                   library.per_service * catalogue::services().size() +
                                   library.per_action * catalogue::actions().size() +
                                   library.per_sequence_field * catalogue::sequence_fields());
    const std::set<std::string> actual = library.demangled
                                             ? exported_symbols::demangled_of(library.file)
                                             : exported_symbols::of(library.file);
    for (const auto& name : expected) EXPECT_EQ(actual.count(name), 1u) << "missing: " << name;
    for (const auto& name : actual) EXPECT_EQ(expected.count(name), 1u) << "unexpected: " << name;
  }
}

}  // namespace
