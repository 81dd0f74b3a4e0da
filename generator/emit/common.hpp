#pragma once

// Pieces that every C-family emitter writes the same way: header guards, C linkage, exported
// prototypes, the visibility header, and what an interface's structures use.

#include <string>
#include <vector>

#include "emit/emitters.hpp"
#include "naming.hpp"
#include "support/code_writer.hpp"

namespace idlc::common {

void open_header(CodeWriter& out, const std::string& banner_text, const std::string& path);
void close_header(CodeWriter& out, const std::string& path);
void open_c_linkage(CodeWriter& out);

void close_c_linkage(CodeWriter& out);
// An exported prototype: the visibility macro on its own line, then the declaration.
void declare(CodeWriter& out, const std::string& macro, const std::string& prototype);

// The header that defines the deliverable's visibility macro, with which it exports exactly its
// documented functions from a library whose symbols are hidden by default.
GeneratedFile visibility_header(const Package& package, naming::Deliverable deliverable);

struct InterfaceUses {
  bool strings = false;
  bool primitive_sequences = false;
  bool fixed_arrays = false;
  bool unbounded_sequences = false;
  bool bounded_sequences = false;
  // NaN or an infinity among the constants, or among the defaults: their literals need the
  // language's own header (math.h in C, <limits> in C++).
  bool non_finite_constants = false;
  bool non_finite_defaults = false;
  std::vector<const Interface*> nested;  // other interfaces nested, in order of first use
};
InterfaceUses uses_of(const Interface& interface);

// C++ namespaces as C++17 writes them: "namespace pkg::msg {" and its closing line.
void open_namespace(CodeWriter& out, const std::string& name);
void close_namespace(CodeWriter& out, const std::string& name);

}  // namespace idlc::common
