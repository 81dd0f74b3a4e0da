// Lifecycle of the C structures and their sequence records: init/fini, create/destroy, and how
// each behaves when an allocation fails midway.

#include <cstring>
#include <vector>

#include "c_messages_support.hpp"

namespace c_messages {
namespace {

struct Span {
  size_t offset;
  size_t size;
};
#define SPAN(T, member) \
  Span { offsetof(T, member), sizeof(static_cast<T*>(nullptr)->member) }

// Primitive members at any depth that no init of the type writes (no field has a default).
template <class T>
std::vector<Span> primitives();

#define PRIMITIVES(T, ...)            \
  template <>                         \
  std::vector<Span> primitives<T>() { \
    using S = T;                      \
    return {__VA_ARGS__};             \
  }
PRIMITIVES(DetectTrash_Request, SPAN(S, cmd), SPAN(S, cam_choice))
PRIMITIVES(ElevatorButtonPose_Request, SPAN(S, cmd), SPAN(S, button_index), SPAN(S, pixel_x),
           SPAN(S, pixel_y))
PRIMITIVES(ArmGrab_Response, SPAN(S, status))
PRIMITIVES(Trash, SPAN(S, type), SPAN(S, location), SPAN(S, mainaxis_type),
           SPAN(S, grab_pose.position), SPAN(S, obb_size))
PRIMITIVES(MoveToGrab_Request, SPAN(S, clean_mode), SPAN(S, clean_task_type),
           SPAN(S, trash_position))
PRIMITIVES(Trashes, SPAN(S, header.stamp))
PRIMITIVES(DetectTrash_Response, SPAN(S, status))
PRIMITIVES(DetectedWastes, SPAN(S, header.stamp))
PRIMITIVES(TrashCloud_Request, SPAN(S, structure_needs_at_least_one_member))
PRIMITIVES(ArmTask_SendGoal_Request, SPAN(S, goal_id.uuid), SPAN(S, goal.cmd))
PRIMITIVES(ArmTask_GetResult_Response, SPAN(S, status), SPAN(S, result.status))
PRIMITIVES(SamProcess_Request, SPAN(S, image.header.stamp), SPAN(S, image.height),
           SPAN(S, image.width), SPAN(S, image.is_bigendian), SPAN(S, image.step))
PRIMITIVES(GrabTrashCloud, SPAN(S, trash_type), SPAN(S, trash_cloud.height),
           SPAN(S, trash_cloud.is_dense))
#undef PRIMITIVES

// Plain storage for a structure, so tests control every byte that init sees.
template <class T>
struct Raw {
  alignas(T) unsigned char bytes[sizeof(T)];
  explicit Raw(unsigned char pattern) { std::memset(bytes, pattern, sizeof bytes); }
  T* get() { return reinterpret_cast<T*>(bytes); }
};

template <class T>
class Lifecycle : public ::testing::Test {
 protected:
  using O = Ops<T>;
  using Seq = typename O::Seq;
};

// From primitive-only over strings, nesting and nested sequences to the empty request and the
// action wrappers; the ones whose init allocates drive the failure sweeps.
using LifecycleTypes =
    ::testing::Types<DetectTrash_Request, ElevatorButtonPose_Request, ArmGrab_Response, Trash,
                     MoveToGrab_Request, Trashes, DetectTrash_Response, DetectedWastes,
                     TrashCloud_Request, ArmTask_SendGoal_Request, ArmTask_GetResult_Response,
                     SamProcess_Request, GrabTrashCloud>;

TYPED_TEST_SUITE(Lifecycle, LifecycleTypes, TypeNames);

TYPED_TEST(Lifecycle, NullArgumentsAreRejectedOrIgnored) {
  using O = typename TestFixture::O;
  EXPECT_FALSE(O::init(nullptr));
  EXPECT_FALSE(O::seq_init(nullptr, 0));
  EXPECT_FALSE(O::seq_init(nullptr, 3));
  O::fini(nullptr);
  O::seq_fini(nullptr);
  O::destroy(nullptr);
  O::seq_destroy(nullptr);
}

TYPED_TEST(Lifecycle, InitLeavesPrimitivesAndCreateZeroesThem) {
  using O = typename TestFixture::O;
  for (unsigned char pattern : {0x5C, 0xFF}) {
    Raw<TypeParam> raw(pattern);
    ASSERT_TRUE(O::init(raw.get()));
    for (const Span& s : primitives<TypeParam>()) {
      for (size_t i = 0; i < s.size; ++i) {
        EXPECT_EQ(raw.bytes[s.offset + i], pattern) << "byte " << i << " of member at " << s.offset;
      }
    }
    O::fini(raw.get());
  }
  TypeParam* made = O::create();
  ASSERT_NE(made, nullptr);
  const auto* bytes = reinterpret_cast<const unsigned char*>(made);
  for (const Span& s : primitives<TypeParam>()) {
    for (size_t i = 0; i < s.size; ++i)
      EXPECT_EQ(bytes[s.offset + i], 0) << "member at " << s.offset;
  }
  O::destroy(made);
}

TYPED_TEST(Lifecycle, FiniTwiceAndDestroyReleaseEverythingOnce) {
  REQUIRE_INJECTOR();
  using O = typename TestFixture::O;
  counted([] {
    TypeParam* m = O::create();
    ASSERT_NE(m, nullptr);
    O::fini(m);
    O::fini(m);  // a finalised structure holds nothing more to release
    O::destroy(m);
  });
  EXPECT_EQ(alloc_injector::live_blocks(), 0u);
}

TYPED_TEST(Lifecycle, SequenceInitGivesEmptyOrFullyInitialisedRecords) {
  using O = typename TestFixture::O;
  typename O::Seq empty{reinterpret_cast<TypeParam*>(0x10), 7, 9};
  ASSERT_TRUE(O::seq_init(&empty, 0));
  expect_empty(empty);
  O::seq_fini(&empty);

  typename O::Seq three;
  ASSERT_TRUE(O::seq_init(&three, 3));
  EXPECT_EQ(three.size, 3u);
  EXPECT_EQ(three.capacity, 3u);
  TypeParam* fresh = O::create();
  for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(O::equal(&three.data[i], fresh)) << "element " << i;
  O::destroy(fresh);
  O::seq_fini(&three);
  expect_empty(three);

  typename O::Seq* made = O::seq_create(0);
  ASSERT_NE(made, nullptr);
  expect_empty(*made);
  O::seq_destroy(made);
}

// Every allocation of the operation is made to fail once; each time the failure must be
// reported, nothing may stay allocated, and the storage must be usable again.
TYPED_TEST(Lifecycle, CreateSurvivesEveryAllocationFailure) {
  REQUIRE_INJECTOR();
  using O = typename TestFixture::O;
  alloc_injector::for_each_failure([](size_t k) {
    TypeParam* m = O::create();
    alloc_injector::Pause pause;
    EXPECT_EQ(m == nullptr, alloc_injector::injected_failures() != 0) << "k=" << k;
    O::destroy(m);
    EXPECT_EQ(alloc_injector::live_blocks(), 0u) << "k=" << k;
  });
}

TYPED_TEST(Lifecycle, InitOnRawOrZeroedMemorySurvivesEveryAllocationFailure) {
  REQUIRE_INJECTOR();
  using O = typename TestFixture::O;
  for (unsigned char pattern : {0xAB, 0x00}) {
    alloc_injector::for_each_failure([pattern](size_t k) {
      Raw<TypeParam> raw(pattern);
      const bool ok = O::init(raw.get());
      alloc_injector::Pause pause;
      EXPECT_EQ(ok, alloc_injector::injected_failures() == 0) << "k=" << k;
      if (!ok) {
        EXPECT_EQ(alloc_injector::live_blocks(), 0u) << "k=" << k << " pattern " << +pattern;
        // Zeroed members after the failing one are safe to finalise; raw ones are not ours.
        if (pattern == 0) O::fini(raw.get());
        ASSERT_TRUE(O::init(raw.get())) << "storage unusable after a failed init, k=" << k;
      }
      O::fini(raw.get());
      EXPECT_EQ(alloc_injector::live_blocks(), 0u) << "k=" << k;
    });
  }
}

TYPED_TEST(Lifecycle, SequenceInitAndCreateSurviveEveryAllocationFailure) {
  REQUIRE_INJECTOR();
  using O = typename TestFixture::O;
  alloc_injector::for_each_failure([](size_t k) {
    auto* previous = reinterpret_cast<TypeParam*>(0x40);
    typename O::Seq record{previous, 11, 22};
    const bool ok = O::seq_init(&record, 4);
    alloc_injector::Pause pause;
    EXPECT_EQ(ok, alloc_injector::injected_failures() == 0) << "k=" << k;
    if (!ok) {
      EXPECT_EQ(record.data, previous);
      EXPECT_EQ(record.size, 11u);
      EXPECT_EQ(record.capacity, 22u);
    } else {
      O::seq_fini(&record);
    }
    EXPECT_EQ(alloc_injector::live_blocks(), 0u) << "k=" << k;
  });
  alloc_injector::for_each_failure([](size_t k) {
    typename O::Seq* made = O::seq_create(4);
    alloc_injector::Pause pause;
    EXPECT_EQ(made == nullptr, alloc_injector::injected_failures() != 0) << "k=" << k;
    O::seq_destroy(made);
    EXPECT_EQ(alloc_injector::live_blocks(), 0u) << "k=" << k;
  });
}

using GrabOps = Ops<ArmGrab_Response>;

TEST(LifecycleDetail, CreateGivesEmptyStringsAndSequences) {
  auto* r = Ops<DetectTrash_Response>::create();
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->status, 0);
  EXPECT_NE(r->errmsg.data, nullptr);
  EXPECT_EQ(r->errmsg.size, 0u);
  EXPECT_STREQ(r->errmsg.data, "");
  expect_empty(r->trashes_detected);
  Ops<DetectTrash_Response>::destroy(r);

  auto* w = Ops<DetectedWastes>::create();
  ASSERT_NE(w, nullptr);
  EXPECT_NE(w->header.frame_id.data, nullptr);
  EXPECT_EQ(w->header.frame_id.size, 0u);
  expect_empty(w->ids);
  expect_empty(w->class_names);
  expect_empty(w->goal_poses);
  expect_empty(w->detected_dis);
  Ops<DetectedWastes>::destroy(w);
}

TEST(LifecycleDetail, QuaternionTakesItsDefaultsWhileOurTypesTakeNone) {
  Raw<geometry_msgs__msg__Quaternion> q(0x5C);
  ASSERT_TRUE(geometry_msgs__msg__Quaternion__init(q.get()));
  EXPECT_EQ(q.get()->x, 0.0);
  EXPECT_EQ(q.get()->y, 0.0);
  EXPECT_EQ(q.get()->z, 0.0);
  EXPECT_EQ(q.get()->w, 1.0);
  // Nested inside one of our structures the default still applies, through Pose's init.
  Raw<Trash> t(0x5C);
  ASSERT_TRUE(Ops<Trash>::init(t.get()));
  EXPECT_EQ(t.get()->obb_pose.orientation.w, 1.0);
  EXPECT_EQ(t.get()->type, 0x5C);
}

TEST(LifecycleDetail, SequenceFiniReleasesSpareElementsToo) {
  REQUIRE_INJECTOR();
  GrabOps::Seq s;
  counted([&s] {
    ASSERT_TRUE(GrabOps::seq_init(&s, 5));
    for (size_t i = 0; i < 5; ++i) set_string(s.data[i].errmsg, "every element owns a string");
    s.size = 2;
    GrabOps::seq_fini(&s);
  });
  EXPECT_EQ(alloc_injector::live_blocks(), 0u);
  expect_empty(s);
  counted([&s] { GrabOps::seq_fini(&s); });
  EXPECT_EQ(alloc_injector::calls(), 0u);
  expect_empty(s);
}

TEST(LifecycleDetail, SequenceInitFailingAtAnElementUnwindsTheEarlierOnes) {
  REQUIRE_INJECTOR();
  auto* previous = reinterpret_cast<ArmGrab_Response*>(0x40);
  GrabOps::Seq record{previous, 1, 1};
  // The block comes first, then one string per element: the fourth allocation is element 2's.
  counted([&record] {
    alloc_injector::arm(4);
    EXPECT_FALSE(GrabOps::seq_init(&record, 4));
  });
  EXPECT_EQ(alloc_injector::injected_failures(), 1u);
  EXPECT_EQ(alloc_injector::calloc_calls(), 1u);
  EXPECT_EQ(alloc_injector::malloc_calls(), 3u);
  EXPECT_EQ(alloc_injector::live_blocks(), 0u) << "elements 0 and 1 or the block leaked";
  EXPECT_EQ(record.data, previous);
  EXPECT_EQ(record.size, 1u);
  EXPECT_EQ(record.capacity, 1u);
}

}  // namespace
}  // namespace c_messages
