#include "support/alloc_injector.hpp"

#include <gtest/gtest.h>
#include <rcutils/allocator.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

// Called through volatile pointers so the optimiser cannot pair up or drop the allocations
// these tests are about.
void* (*volatile sys_malloc)(std::size_t) = std::malloc;
void* (*volatile sys_calloc)(std::size_t, std::size_t) = std::calloc;
void* (*volatile sys_realloc)(void*, std::size_t) = std::realloc;
void (*volatile sys_free)(void*) = std::free;

class AllocInjectorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!alloc_injector::available()) {
      GTEST_SKIP() << "allocation interposition is off in sanitizer builds";
    }
    alloc_injector::reset();
  }
  void TearDown() override {
    alloc_injector::stop();
    alloc_injector::reset();
  }
};

TEST_F(AllocInjectorTest, FailsExactlyTheArmedCallocAndOnlyThatOne) {
  void* blocks[3] = {};
  {
    alloc_injector::Scope scope;
    alloc_injector::arm(2);
    for (auto& block : blocks) block = sys_calloc(4, 8);
  }
  EXPECT_NE(blocks[0], nullptr);
  EXPECT_EQ(blocks[1], nullptr);
  EXPECT_NE(blocks[2], nullptr);
  EXPECT_EQ(alloc_injector::injected_failures(), 1u);
  EXPECT_FALSE(alloc_injector::armed());
  // The failed call allocated nothing, so only the two real blocks are live.
  EXPECT_EQ(alloc_injector::live_blocks(), 2u);
  for (auto* block : blocks) sys_free(block);
  EXPECT_EQ(alloc_injector::live_blocks(), 0u);
}

// The point of the injector: allocations made inside a shared library must reach it.
TEST_F(AllocInjectorTest, ReachesTheRcutilsDefaultAllocator) {
  rcutils_allocator_t allocator = rcutils_get_default_allocator();
  void* first = nullptr;
  void* second = nullptr;
  void* zeroed = nullptr;
  {
    alloc_injector::Scope scope;
    first = allocator.allocate(32, allocator.state);
    alloc_injector::arm(1);
    second = allocator.allocate(32, allocator.state);
    zeroed = allocator.zero_allocate(3, 16, allocator.state);
  }
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(second, nullptr);
  EXPECT_NE(zeroed, nullptr);
  EXPECT_EQ(alloc_injector::malloc_calls(), 2u);
  EXPECT_EQ(alloc_injector::calloc_calls(), 1u);
  EXPECT_EQ(alloc_injector::live_blocks(), 2u);
  allocator.deallocate(first, allocator.state);
  allocator.deallocate(zeroed, allocator.state);
  EXPECT_EQ(alloc_injector::live_blocks(), 0u);
}

TEST_F(AllocInjectorTest, CountsEachKindOnlyWhileCounting) {
  void* outside = sys_malloc(8);
  void* a = nullptr;
  void* b = nullptr;
  {
    alloc_injector::Scope scope;
    a = sys_malloc(10);
    b = sys_calloc(2, 3);
    a = sys_realloc(a, 100);
    sys_free(b);
  }
  void* later = sys_malloc(8);
  EXPECT_EQ(alloc_injector::malloc_calls(), 1u);
  EXPECT_EQ(alloc_injector::calloc_calls(), 1u);
  EXPECT_EQ(alloc_injector::realloc_calls(), 1u);
  EXPECT_EQ(alloc_injector::calls(), 3u);
  EXPECT_EQ(alloc_injector::largest_request(), 100u);
  sys_free(a);
  sys_free(outside);
  sys_free(later);
}

TEST_F(AllocInjectorTest, ArmingCountsFromNowNotFromReset) {
  alloc_injector::Scope scope;
  void* before = sys_malloc(1);
  alloc_injector::arm(1);
  void* failed = sys_malloc(1);
  void* after = sys_malloc(1);
  alloc_injector::stop();
  EXPECT_NE(before, nullptr);
  EXPECT_EQ(failed, nullptr);
  EXPECT_NE(after, nullptr);
  sys_free(before);
  sys_free(after);
}

TEST_F(AllocInjectorTest, CallocRequestSaturatesInsteadOfWrapping) {
  void* huge = nullptr;
  {
    alloc_injector::Scope scope;
    // 2^63 * 4 wraps to 0 in size_t arithmetic; a wrapped count would hide the request.
    huge = sys_calloc(std::size_t{1} << 63, 4);
  }
  EXPECT_EQ(huge, nullptr);
  EXPECT_EQ(alloc_injector::largest_request(), SIZE_MAX);
  EXPECT_EQ(alloc_injector::live_blocks(), 0u);
}

TEST_F(AllocInjectorTest, CeilingRefusesOnlyLargerRequestsAndEveryByteIsSummed) {
  char* block = static_cast<char*>(sys_malloc(8));
  ASSERT_NE(block, nullptr);
  void* results[4] = {};
  {
    alloc_injector::Scope scope;
    alloc_injector::refuse_above(100);
    results[0] = sys_malloc(100);
    results[1] = sys_calloc(101, 1);
    results[2] = sys_realloc(block, 4096);
    alloc_injector::refuse_above(0);
    results[3] = sys_malloc(4096);
  }
  EXPECT_NE(results[0], nullptr);
  EXPECT_EQ(results[1], nullptr);
  EXPECT_EQ(results[2], nullptr);  // and the block stays its owner's
  EXPECT_NE(results[3], nullptr);
  EXPECT_EQ(alloc_injector::refused(), 2u);
  EXPECT_EQ(alloc_injector::injected_failures(), 0u);
  EXPECT_EQ(alloc_injector::requested_bytes(), 100u + 101u + 4096u + 4096u);
  sys_free(results[0]);
  sys_free(results[3]);
  sys_free(block);
  alloc_injector::reset();
  EXPECT_EQ(alloc_injector::requested_bytes(), 0u);
  EXPECT_EQ(alloc_injector::refused(), 0u);
}

TEST_F(AllocInjectorTest, FailedReallocKeepsTheOriginalBlock) {
  char* block = static_cast<char*>(sys_malloc(16));
  ASSERT_NE(block, nullptr);
  std::memcpy(block, "keep me intact", 15);
  void* grown = nullptr;
  {
    alloc_injector::Scope scope;
    alloc_injector::arm(1);
    grown = sys_realloc(block, 1 << 20);
  }
  EXPECT_EQ(grown, nullptr);
  EXPECT_STREQ(block, "keep me intact");
  sys_free(block);
}

TEST_F(AllocInjectorTest, LiveBlocksFollowBlocksThroughReallocAndLateFrees) {
  std::vector<void*> blocks;
  blocks.reserve(64);
  void* moved = nullptr;
  {
    alloc_injector::Scope scope;
    for (int i = 0; i < 64; ++i) blocks.push_back(sys_malloc(24));
    moved = sys_malloc(8);
    // Large enough that the block cannot grow in place.
    moved = sys_realloc(moved, 1 << 20);
  }
  EXPECT_EQ(alloc_injector::live_blocks(), 65u);
  // Resizing while not counting keeps the block counted under its new address.
  moved = sys_realloc(moved, 1 << 22);
  EXPECT_EQ(alloc_injector::live_blocks(), 65u);
  for (std::size_t i = 0; i < blocks.size(); i += 2) sys_free(blocks[i]);
  EXPECT_EQ(alloc_injector::live_blocks(), 33u);
  for (std::size_t i = 1; i < blocks.size(); i += 2) sys_free(blocks[i]);
  sys_free(moved);
  EXPECT_EQ(alloc_injector::live_blocks(), 0u);
}

// Enough blocks that many share probe runs, so frees in a scattered order have to keep the
// remaining blocks findable.
TEST_F(AllocInjectorTest, TracksThousandsOfBlocksFreedInScatteredOrder) {
  constexpr std::size_t kBlocks = 40000;
  std::vector<void*> blocks;
  blocks.reserve(kBlocks);
  {
    alloc_injector::Scope scope;
    for (std::size_t i = 0; i < kBlocks; ++i) blocks.push_back(sys_malloc(16));
  }
  ASSERT_EQ(alloc_injector::live_blocks(), kBlocks);
  std::size_t freed = 0;
  for (std::size_t i = 0; i < kBlocks; i += 3, ++freed) sys_free(blocks[i]);
  EXPECT_EQ(alloc_injector::live_blocks(), kBlocks - freed);
  for (std::size_t i = kBlocks; i-- > 0;) {
    if (i % 3 != 0) sys_free(blocks[i]);
  }
  EXPECT_EQ(alloc_injector::live_blocks(), 0u);
}

TEST_F(AllocInjectorTest, ReallocToZeroIsAFreeThatIsNeverFailed) {
  void* block = nullptr;
  {
    alloc_injector::Scope scope;
    block = sys_malloc(32);
    alloc_injector::arm(1);
    EXPECT_EQ(sys_realloc(block, 0), nullptr);
  }
  EXPECT_TRUE(alloc_injector::armed());
  EXPECT_EQ(alloc_injector::live_blocks(), 0u);
}

TEST_F(AllocInjectorTest, OtherThreadsAreNotCounted) {
  std::atomic<int> stage{0};
  std::thread other([&] {
    while (stage.load() != 1) {
    }
    void* block = sys_malloc(64);
    sys_free(block);
    stage.store(2);
  });
  {
    alloc_injector::Scope scope;
    alloc_injector::arm(1);
    stage.store(1);
    while (stage.load() != 2) {
    }
  }
  other.join();
  EXPECT_EQ(alloc_injector::calls(), 0u);
  EXPECT_TRUE(alloc_injector::armed());
}

TEST_F(AllocInjectorTest, ForEachFailureFailsEveryAllocationOnceThenRunsClean) {
  std::vector<std::size_t> failed_index;
  std::size_t clean_runs = 0;
  const std::size_t runs = alloc_injector::for_each_failure([&](std::size_t k) {
    void* blocks[3] = {sys_malloc(8), sys_calloc(1, 8), sys_malloc(8)};
    bool all = true;
    for (std::size_t i = 0; i < 3; ++i) {
      if (blocks[i] == nullptr) {
        alloc_injector::Pause pause;
        failed_index.push_back(i + 1);
        EXPECT_EQ(i + 1, k);
        all = false;
      }
      sys_free(blocks[i]);
    }
    if (all) ++clean_runs;
  });
  EXPECT_EQ(runs, 3u);
  EXPECT_EQ(failed_index, (std::vector<std::size_t>{1, 2, 3}));
  EXPECT_EQ(clean_runs, 1u);
  EXPECT_FALSE(alloc_injector::armed());
}

}  // namespace
