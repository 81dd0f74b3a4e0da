#include "emit/emitters.hpp"

#include <filesystem>

#include "naming.hpp"

namespace idlc {

FileSet emit(naming::Deliverable deliverable, const Package& package) {
  using naming::Deliverable;
  switch (deliverable) {
    case Deliverable::GeneratorC: {
      FileSet files = emit_c_headers(package);
      FileSet sources = emit_c_functions(package);
      files.insert(files.end(), sources.begin(), sources.end());
      return files;
    }
    case Deliverable::TypesupportDispatch: return emit_typesupport_dispatch(package);
    case Deliverable::IntrospectionC: return emit_introspection_c(package);
    case Deliverable::SerializationC: return emit_serialization_c(package);
    case Deliverable::CppMessages: return emit_cpp_messages(package);
    case Deliverable::IntrospectionCpp: return emit_introspection_cpp(package);
    case Deliverable::SerializationCpp: return emit_serialization_cpp(package);
    case Deliverable::TypesupportDispatchCpp: return emit_typesupport_dispatch_cpp(package);
    case Deliverable::Python: return emit_python(package);
    case Deliverable::GeneratorPy: return emit_generator_py(package);
    case Deliverable::PythonModules: return emit_python_modules(package);
  }
  return {};
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
