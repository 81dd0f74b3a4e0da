#pragma once

// Allocation-failure injection for tests. Linking this library into a test executable
// interposes malloc, calloc, realloc and free for the whole process, including the calls that
// shared libraries (the rcutils default allocator among them) make, because the dynamic linker
// resolves those names to the executable's definitions first.
//
// Only calls made by a thread while it is counting (between start() and stop(), or inside a
// Scope) are counted and can be made to fail; gtest's bookkeeping and background threads stay
// out of the numbers. Under AddressSanitizer the interposition would fight the sanitizer's own
// allocator, so the library is built without it: available() is false and tests skip.

#include <cstddef>
#include <type_traits>

namespace alloc_injector {

bool available();

// Counting is per thread: it applies to the calling thread only.
void start();
void stop();
bool counting();

class Scope {
 public:
  Scope() { start(); }
  ~Scope() { stop(); }
  Scope(const Scope&) = delete;
  Scope& operator=(const Scope&) = delete;
};

// Suspends counting on this thread, e.g. around test assertions inside a counted region.
class Pause {
 public:
  Pause() : was_counting_(counting()) { stop(); }
  ~Pause() {
    if (was_counting_) start();
  }
  Pause(const Pause&) = delete;
  Pause& operator=(const Pause&) = delete;

 private:
  bool was_counting_;
};

// Makes the fail_at-th counted call from now (1-based) return null without allocating. One
// shot: the calls after it succeed again. arm(0) is the same as disarm().
void arm(std::size_t fail_at);
void disarm();
bool armed();

// Makes every counted request of more than `bytes` fail as if memory were exhausted, so that a
// test feeding hostile input fails cleanly instead of exhausting the machine when the code under
// test believes a huge count. 0 lifts the ceiling. Refusals are not injected_failures().
void refuse_above(std::size_t bytes);

// Everything below counts from the last reset(); reset() also disarms and lifts the ceiling.
void reset();
std::size_t calls();  // malloc + calloc + realloc
std::size_t malloc_calls();
std::size_t calloc_calls();
std::size_t realloc_calls();
std::size_t injected_failures();
// Largest byte count asked for; calloc's n * size saturates at SIZE_MAX instead of wrapping.
std::size_t largest_request();
// Sum of the byte counts asked for (saturating), refused and failed requests included.
std::size_t requested_bytes();
// Requests turned down by refuse_above().
std::size_t refused();
// Blocks allocated while counting and not yet freed (frees are seen whether counting or not).
std::size_t live_blocks();

// Runs body with the k-th counted allocation failing, for k = 1, 2, ..., until a run completes
// without reaching its k-th allocation, i.e. every allocation of the body has been made to
// fail once. body may take the failing index (std::size_t) or nothing; it runs inside a Scope
// and after a reset(), so it can check live_blocks() once it has cleaned up. Returns the number
// of runs that had a failure injected. Does nothing and returns 0 when !available().
template <class F>
std::size_t for_each_failure(F&& body, std::size_t limit = 100000) {
  if (!available()) return 0;
  std::size_t k = 1;
  for (; k <= limit; ++k) {
    reset();
    arm(k);
    {
      Scope scope;
      if constexpr (std::is_invocable_v<F&, std::size_t>) {
        body(k);
      } else {
        body();
      }
    }
    const bool failed = injected_failures() != 0;
    disarm();
    if (!failed) break;
  }
  return k - 1;
}

}  // namespace alloc_injector
