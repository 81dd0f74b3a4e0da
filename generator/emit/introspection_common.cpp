#include "emit/introspection_common.hpp"

namespace idlc::introspection {

Shape shape_of(const Type& type) {
  switch (type.kind()) {
    case FieldKind::Primitive:
    case FieldKind::String:
    case FieldKind::Nested: return {};
    case FieldKind::PrimitiveArray:
    case FieldKind::StringArray:
    case FieldKind::NestedArray: return {true, true, type.size, false, false};
    case FieldKind::PrimitiveSequence:
    case FieldKind::StringSequence:
    case FieldKind::NestedSequence: {
      const bool bounded = type.container == Container::BoundedSequence;
      return {true, true, bounded ? type.size : 0, bounded, true};
    }
  }
  return {};
}

std::vector<naming::Accessor> accessors_of(const Field& field) {
  constexpr naming::Accessor kAccessors[] = {naming::Accessor::Size,  naming::Accessor::GetConst,
                                             naming::Accessor::Get,   naming::Accessor::Fetch,
                                             naming::Accessor::Assign, naming::Accessor::Resize};
  const Shape shape = shape_of(field.type);
  std::vector<naming::Accessor> result;
  if (!shape.has_accessors) return result;
  for (naming::Accessor accessor : kAccessors) {
    if (accessor == naming::Accessor::Resize && !shape.is_sequence) continue;
    result.push_back(accessor);
  }
  return result;
}

AccessorSignature accessor_signature(naming::Accessor accessor, Language language) {
  switch (accessor) {
    case naming::Accessor::Size: return {"size_t", "const void * untyped_member"};
    case naming::Accessor::GetConst: return {"const void *", "const void * untyped_member, size_t index"};
    case naming::Accessor::Get: return {"void *", "void * untyped_member, size_t index"};
    case naming::Accessor::Fetch:
      return {"void", "const void * untyped_member, size_t index, void * untyped_value"};
    case naming::Accessor::Assign:
      return {"void", "void * untyped_member, size_t index, const void * untyped_value"};
    case naming::Accessor::Resize:
      return {language == Language::C ? "bool" : "void", "void * untyped_member, size_t size"};
  }
  return {};
}

std::string type_code_suffix(const Type& type) {
  switch (type.element) {
    case ElementKind::Primitive: return std::string(primitive_info(type.primitive).introspection);
    case ElementKind::String: return "STRING";
    case ElementKind::Nested: return "MESSAGE";
  }
  return "";
}

}  // namespace idlc::introspection
