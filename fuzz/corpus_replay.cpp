// Replays a committed corpus through a fuzz target's property, so that every seed and every
// reproducer added after a finding is checked in each build tree, with any compiler.
//
//   fuzz_corpus_replay TARGET DIRECTORY

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "c_decoders.hpp"

namespace {

using Check = std::string (*)(const std::uint8_t*, std::size_t);

const std::map<std::string, Check>& targets() {
  static const std::map<std::string, Check> all = {{"c_decoders", &fuzz::check_c_decoders}};
  return all;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || targets().count(argv[1]) == 0) {
    std::fprintf(stderr, "usage: %s c_decoders DIRECTORY\n", argv[0]);
    return 2;
  }
  const Check check = targets().at(argv[1]);
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(argv[2])) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  int broken = 0;
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    const std::string fault =
        check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (!fault.empty()) {
      std::fprintf(stderr, "%s: %s\n", file.filename().c_str(), fault.c_str());
      ++broken;
    }
  }
  std::printf("%zu inputs, %d broken\n", files.size(), broken);
  return files.empty() || broken != 0 ? 1 : 0;
}
