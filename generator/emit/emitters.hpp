#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/model.hpp"
#include "naming.hpp"
#include "support/generated_file.hpp"

namespace idlc {

// The files of one deliverable of the package.
FileSet emit(naming::Deliverable deliverable, const Package& package);
// The files every package's generated code shares, the same for all.
FileSet emit_runtime();

// "generated from <pkg>/<kind>/<File>; do not edit" for the sources of one interface, as a
// comment that starts with `comment`.
std::string banner(const Interface& interface, std::string_view comment = "//");
// The same for a file that serves the whole package.
std::string package_banner(const Package& package, std::string_view comment = "//");

FileSet emit_c_headers(const Package& package);
FileSet emit_c_functions(const Package& package);
FileSet emit_typesupport_dispatch(const Package& package);
FileSet emit_introspection_c(const Package& package);
FileSet emit_serialization_c(const Package& package);
FileSet emit_cpp_messages(const Package& package);
FileSet emit_introspection_cpp(const Package& package);
FileSet emit_serialization_cpp(const Package& package);
FileSet emit_typesupport_dispatch_cpp(const Package& package);
FileSet emit_python(const Package& package);
FileSet emit_generator_py(const Package& package);
FileSet emit_python_modules(const Package& package);

}  // namespace idlc
