#pragma once

// The dynamic symbols a shared library defines, as `nm -D --defined-only` lists them. Export
// tests compare them with names they build from their own catalogues: nothing may be missing
// and nothing may be extra, functions and data alike.

#include <cxxabi.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>

namespace exported_symbols {

inline std::set<std::string> of(const std::string& library) {
  std::set<std::string> names;
  FILE* pipe = popen(("nm -D --defined-only '" + library + "'").c_str(), "r");
  if (pipe == nullptr) {
    ADD_FAILURE() << "cannot run nm on " << library;
    return names;
  }
  char line[1024];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::istringstream fields(line);
    std::string address, kind, name;
    if (fields >> address >> kind >> name) names.insert(name);
  }
  EXPECT_EQ(pclose(pipe), 0) << "nm failed on " << library;
  return names;
}

// The same, C++ names demangled ("ns::f(int)"); C names stay as they are.
inline std::set<std::string> demangled_of(const std::string& library) {
  std::set<std::string> names;
  for (const std::string& name : of(library)) {
    int status = 0;
    char* demangled = abi::__cxa_demangle(name.c_str(), nullptr, nullptr, &status);
    names.insert(status == 0 && demangled != nullptr ? std::string(demangled) : name);
    std::free(demangled);
  }
  return names;
}

}  // namespace exported_symbols
