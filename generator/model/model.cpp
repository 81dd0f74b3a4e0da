#include "model/model.hpp"

#include <algorithm>

namespace idlc {

FieldKind Type::kind() const {
  switch (container) {
    case Container::Single:
      switch (element) {
        case ElementKind::Primitive: return FieldKind::Primitive;
        case ElementKind::String: return FieldKind::String;
        case ElementKind::Nested: return FieldKind::Nested;
      }
      break;
    case Container::FixedArray:
      switch (element) {
        case ElementKind::Primitive: return FieldKind::PrimitiveArray;
        case ElementKind::String: return FieldKind::StringArray;
        case ElementKind::Nested: return FieldKind::NestedArray;
      }
      break;
    case Container::BoundedSequence:
    case Container::UnboundedSequence:
      switch (element) {
        case ElementKind::Primitive: return FieldKind::PrimitiveSequence;
        case ElementKind::String: return FieldKind::StringSequence;
        case ElementKind::Nested: return FieldKind::NestedSequence;
      }
      break;
  }
  return FieldKind::Primitive;  // unreachable: the switches above are exhaustive
}

const Package* Model::find_package(const std::string& name) const {
  for (const auto& package : packages) {
    if (package.name == name) return &package;
  }
  return nullptr;
}

const Structure* Model::find_structure(const std::string& package, const std::string& name) const {
  for (const auto& structure : structures) {
    if (structure.package == package && structure.name == name) return &structure;
  }
  return nullptr;
}

std::vector<const Structure*> structures_of(const Package& package) {
  std::vector<const Structure*> result;
  for (const Interface* interface : package.interfaces) {
    result.insert(result.end(), interface->structures.begin(), interface->structures.end());
  }
  return result;
}

std::vector<const Service*> services_of(const Package& package) {
  std::vector<const Service*> result;
  for (const Interface* interface : package.interfaces) {
    for (const Service& service : interface->services) result.push_back(&service);
  }
  return result;
}

std::vector<std::string> direct_dependencies(const Package& package) {
  std::vector<std::string> result;
  for (const Structure* structure : structures_of(package)) {
    for (const Field& field : structure->fields) {
      const Structure* nested = field.type.nested;
      if (nested == nullptr || nested->package == package.name) continue;
      if (std::find(result.begin(), result.end(), nested->package) == result.end()) {
        result.push_back(nested->package);
      }
    }
  }
  return result;
}

}  // namespace idlc
