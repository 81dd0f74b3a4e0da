// The C++ readers meet the same hostile counts as the C readers: every count position of every
// type, in an external buffer and in one the stream owns. Whatever the count says, a read may
// allocate only in proportion to the packet, must leave the caller's buffer where and as large
// as it was, must never read a byte that was not written, and must leave an object that its
// destructor releases in full.

#include <gtest/gtest.h>

#include <cstdio>

#include "cpp_catalogue.hpp"
#include "hostile_sweep.hpp"
#include "support/alloc_injector.hpp"

namespace ser {
namespace {

// Number sequences are std::vectors, which Fast-CDR's own operators read and check.
TEST(CppHostileCount, AtTheVeryEndOfTheBuffer) {
  for (const CountPosition& at : count_positions()) {
    if (!at.of_messages) continue;
    const CppRow& row = cpp_type(at.type);
    check_count_at_the_end({row.full_name(), row.callbacks(), row.create, row.destroy}, at);
  }
}

TEST(CppHostileCount, AtEveryCountPositionOfEveryType) {
  SweepTotals totals;
  for (const CppRow& row : cpp_types()) {
    const Reader reader{row.full_name(), row.callbacks(), row.create, row.destroy};
    // The C samples: the wire format is one, whichever library wrote it.
    sweep_count_positions(reader, sample(row.c_row(), 2), sample(row.c_row(), 1), totals);
    if (testing::Test::HasFailure()) return;
  }
  std::printf("%zu reads of hostile packets; the most one asked for: %zu bytes\n", totals.reads,
              totals.worst);
}

}  // namespace
}  // namespace ser
