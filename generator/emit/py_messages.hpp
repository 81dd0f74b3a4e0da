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
  std::string checked;        // a Python expression giving `value` checked, or raising
};
FieldCode field_code(const Field& field, const LocalNames& names);

}  // namespace idlc::py_messages
