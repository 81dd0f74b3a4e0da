#pragma once

#include <string>
#include <vector>

namespace idlc {

// One file an emitter produces; the driver writes them all at once when every emitter is done.
struct GeneratedFile {
  std::string path;  // relative to the package's generated root
  std::string content;
};
using FileSet = std::vector<GeneratedFile>;

}  // namespace idlc
