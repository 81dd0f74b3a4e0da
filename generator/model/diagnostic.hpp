#pragma once

#include <stdexcept>
#include <string>

namespace idlc {

// Where a definition came from, so every error can point at the line to fix.
struct SourceLocation {
  std::string file;
  int line = 0;
};

// The one way a bad definition ends compilation: "file:line: message".
class CompileError : public std::runtime_error {
 public:
  CompileError(const SourceLocation& where, const std::string& message)
      : std::runtime_error(where.file + ":" + std::to_string(where.line) + ": " + message) {}
};

}  // namespace idlc
