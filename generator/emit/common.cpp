#include "emit/common.hpp"

#include <algorithm>
#include <cmath>
#include <variant>

#include "naming.hpp"

namespace idlc::common {

void open_header(CodeWriter& out, const std::string& banner_text, const std::string& path) {
  out.append(banner_text);
  out.line();
  out.line("#ifndef $guard$", {{"guard", naming::include_guard(path)}});
  out.line("#define $guard$", {{"guard", naming::include_guard(path)}});
  out.line();
}

void close_header(CodeWriter& out, const std::string& path) {
  out.line("#endif  // $guard$", {{"guard", naming::include_guard(path)}});
}

void open_c_linkage(CodeWriter& out) { out.lines("#ifdef __cplusplus\nextern \"C\" {\n#endif\n\n"); }

void close_c_linkage(CodeWriter& out) { out.lines("#ifdef __cplusplus\n}\n#endif\n\n"); }

void declare(CodeWriter& out, const std::string& macro, const std::string& prototype) {
  out.line(macro);
  out.line(prototype + ";");
  out.line();
}

GeneratedFile visibility_header(const Package& package, naming::Deliverable deliverable) {
  const std::string path = naming::visibility_header(package.name, deliverable);
  const std::string macro = naming::visibility_macro(package.name, deliverable);
  CodeWriter out;
  open_header(out, package_banner(package), path);
  out.line("// The library is built with hidden symbols; exactly the declared functions are exported.");
  out.line("#define $macro$ __attribute__((visibility(\"default\")))", {{"macro", macro}});
  out.line();
  close_header(out, path);
  return {naming::root(deliverable) + "/" + path, out.text()};
}

namespace {

bool non_finite(const Scalar& scalar) {
  const auto* number = std::get_if<double>(&scalar.value);
  return number != nullptr && !std::isfinite(*number);
}

}  // namespace

InterfaceUses uses_of(const Interface& interface) {
  InterfaceUses uses;
  for (const Structure* structure : interface.structures) {
    for (const Constant& constant : structure->constants) {
      if (non_finite(constant.value)) uses.non_finite_constants = true;
    }
    for (const Field& field : structure->fields) {
      if (field.default_value) {
        for (const Scalar& item : field.default_value->items) {
          if (non_finite(item)) uses.non_finite_defaults = true;
        }
      }
      const Type& type = field.type;
      if (type.element == ElementKind::String) uses.strings = true;
      if (type.element == ElementKind::Primitive && type.is_sequence()) uses.primitive_sequences = true;
      if (type.container == Container::FixedArray) uses.fixed_arrays = true;
      if (type.container == Container::UnboundedSequence) uses.unbounded_sequences = true;
      if (type.container == Container::BoundedSequence) uses.bounded_sequences = true;
      if (type.element != ElementKind::Nested || type.nested->owner == &interface) continue;
      if (std::find(uses.nested.begin(), uses.nested.end(), type.nested->owner) == uses.nested.end()) {
        uses.nested.push_back(type.nested->owner);
      }
    }
  }
  return uses;
}

void open_namespace(CodeWriter& out, const std::string& name) {
  out.line("namespace $name$ {", {{"name", name}});
  out.line();
}

void close_namespace(CodeWriter& out, const std::string& name) {
  out.line("}  // namespace $name$", {{"name", name}});
  out.line();
}

}  // namespace idlc::common
