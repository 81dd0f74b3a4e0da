#pragma once

// Values written as JSON or in YAML's flow style: {key: value, ...}, [item, ...], double-quoted
// strings, and bare scalars (numbers, true, false). Keys may be bare words, as YAML writes them.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace inspect {

struct Value {
  enum class Kind { Scalar, String, List, Map };
  Kind kind = Kind::Scalar;
  std::string text;  // a scalar's token or a string's content, escapes resolved
  std::vector<Value> items;
  std::vector<std::pair<std::string, Value>> fields;  // in the order written
  std::size_t offset = 0;  // where the value starts in the input
};

// The one value the text holds; anything else, or nesting deeper than any message could need,
// is a Failure naming the offset.
Value parse_value_text(const std::string& text);

}  // namespace inspect
