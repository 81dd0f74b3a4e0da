#pragma once

// A scratch folder of definition files per test, so tests never share state and can run in
// parallel under ctest; the folder goes away with the fixture.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "model/resolver.hpp"

namespace idlc::test {

namespace fs = std::filesystem;

inline constexpr const char* kPackage = "pkg";

class DefinitionTree : public ::testing::Test {
 protected:
  DefinitionTree() {
    static int counter = 0;
    root_ = fs::temp_directory_path() /
            ("idlc-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::create_directories(root_);
  }
  ~DefinitionTree() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  std::string write(const std::string& package, const std::string& relative,
                    const std::string& text) {
    const fs::path path = root_ / package / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  // A message of another package, reachable through the search path.
  void dependency(const std::string& package, const std::string& relative,
                  const std::string& text) {
    write(package, relative, text);
    search_path_[package] = (root_ / package).string();
  }

  // The two packages every action's protocol wrappers name.
  void action_dependencies() {
    dependency("unique_identifier_msgs", "msg/UUID.msg", "uint8[16] uuid\n");
    dependency("builtin_interfaces", "msg/Time.msg", "int32 sec\nuint32 nanosec\n");
  }

  // Writes the package's own files and loads them in the order given.
  const Package& load(const std::vector<std::pair<std::string, std::string>>& files) {
    PackageSources sources{kPackage, {}, search_path_};
    for (const auto& [relative, text] : files) {
      sources.files.push_back(write(kPackage, relative, text));
    }
    return load_package(model_, sources);
  }

  const Structure& structure(const std::string& name, const std::string& package = kPackage) {
    const Structure* found = model_.find_structure(package, name);
    if (found == nullptr) throw std::runtime_error("no structure " + package + "/" + name);
    return *found;
  }

  fs::path root_;
  Model model_;
  std::map<std::string, std::string> search_path_;
};

}  // namespace idlc::test
