#pragma once

// The fixed files that every package's generated code uses, built into the compiler from the
// real files under generator/runtime/, where they are compiled, linted and tested as what they
// are.

#include <string_view>
#include <vector>

namespace idlc {

struct RuntimeFile {
  std::string_view path;  // relative to generator/runtime/, as written below the output root
  std::string_view content;
};

const std::vector<RuntimeFile>& runtime_files();

}  // namespace idlc
