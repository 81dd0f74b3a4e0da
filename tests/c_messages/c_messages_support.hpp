#pragma once

// Shared vocabulary of the C message tests: one traits record per structure type so that typed
// tests reach every function of a type through the same names, and small helpers for filling
// values and counting allocations.

#include <gtest/gtest.h>
#include <rosidl_runtime_c/primitives_sequence_functions.h>
#include <rosidl_runtime_c/string_functions.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "catalogue/c_headers.hpp"
#include "support/alloc_injector.hpp"

namespace c_messages {

template <class T>
struct Ops;

#define C_MESSAGE_OPS_FOR(Alias, T)                                                              \
  using Alias = T;                                                                               \
  template <>                                                                                    \
  struct Ops<T> {                                                                                \
    using Msg = T;                                                                               \
    using Seq = T##__Sequence;                                                                   \
    static constexpr const char* kName = #T;                                                     \
    static bool init(T* m) { return T##__init(m); }                                              \
    static void fini(T* m) { T##__fini(m); }                                                     \
    static T* create() { return T##__create(); }                                                 \
    static void destroy(T* m) { T##__destroy(m); }                                               \
    static bool equal(const T* a, const T* b) { return T##__are_equal(a, b); }                   \
    static bool copy(const T* from, T* to) { return T##__copy(from, to); }                       \
    static bool seq_init(Seq* s, size_t n) { return T##__Sequence__init(s, n); }                 \
    static void seq_fini(Seq* s) { T##__Sequence__fini(s); }                                     \
    static Seq* seq_create(size_t n) { return T##__Sequence__create(n); }                        \
    static void seq_destroy(Seq* s) { T##__Sequence__destroy(s); }                               \
    static bool seq_equal(const Seq* a, const Seq* b) { return T##__Sequence__are_equal(a, b); } \
    static bool seq_copy(const Seq* from, Seq* to) { return T##__Sequence__copy(from, to); }     \
  }
// Aliases every structure by its name in the catalogue, e.g. DetectTrash_Request.
#define CATALOGUE_STRUCTURE(package, kind, Name, role, c_name, ...) C_MESSAGE_OPS_FOR(Name, c_name);
#include "catalogue/interfaces.def"

#undef C_MESSAGE_OPS_FOR

// Names typed tests by kind and structure, e.g. "srv__DetectTrash_Response".
struct TypeNames {
  template <class T>
  static std::string GetName(int) {
    return Ops<T>::kName + std::strlen("corvanthelis_interfaces__");
  }
};

using TrashOps = Ops<Trash>;
using TrashSeq = TrashOps::Seq;

// Distinct, recognisable contents per seed, so a value copied from the wrong element shows.
inline void fill_trash(Trash& t, int seed) {
  t.type = static_cast<uint8_t>(seed);
  t.location = static_cast<uint8_t>(seed + 1);
  t.mainaxis_type = static_cast<uint8_t>(seed + 2);
  t.grab_pose.position.x = seed * 1.5;
  t.obb_pose.orientation.w = -seed;
  t.obb_size.z = seed + 0.25;
}

// Initialised sequence of n Trash elements filled from first_seed on.
inline void make_trashes(TrashSeq& s, size_t n, int first_seed) {
  ASSERT_TRUE(TrashOps::seq_init(&s, n));
  for (size_t i = 0; i < n; ++i) fill_trash(s.data[i], first_seed + static_cast<int>(i));
}

inline void set_string(rosidl_runtime_c__String& s, const char* text) {
  ASSERT_TRUE(rosidl_runtime_c__String__assign(&s, text));
}

template <class Seq>
void expect_empty(const Seq& s) {
  EXPECT_EQ(s.data, nullptr);
  EXPECT_EQ(s.size, 0u);
  EXPECT_EQ(s.capacity, 0u);
}

// The invariant every record must keep whatever happened to it.
template <class Seq>
::testing::AssertionResult holds_invariant(const Seq& s) {
  if ((s.data == nullptr) != (s.capacity == 0) || s.size > s.capacity) {
    return ::testing::AssertionFailure() << "data " << static_cast<const void*>(s.data) << " size "
                                         << s.size << " capacity " << s.capacity;
  }
  return ::testing::AssertionSuccess();
}

// Runs f with counting on after a reset, so the injector's counters describe f alone.
template <class F>
decltype(auto) counted(F&& f) {
  alloc_injector::reset();
  alloc_injector::Scope scope;
  return f();
}

#define REQUIRE_INJECTOR()                                                           \
  do {                                                                               \
    if (!alloc_injector::available()) GTEST_SKIP() << "no allocation interposition"; \
  } while (0)

}  // namespace c_messages
