#include "emit/emitters.hpp"

#include <filesystem>

#include "naming.hpp"

namespace idlc {
namespace {

FileSet emit_c(const Package& package) {
  FileSet files = emit_c_headers(package);
  FileSet sources = emit_c_functions(package);
  files.insert(files.end(), sources.begin(), sources.end());
  return files;
}

}  // namespace

const std::vector<Deliverable>& deliverables() {
  static const std::vector<Deliverable> all = {
      {"c", &emit_c},
      {"introspection_c", &emit_introspection_c},
      {"dispatch_c", &emit_dispatch_c},
      {"fastrtps_c", &emit_c_serialization},
      {"cpp", &emit_cpp_messages},
      {"introspection_cpp", &emit_introspection_cpp},
      {"fastrtps_cpp", &emit_cpp_serialization},
      {"py_messages", &emit_py_messages},
      {"py_conversion", &emit_py_conversion},
      {"py_extension", &emit_py_extension},
  };
  return all;
}

const Deliverable* find_deliverable(const std::string& name) {
  for (const Deliverable& deliverable : deliverables()) {
    if (deliverable.name == name) return &deliverable;
  }
  return nullptr;
}

std::string banner(const Interface& interface, std::string_view comment) {
  const std::string file = std::filesystem::path(interface.source_file).filename().string();
  return std::string(comment) + " generated from " + interface.package + "/" +
         naming::kind(interface.kind) + "/" + file + " by corvanthelis_idlc; do not edit\n";
}

std::string package_banner(const Package& package, std::string_view comment) {
  return std::string(comment) + " generated for the package " + package.name +
         " by corvanthelis_idlc; do not edit\n";
}

}  // namespace idlc
