#pragma once

#include <string>

#include "support/generated_file.hpp"

namespace idlc {

// Writes every file under `root`, each to a temporary name first and then renamed into
// place, so an interrupted run never leaves a half-written source behind. Files whose content
// is unchanged are left alone, keeping their time stamps.
void write_files(const std::string& root, const FileSet& files);

}  // namespace idlc
