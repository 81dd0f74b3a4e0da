// Replays committed corpora through a fuzz target's property, so that every seed and every
// reproducer added after a finding is checked in each build tree, with any compiler. An input
// means the same to every target, so each target replays the corpora of all of them.
//
//   fuzz_corpus_replay TARGET DIRECTORY...

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "targets.hpp"

int main(int argc, char** argv) {
  if (argc < 3 || fuzz::targets().count(argv[1]) == 0) {
    std::fprintf(stderr, "usage: %s TARGET DIRECTORY...\ntargets:", argv[0]);
    for (const auto& [name, check] : fuzz::targets()) std::fprintf(stderr, " %s", name.c_str());
    std::fprintf(stderr, "\n");
    return 2;
  }
  const fuzz::Check check = fuzz::targets().at(argv[1]);
  std::vector<std::filesystem::path> files;
  for (int i = 2; i < argc; ++i) {
    for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
  }
  int broken = 0;
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    const std::string fault =
        check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (!fault.empty()) {
      std::fprintf(stderr, "%s: %s\n", file.c_str(), fault.c_str());
      ++broken;
    }
  }
  std::printf("%zu inputs, %d broken\n", files.size(), broken);
  return files.empty() || broken != 0 ? 1 : 0;
}
