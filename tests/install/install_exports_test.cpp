// Every library and extension module in the install prefix exports what its twin in the build
// tree exports, which the other export tests pin down: installing must not strip, relink or
// swap a file. The prefix comes from CORVANTHELIS_INSTALL_PREFIX; tests/install/check_install.sh
// installs it and runs this program.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/exported_symbols.hpp"

namespace {

// (path under the prefix, path in the build tree) of every installed binary.
std::vector<std::pair<std::string, std::string>> installed_binaries() {
  std::vector<std::pair<std::string, std::string>> binaries;
  std::ifstream list(INSTALLED_BINARIES);
  for (std::string line; std::getline(list, line);) {
    const size_t separator = line.find('=');
    if (separator != std::string::npos) binaries.emplace_back(line.substr(0, separator), line.substr(separator + 1));
  }
  return binaries;
}

TEST(InstalledExports, SameAsInTheBuildTree) {
  const char* prefix = std::getenv("CORVANTHELIS_INSTALL_PREFIX");
  ASSERT_NE(prefix, nullptr) << "CORVANTHELIS_INSTALL_PREFIX names no prefix";
  const auto binaries = installed_binaries();
  size_t deliverables = 0;
  for (const auto& [installed, built] : binaries) {
    SCOPED_TRACE(installed);
    if (installed.find("corvanthelis_interfaces") != std::string::npos) ++deliverables;
    const std::set<std::string> exported = exported_symbols::of(built);
    EXPECT_FALSE(exported.empty());
    EXPECT_EQ(exported_symbols::of(std::string(prefix) + "/" + installed), exported);
  }
  // Every library and extension module the compiler describes, none left out of the install.
  EXPECT_EQ(deliverables, size_t{PACKAGE_BINARIES});
}

}  // namespace
