// Writes the seed corpus of the decoder targets: every type's sample values and every
// hand-assembled encoding (padding filled with garbage), each behind its type's selector.
// The committed corpus in fuzz/corpus/ was written by this program:
//
//   fuzz_seed_corpus fuzz/corpus/c_decoders

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz_types.hpp"
#include "golden.hpp"

namespace {

void save(const std::filesystem::path& directory, const std::string& name, std::size_t index,
          const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> input{fuzz::selector(index, false)};
  input.insert(input.end(), payload.begin(), payload.end());
  std::ofstream out(directory / name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(input.data()), static_cast<std::streamsize>(input.size()));
}

std::string stem(std::size_t index, const ser::TypeRow& row) {
  char number[8];
  std::snprintf(number, sizeof number, "%02zu", index);
  return std::string(number) + "-" + row.full_name();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
    return 2;
  }
  const std::filesystem::path directory = argv[1];
  std::filesystem::create_directories(directory);
  const auto& rows = ser::types();
  for (std::size_t index = 0; index < rows.size(); ++index) {
    const ser::TypeRow& row = rows[index];
    for (int variant = 0; variant < 3; ++variant) {
      void* msg = row.create();
      row.fill(msg, variant);
      save(directory, stem(index, row) + "-fill" + std::to_string(variant), index, ser::write(row, msg));
      row.destroy(msg);
    }
  }
  int number = 0;
  for (const ser::Golden& golden : ser::goldens()) {
    for (std::size_t index = 0; index < rows.size(); ++index) {
      if (std::string(rows[index].name) != golden.type) continue;
      save(directory, stem(index, rows[index]) + "-golden" + std::to_string(number), index,
           golden.bytes.garbled());
    }
    ++number;
  }
  return 0;
}
