// The files every package's generated code shares, written once per build: the runtime's
// headers and its Python module, each as it stands in generator/runtime/ behind a banner.

#include "emit/emitters.hpp"
#include "support/runtime_files.hpp"

namespace idlc {

FileSet emit_runtime() {
  FileSet files;
  for (const RuntimeFile& file : runtime_files()) {
    const std::string path(file.path);
    const bool python = path.size() > 3 && path.compare(path.size() - 3, 3, ".py") == 0;
    const std::string banner = std::string(python ? "#" : "//") + " copied from generator/runtime/" +
                               path + " by corvanthelis_idlc; do not edit\n";
    files.push_back({path, banner + std::string(file.content)});
  }
  return files;
}

}  // namespace idlc
