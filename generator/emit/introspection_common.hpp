#pragma once

// What the C and the C++ member tables say alike about a field: the columns that depend on its
// shape, the accessors it has and the name of its type code.

#include <cstddef>
#include <string>
#include <vector>

#include "model/model.hpp"
#include "naming.hpp"

namespace idlc::introspection {

struct Shape {
  bool has_accessors = false;
  bool is_array = false;
  std::size_t array_size = 0;  // N of a fixed array, the bound of a bounded sequence
  bool is_upper_bound = false;
  bool is_sequence = false;    // its length changes; a fixed array has none to change
};
Shape shape_of(const Type& type);

// The accessors of a field, in member-row order: six for a sequence, five for a fixed array
// (which cannot be resized), none for a single value.
std::vector<naming::Accessor> accessors_of(const Field& field);

// The C and the C++ accessors take the same arguments and give the same results, except that
// a C resize reports failure as false and a C++ resize by an exception.
enum class Language { C, Cpp };
struct AccessorSignature {
  std::string result;
  std::string parameters;
};
AccessorSignature accessor_signature(naming::Accessor accessor, Language language);

// The enumerator suffix of the field's type code, of its elements for an array or sequence:
// "UINT8", "STRING", "MESSAGE".
std::string type_code_suffix(const Type& type);

}  // namespace idlc::introspection
