#pragma once

// The rules that the C and the C++ serialization libraries share: how big an encoding is, how
// big it can get, which bounds class a type reports, and what one element of a sequence takes
// at least. Both libraries must agree on every number, so each rule is written once here and
// each language only says how its generated code spells a member, a count or a nested call.

#include <functional>
#include <string>

#include "model/model.hpp"
#include "support/code_writer.hpp"

namespace idlc::cdr {

struct Spelling {
  std::string wire;      // alias of the runtime's namespace of the language's wire rules
  std::string message;   // what reaches a member: "ros_message->" or "ros_message."
  std::string count;     // after a string or sequence member: ".size" or ".size()"
  std::string elements;  // between a sequence member and "[i]": ".data" or ""
  std::string address;   // before a nested member handed to its size function: "&" or ""
  std::function<std::string(const Structure&)> size_function;      // exact size, qualified
  std::function<std::string(const Structure&)> max_size_function;  // maximum size, qualified
  std::function<std::string(const Structure&)> type;               // for the plain test
};

// Statements of the exact-size function: from `current_alignment`, every field in order, then
// the return of the bytes counted.
void write_size_body(CodeWriter& out, const Structure& structure, const Spelling& spelling);
// Statements of the maximum-size function, which also sets `full_bounded` and `is_plain`.
void write_max_size_body(CodeWriter& out, const Structure& structure, const Spelling& spelling);
// Whether the exact size depends on the message's values (strings, sequences, nested).
bool size_reads_message(const Structure& structure);

// The least number of bytes one element of a sequence of `type` takes on the wire, as a
// literal: a count from the wire is believed only when the rest of the stream could hold that
// many elements.
std::string minimum_element_bytes(const Type& type);

// Whether an array or sequence of `type` travels as one Fast-CDR array call. Bool does not:
// it is read octet by octet so that any octet other than 0 means true.
bool bulk_array(const Type& type);

// A loop over `count` elements; `body` writes the statements for the element at "[i]".
void each_element(CodeWriter& out, const std::string& count,
                  const std::function<void(const std::string& index)>& body);

}  // namespace idlc::cdr
