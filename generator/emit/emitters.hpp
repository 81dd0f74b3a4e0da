#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/model.hpp"
#include "support/generated_file.hpp"

namespace idlc {

// One deliverable: a function from the model to files.
struct Deliverable {
  std::string name;  // as given to --emit
  FileSet (*emit)(const Package& package);
};

const std::vector<Deliverable>& deliverables();
const Deliverable* find_deliverable(const std::string& name);

// "generated from <pkg>/<kind>/<File>; do not edit" for the sources of one interface, as a
// comment that starts with `comment`.
std::string banner(const Interface& interface, std::string_view comment = "//");
// The same for a file that serves the whole package.
std::string package_banner(const Package& package, std::string_view comment = "//");

FileSet emit_c_headers(const Package& package);
FileSet emit_c_functions(const Package& package);
FileSet emit_introspection_c(const Package& package);
FileSet emit_dispatch_c(const Package& package);
FileSet emit_c_serialization(const Package& package);
FileSet emit_cpp_messages(const Package& package);
FileSet emit_introspection_cpp(const Package& package);
FileSet emit_cpp_serialization(const Package& package);
FileSet emit_py_messages(const Package& package);
FileSet emit_py_conversion(const Package& package);
FileSet emit_py_extension(const Package& package);

}  // namespace idlc
