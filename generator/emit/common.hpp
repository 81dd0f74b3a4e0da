#pragma once

// Pieces that every C-family emitter writes the same way: header guards, C linkage, exported
// prototypes, the visibility header, and what an interface's structures use.

#include <string>
#include <vector>

#include "emit/emitters.hpp"
#include "support/code_writer.hpp"

namespace idlc::common {

void open_header(CodeWriter& out, const std::string& banner_text, const std::string& path);
void close_header(CodeWriter& out, const std::string& path);
void open_c_linkage(CodeWriter& out);

void close_c_linkage(CodeWriter& out);
// An exported prototype: the visibility macro on its own line, then the declaration.
void declare(CodeWriter& out, const std::string& macro, const std::string& prototype);

// The header that defines `macro`, with which a deliverable exports exactly its documented
// functions from a library whose symbols are hidden by default.
GeneratedFile visibility_header(const Package& package, const std::string& root,
                                const std::string& path, const std::string& macro);

struct InterfaceUses {
  bool strings = false;
  bool primitive_sequences = false;
  bool fixed_arrays = false;
  bool unbounded_sequences = false;
  bool bounded_sequences = false;
  std::vector<const Interface*> nested;  // other interfaces nested, in order of first use
};
InterfaceUses uses_of(const Interface& interface);

// C++ namespaces as C++17 writes them: "namespace pkg::msg {" and its closing line.
void open_namespace(CodeWriter& out, const std::string& name);
void close_namespace(CodeWriter& out, const std::string& name);

// The structure of an interface with this name; the model has it, so null never comes back.
const Structure& structure_named(const Interface& interface, const std::string& name);

}  // namespace idlc::common
