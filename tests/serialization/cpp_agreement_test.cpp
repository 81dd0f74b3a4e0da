// The C and the C++ libraries are two doors to one wire format: a C publisher and a C++
// subscriber (or the reverse) must see the same message. For every type and many random
// contents both sides must write the same bytes, count the same sizes and bounds, and read each
// other's bytes back to the same values.

#include <gtest/gtest.h>

#include <string>

#include "catalogue.hpp"
#include "cpp_catalogue.hpp"
#include "random_fill.hpp"

namespace ser {
namespace {

constexpr int kContentsPerType = 24;
constexpr size_t kAlignments[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 12, 13};

// The same random contents on both sides, owned for the length of one check.
struct Pair {
  Pair(const CppRow& row, uint64_t seed) : c_row(row.c_row()), c(c_row.create()), cpp(row) {
    Draws for_c(seed), for_cpp(seed);
    fill_c(row.c_introspection(), c, for_c);
    fill_cpp(row.introspection(), cpp.msg, for_cpp);
  }
  ~Pair() { c_row.destroy(c); }
  Pair(const Pair&) = delete;
  Pair& operator=(const Pair&) = delete;

  const TypeRow& c_row;
  void* c;
  CppObject cpp;
};

TEST(CppAgreement, SameBytesAndSizesAsTheCSideForRandomContents) {
  for (const CppRow& row : cpp_types()) {
    for (int seed = 0; seed < kContentsPerType; ++seed) {
      SCOPED_TRACE(row.full_name() + ", contents " + std::to_string(seed));
      Pair pair(row, static_cast<uint64_t>(seed));
      const std::vector<uint8_t> bytes = write(pair.c_row, pair.c);
      EXPECT_EQ(cpp_write(row, pair.cpp.msg), bytes);
      EXPECT_EQ(row.callbacks()->get_serialized_size(pair.cpp.msg),
                pair.c_row.callbacks()->get_serialized_size(pair.c));
      for (size_t at : kAlignments) {
        SCOPED_TRACE("at " + std::to_string(at));
        EXPECT_EQ(row.size(pair.cpp.msg, at), pair.c_row.size(pair.c, at));
        EXPECT_EQ(cpp_write(row, pair.cpp.msg, at), write(pair.c_row, pair.c, at));
      }
      if (testing::Test::HasFailure()) return;  // one report is enough
    }
  }
}

TEST(CppAgreement, EachSideReadsTheOthersBytesToEqualValues) {
  for (const CppRow& row : cpp_types()) {
    for (int seed = 0; seed < kContentsPerType; ++seed) {
      SCOPED_TRACE(row.full_name() + ", contents " + std::to_string(seed));
      Pair pair(row, static_cast<uint64_t>(1000 + seed));

      Stream from_c(write(pair.c_row, pair.c));
      CppObject cpp_read(row);
      EXPECT_TRUE(row.callbacks()->cdr_deserialize(from_c.cdr, cpp_read.msg));
      EXPECT_TRUE(row.equal(cpp_read.msg, pair.cpp.msg));

      Stream from_cpp(cpp_write(row, pair.cpp.msg));
      void* c_read = pair.c_row.create();
      EXPECT_TRUE(pair.c_row.callbacks()->cdr_deserialize(from_cpp.cdr, c_read));
      EXPECT_TRUE(pair.c_row.equal(c_read, pair.c));
      pair.c_row.destroy(c_read);
      if (testing::Test::HasFailure()) return;
    }
  }
}

TEST(CppAgreement, SameMaximumSizesAndBoundsClasses) {
  for (const CppRow& row : cpp_types()) {
    SCOPED_TRACE(row.full_name());
    const TypeRow& c_row = row.c_row();
    char cpp_class = 'x', c_class = 'y';
    EXPECT_EQ(row.callbacks()->max_serialized_size(cpp_class), c_row.max_at_zero);
    c_row.callbacks()->max_serialized_size(c_class);
    EXPECT_EQ(cpp_class, c_class);
    EXPECT_EQ(cpp_class, c_row.bounds_class);
    for (size_t at : kAlignments) {
      SCOPED_TRACE("at " + std::to_string(at));
      bool cpp_bounded = false, cpp_plain = false, c_bounded = true, c_plain = true;
      EXPECT_EQ(row.max(cpp_bounded, cpp_plain, at), c_row.max(c_bounded, c_plain, at));
      EXPECT_EQ(cpp_bounded, c_bounded);
      EXPECT_EQ(cpp_plain, c_plain);
    }
  }
}

}  // namespace
}  // namespace ser
