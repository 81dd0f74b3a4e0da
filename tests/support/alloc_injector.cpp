#include "alloc_injector.hpp"

#include <atomic>
#include <cstdint>

// Everything here may run before main() and inside any allocation of the process, so the
// state is constant-initialised, nothing allocates, and no lock is held across a call into
// the C library.

namespace alloc_injector {
namespace {

std::atomic<std::size_t> g_malloc_calls{0};
std::atomic<std::size_t> g_calloc_calls{0};
std::atomic<std::size_t> g_realloc_calls{0};
std::atomic<std::size_t> g_injected{0};
std::atomic<std::size_t> g_largest{0};
std::atomic<std::size_t> g_requested{0};
std::atomic<std::size_t> g_ceiling{0};
std::atomic<std::size_t> g_refused{0};
// Counted calls left until the failing one; 0 when disarmed.
std::atomic<std::size_t> g_countdown{0};

thread_local bool t_counting = false;

}  // namespace

#ifdef CORVANTHELIS_ALLOC_INJECTOR_DISABLED

bool available() { return false; }
std::size_t live_blocks() { return 0; }
void reset() {}

#else

bool available() { return true; }

namespace {

// Open-addressing set of the blocks allocated while counting. Linear probing with
// backward-shift deletion keeps lookups short without tombstones piling up over a long test.
constexpr std::size_t kSlotBits = 16;
constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
constexpr std::size_t kMaxTracked = kSlots / 4 * 3;

std::uintptr_t g_slots[kSlots];
std::size_t g_tracked = 0;
std::atomic<bool> g_any_tracked{false};
std::atomic_flag g_lock = ATOMIC_FLAG_INIT;

class Lock {
 public:
  Lock() {
    while (g_lock.test_and_set(std::memory_order_acquire)) {
    }
  }
  ~Lock() { g_lock.clear(std::memory_order_release); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
};

std::size_t home_slot(std::uintptr_t key) {
  return static_cast<std::size_t>((key >> 4) * UINT64_C(0x9E3779B97F4A7C15) >>
                                  (64 - kSlotBits));
}

std::size_t next_slot(std::size_t slot) { return (slot + 1) & (kSlots - 1); }

// A full table stops tracking rather than failing the allocation: live_blocks() then
// undercounts, which a test checking for leaks would only notice as a missed leak.
void track(void* block) {
  const auto key = reinterpret_cast<std::uintptr_t>(block);
  Lock lock;
  if (g_tracked >= kMaxTracked) return;
  std::size_t slot = home_slot(key);
  while (g_slots[slot] != 0) {
    if (g_slots[slot] == key) return;
    slot = next_slot(slot);
  }
  g_slots[slot] = key;
  ++g_tracked;
  g_any_tracked.store(true, std::memory_order_relaxed);
}

bool untrack(void* block) {
  if (block == nullptr || !g_any_tracked.load(std::memory_order_relaxed)) return false;
  const auto key = reinterpret_cast<std::uintptr_t>(block);
  Lock lock;
  std::size_t hole = home_slot(key);
  while (g_slots[hole] != key) {
    if (g_slots[hole] == 0) return false;
    hole = next_slot(hole);
  }
  // Pull later entries of the probe run back into the hole unless that would put them in
  // front of their own home slot.
  for (std::size_t next = next_slot(hole); g_slots[next] != 0; next = next_slot(next)) {
    const std::size_t home = home_slot(g_slots[next]);
    const bool stays = hole <= next ? (hole < home && home <= next) : (hole < home || home <= next);
    if (stays) continue;
    g_slots[hole] = g_slots[next];
    hole = next;
  }
  g_slots[hole] = 0;
  if (--g_tracked == 0) g_any_tracked.store(false, std::memory_order_relaxed);
  return true;
}

}  // namespace

std::size_t live_blocks() {
  Lock lock;
  return g_tracked;
}

void reset() {
  disarm();
  g_malloc_calls = 0;
  g_calloc_calls = 0;
  g_realloc_calls = 0;
  g_injected = 0;
  g_largest = 0;
  g_requested = 0;
  g_ceiling = 0;
  g_refused = 0;
  Lock lock;
  for (auto& slot : g_slots) slot = 0;
  g_tracked = 0;
  g_any_tracked.store(false, std::memory_order_relaxed);
}

#endif  // CORVANTHELIS_ALLOC_INJECTOR_DISABLED

void start() { t_counting = true; }
void stop() { t_counting = false; }
bool counting() { return t_counting; }

void arm(std::size_t fail_at) { g_countdown = fail_at; }
void disarm() { g_countdown = 0; }
bool armed() { return g_countdown != 0; }

std::size_t calls() { return g_malloc_calls + g_calloc_calls + g_realloc_calls; }
std::size_t malloc_calls() { return g_malloc_calls; }
std::size_t calloc_calls() { return g_calloc_calls; }
std::size_t realloc_calls() { return g_realloc_calls; }
std::size_t injected_failures() { return g_injected; }
std::size_t largest_request() { return g_largest; }
std::size_t requested_bytes() { return g_requested; }
std::size_t refused() { return g_refused; }
void refuse_above(std::size_t bytes) { g_ceiling = bytes; }

#ifndef CORVANTHELIS_ALLOC_INJECTOR_DISABLED

namespace {

// Records one counted call; returns true when this call is the one to fail.
bool count(std::atomic<std::size_t>& kind, std::size_t bytes) {
  ++kind;
  std::size_t largest = g_largest.load(std::memory_order_relaxed);
  while (bytes > largest && !g_largest.compare_exchange_weak(largest, bytes)) {
  }
  std::size_t requested = g_requested.load(std::memory_order_relaxed);
  std::size_t sum = 0;
  do {
    if (__builtin_add_overflow(requested, bytes, &sum)) sum = SIZE_MAX;
  } while (!g_requested.compare_exchange_weak(requested, sum));
  const std::size_t ceiling = g_ceiling.load();
  if (ceiling != 0 && bytes > ceiling) {
    ++g_refused;
    return true;
  }
  std::size_t left = g_countdown.load();
  while (left != 0 && !g_countdown.compare_exchange_weak(left, left - 1)) {
  }
  if (left == 1) {
    ++g_injected;
    return true;
  }
  return false;
}

}  // namespace

#endif

}  // namespace alloc_injector

#ifndef CORVANTHELIS_ALLOC_INJECTOR_DISABLED

// glibc's own entry points, so forwarding never re-enters the definitions below.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void __libc_free(void* block);
}

// The build hides symbols by default; these must stay visible for shared libraries to bind
// to them.
#define ALLOC_INJECTOR_EXPORT __attribute__((visibility("default")))

extern "C" {

ALLOC_INJECTOR_EXPORT void* malloc(std::size_t size) noexcept {
  using namespace alloc_injector;
  if (!t_counting) return __libc_malloc(size);
  if (count(g_malloc_calls, size)) return nullptr;
  void* block = __libc_malloc(size);
  if (block != nullptr) track(block);
  return block;
}

ALLOC_INJECTOR_EXPORT void* calloc(std::size_t count, std::size_t size) noexcept {
  using namespace alloc_injector;
  if (!t_counting) return __libc_calloc(count, size);
  std::size_t bytes = 0;
  if (__builtin_mul_overflow(count, size, &bytes)) bytes = SIZE_MAX;
  if (alloc_injector::count(g_calloc_calls, bytes)) return nullptr;
  void* block = __libc_calloc(count, size);
  if (block != nullptr) track(block);
  return block;
}

ALLOC_INJECTOR_EXPORT void* realloc(void* block, std::size_t size) noexcept {
  using namespace alloc_injector;
  // realloc(p, 0) frees p and allocates nothing: failing it would make the caller believe a
  // freed block is still its own.
  if (block != nullptr && size == 0) {
    untrack(block);
    return __libc_realloc(block, size);
  }
  if (t_counting && count(g_realloc_calls, size)) return nullptr;
  void* moved = __libc_realloc(block, size);
  if (moved == nullptr) return nullptr;
  // Tracking follows the block: realloc(NULL, n) while counting is a new allocation, and a
  // counted block that moves is still the same block, whether counting now or not.
  if (block == nullptr) {
    if (t_counting) track(moved);
  } else if (moved != block && untrack(block)) {
    track(moved);
  }
  return moved;
}

ALLOC_INJECTOR_EXPORT void free(void* block) noexcept {
  alloc_injector::untrack(block);
  __libc_free(block);
}

}  // extern "C"

#endif  // CORVANTHELIS_ALLOC_INJECTOR_DISABLED
