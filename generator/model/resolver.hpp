#pragma once

// Loads the definitions of one package, and on demand those of the packages it names, into
// the model. Every input error surfaces here as a CompileError, before anything is emitted.

#include <map>
#include <string>
#include <vector>

#include "model/model.hpp"

namespace idlc {

struct PackageSources {
  std::string package;
  std::vector<std::string> files;  // .../msg/X.msg, .../srv/Y.srv, .../action/Z.action
  // Definition roots of the other packages (holding msg/, srv/, action/), by package name.
  std::map<std::string, std::string> search_path;
};

const Package& load_package(Model& model, const PackageSources& sources);

}  // namespace idlc
