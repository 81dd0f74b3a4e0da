// Writes the seed corpora of the decoder targets under a root folder, each input behind its
// type's selector:
//
//   c_decoders/       every type's sample values and every hand-assembled encoding, padding
//                     filled with garbage;
//   cpp_decoders/     strings the C++ reader keeps whole and the C reader cuts, and sequences
//                     that grow and shrink the vectors read into;
//   c_cpp_agreement/  encodings that writers normalise: bool octets other than 0 and 1, strings
//                     without their NUL or sent as a bare 0 length, garbage padding;
//   every_kind_agreement/  the test-only package's types with random contents, and counts one
//                     above the bound of each bounded sequence.
//
// The committed corpora in fuzz/corpus/ were written by this program:
//
//   fuzz_seed_corpus fuzz/corpus

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bytes.hpp"
#include "every_kind.hpp"
#include "every_kind_agreement.hpp"
#include "fuzz_types.hpp"
#include "golden.hpp"
#include "random_fill.hpp"
#include "rosidl_typesupport_introspection_c/message_introspection.h"

namespace {

using ser::Bytes;

std::size_t index_of(const std::string& type) {
  const auto& rows = ser::types();
  for (std::size_t index = 0; index < rows.size(); ++index) {
    if (rows[index].name == type) return index;
  }
  std::fprintf(stderr, "no type %s\n", type.c_str());
  std::exit(1);
}

void write_input(const std::filesystem::path& directory, const std::string& file,
                 std::uint8_t selector, const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> input{selector};
  input.insert(input.end(), payload.begin(), payload.end());
  std::filesystem::create_directories(directory);
  std::ofstream out(directory / file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(input.data()), static_cast<std::streamsize>(input.size()));
}

std::string numbered(std::size_t index, const std::string& rest) {
  char number[8];
  std::snprintf(number, sizeof number, "%02zu", index);
  return std::string(number) + "-" + rest;
}

void save(const std::filesystem::path& directory, const std::string& name, std::size_t index,
          bool owned_buffer, const std::vector<uint8_t>& payload) {
  write_input(directory, numbered(index, ser::types()[index].full_name() + "-" + name),
              fuzz::selector(index, owned_buffer), payload);
}

void samples_and_goldens(const std::filesystem::path& directory) {
  const auto& rows = ser::types();
  for (std::size_t index = 0; index < rows.size(); ++index) {
    const ser::TypeRow& row = rows[index];
    for (int variant = 0; variant < 3; ++variant) {
      void* msg = row.create();
      row.fill(msg, variant);
      save(directory, "fill" + std::to_string(variant), index, false, ser::write(row, msg));
      row.destroy(msg);
    }
  }
  int number = 0;
  for (const ser::Golden& golden : ser::goldens()) {
    save(directory, "golden" + std::to_string(number++), index_of(golden.type), false,
         golden.bytes.garbled());
  }
}

struct Odd {
  const char* type;
  const char* name;
  Bytes bytes;
};

Bytes trash(unsigned type) {
  return Bytes().u8(type).u8(2).u8(3).pad(5).pose(1, 2, 3).pose(4, 5, 6).point(7, 8, 9);
}

void write_odd(const std::filesystem::path& directory, const std::vector<Odd>& odd) {
  for (const Odd& seed : odd) {
    for (bool owned : {false, true}) {
      save(directory, std::string(seed.name) + (owned ? "-owned" : ""), index_of(seed.type), owned,
           seed.bytes.garbled());
    }
  }
}

const std::string kNulInside("ab\0cd", 5);

void kept_whole_by_cpp(const std::filesystem::path& directory) {
  Bytes response = Bytes().u32(1).u32(3);
  for (unsigned i = 0; i < 3; ++i) {
    const Bytes element = trash(10 + i);
    response.b.insert(response.b.end(), element.b.begin(), element.b.end());
    response.is_pad.insert(response.is_pad.end(), element.is_pad.begin(), element.is_pad.end());
  }
  response.str(kNulInside);
  write_odd(directory,
            {{"ArmGrab_Response", "nul-inside", Bytes().u32(0).str(kNulInside)},
             {"ArmTaskDecision_Result", "nul-first", Bytes().u8(1).pad(3).u32(2).str(std::string(3, '\0'))},
             {"Trashes", "nul-in-frame", Bytes().u32(1).u32(2).str(std::string("a\0b", 3)).u32(0)},
             {"DetectTrash_Response", "three-and-nul", response}});
}

void normalised_by_writers(const std::filesystem::path& directory) {
  write_odd(directory,
            {{"GrabSortedTrash_Response", "bool-7", Bytes().u8(7)},
             {"ArmTaskDecision_GetResult_Response", "bool-0x80",
              Bytes().u8(2).u8(0x80).pad(2).u32(5).str("")},
             {"SamProcess_Response", "bool-9", Bytes().u8(9).u8(3).pad(2).u32(0)},
             {"ArmGrab_Response", "no-terminating-nul", Bytes().u32(7).u32(3).u8('a').u8('b').u8('c')},
             {"ArmGrab_Response", "bare-zero-length", Bytes().u32(7).u32(0)},
             // the empty float64 sequence ends the payload 4 bytes short of an 8-byte boundary
             {"DetectedWastes", "empty-float64-sequence",
              Bytes().u32(1).u32(2).str("").pad(3).u32(1).u32(7).u32(0).u32(0).u32(0)}});
}

// The test-only package's types with random contents, and each bounded sequence of Bounded one
// element above its bound (written as its unbounded twin, which has the same layout), behind
// both buffer kinds.
void every_kind(const std::filesystem::path& directory) {
  using ser::every_kind::make;
  using ser::every_kind::Row;
  using Members = rosidl_typesupport_introspection_c__MessageMembers;
  const auto& rows = ser::every_kind::rows();
  auto save_both = [&](std::size_t index, const std::string& name, const std::vector<uint8_t>& payload) {
    for (bool owned : {false, true}) {
      write_input(directory, numbered(index, rows[index].name + ("-" + name) + (owned ? "-owned" : "")),
                  fuzz::every_kind_selector(index, owned), payload);
    }
  };
  for (std::size_t index = 0; index < rows.size(); ++index) {
    const Row& row = rows[index];
    for (std::uint64_t seed = 0; seed < 3; ++seed) {
      const auto msg = make(row.c);
      ser::Draws draws(seed);
      ser::fill_c(row.c.introspection(), msg.get(), draws);
      save_both(index, "random" + std::to_string(seed),
                ser::write_through(row.c.callbacks(), row.name, msg.get(), row.c.size(msg.get(), 0), 0));
    }
  }
  const Row& unbounded = ser::every_kind::row("Unbounded");
  const auto& bounded = *static_cast<const Members*>(ser::every_kind::row("Bounded").c.introspection()->data);
  const auto& wide = *static_cast<const Members*>(unbounded.c.introspection()->data);
  for (std::uint32_t i = 0; i < bounded.member_count_; ++i) {
    const auto msg = make(unbounded.c);
    if (!ser::every_kind::resize_c_sequence(wide.members_[i], msg.get(),
                                            bounded.members_[i].array_size_ + 1)) {
      std::exit(1);
    }
    std::vector<uint8_t> payload =
        ser::write_through(unbounded.c.callbacks(), "Unbounded", msg.get(), unbounded.c.size(msg.get(), 0), 0);
    payload.resize(payload.size() + 64);  // room for the count, so that only the bound refuses it
    for (std::size_t index = 0; index < rows.size(); ++index) {
      if (std::string(rows[index].name) == "Bounded") {
        save_both(index, std::string(bounded.members_[i].name_) + "-above-bound", payload);
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_ROOT\n", argv[0]);
    return 2;
  }
  const std::filesystem::path root = argv[1];
  samples_and_goldens(root / "c_decoders");
  kept_whole_by_cpp(root / "cpp_decoders");
  normalised_by_writers(root / "c_cpp_agreement");
  every_kind(root / "every_kind_agreement");
  return 0;
}
