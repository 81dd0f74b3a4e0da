#pragma once

// Pieces of the Python message classes emitter, shared by its source files.

#include <map>
#include <string>

#include "emit/emitters.hpp"

namespace idlc::py_messages {

// How a module refers to each message class it uses: its own classes by name, imported
// ones by name or, when that name is taken, by an alias.
using LocalNames = std::map<const Structure*, std::string>;

// What one field contributes to its class.
struct FieldCode {
  std::string default_value;  // a Python expression giving a fresh default
  // Whether the default is made on the field's first read, checked and kept as an assignment
  // would be, rather than stored by the constructor.
  bool made_on_first_read = false;
  // A condition under which `value` may be wrong and must pass `checked`; empty when every
  // value must (containers, whose items are checked one by one).
  std::string suspect;
  std::string checked;    // a Python expression giving `value` checked, or raising
  std::string slot_type;  // the field's type description in SLOT_TYPES
};
FieldCode field_code(const Field& field, const LocalNames& names);

}  // namespace idlc::py_messages
