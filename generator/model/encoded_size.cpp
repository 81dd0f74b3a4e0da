#include "model/encoded_size.hpp"

namespace idlc {
namespace {

// The uint32 that leads every string and sequence.
constexpr std::size_t kPrefixBytes = 4;

}  // namespace

std::size_t minimum_encoded_size(const Structure& structure) {
  std::size_t total = 0;
  for (const Field& field : structure.fields) total += minimum_encoded_size(field.type);
  return total;
}

std::size_t minimum_encoded_size(const Type& type) {
  switch (type.kind()) {
    case FieldKind::Primitive:
    case FieldKind::String:
    case FieldKind::Nested: return minimum_element_encoded_size(type);
    case FieldKind::PrimitiveArray:
    case FieldKind::StringArray:
    case FieldKind::NestedArray: return type.size * minimum_element_encoded_size(type);
    case FieldKind::PrimitiveSequence:
    case FieldKind::StringSequence:
    case FieldKind::NestedSequence: return kPrefixBytes;
  }
  return 0;  // unreachable: the switch is exhaustive
}

std::size_t minimum_element_encoded_size(const Type& type) {
  switch (type.element) {
    case ElementKind::Primitive: return primitive_info(type.primitive).wire_size;
    case ElementKind::String: return kPrefixBytes;
    case ElementKind::Nested: return minimum_encoded_size(*type.nested);
  }
  return 0;  // unreachable: the switch is exhaustive
}

}  // namespace idlc
