#include "support/output.hpp"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace idlc {

namespace fs = std::filesystem;

namespace {

bool has_content(const fs::path& path, const std::string& content) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream existing;
  existing << in.rdbuf();
  return existing.str() == content;
}

}  // namespace

void write_files(const std::string& root, const FileSet& files) {
  for (const GeneratedFile& file : files) {
    const fs::path target = fs::path(root) / file.path;
    if (has_content(target, file.content)) continue;
    fs::create_directories(target.parent_path());
    const fs::path temporary = target.string() + ".tmp";
    {
      std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
      out << file.content;
      if (!out) throw std::runtime_error("cannot write " + temporary.string());
    }
    fs::rename(temporary, target);
  }
}

}  // namespace idlc
