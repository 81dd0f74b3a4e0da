// Equality and deep copy of the C structures and sequence records.

#include <cstring>
#include <functional>
#include <limits>
#include <type_traits>
#include <vector>

#include "c_messages_support.hpp"

namespace c_messages {
namespace {

// Same-named fields keep the type of their own structure.
static_assert(std::is_same_v<decltype(ArmTaskDecision_Result::status), bool>);
static_assert(std::is_same_v<decltype(ArmTask_GetResult_Response::status), int8_t>);
static_assert(std::is_same_v<decltype(ArmTask_Result::status), int32_t>);
static_assert(
    std::is_same_v<decltype(DetectedWastes::class_names), rosidl_runtime_c__int32__Sequence>);

template <class T>
class CopyContract : public ::testing::Test {};
using CopyContractTypes =
    ::testing::Types<DetectTrash_Request, DetectTrash_Response, TrashCloud_Request, Trash,
                     DetectedWastes, ArmTask_Result, ArmTaskDecision_FeedbackMessage>;
TYPED_TEST_SUITE(CopyContract, CopyContractTypes, TypeNames);

TYPED_TEST(CopyContract, NullOperandsNeverCompareEqualAndNeverCopy) {
  using O = Ops<TypeParam>;
  TypeParam* m = O::create();
  ASSERT_NE(m, nullptr);
  EXPECT_FALSE(O::equal(nullptr, nullptr));
  EXPECT_FALSE(O::equal(m, nullptr));
  EXPECT_FALSE(O::equal(nullptr, m));
  EXPECT_TRUE(O::equal(m, m));
  EXPECT_FALSE(O::copy(nullptr, m));
  EXPECT_FALSE(O::copy(m, nullptr));
  typename O::Seq* s = O::seq_create(1);
  ASSERT_NE(s, nullptr);
  EXPECT_FALSE(O::seq_equal(nullptr, nullptr));
  EXPECT_FALSE(O::seq_equal(s, nullptr));
  EXPECT_FALSE(O::seq_equal(nullptr, s));
  EXPECT_FALSE(O::seq_copy(nullptr, s));
  EXPECT_FALSE(O::seq_copy(s, nullptr));
  EXPECT_EQ(s->size, 1u);
  O::seq_destroy(s);
  O::destroy(m);
}

// A one-byte element has no count whose byte count overflows, so TrashCloud_Request is absent.
template <class T>
class OverflowingCopy : public ::testing::Test {};
using OverflowingCopyTypes = ::testing::Types<DetectTrash_Request, DetectTrash_Response, Trash,
                                              DetectedWastes, ArmTask_Result, ArmGrab_Response>;
TYPED_TEST_SUITE(OverflowingCopy, OverflowingCopyTypes, TypeNames);

TYPED_TEST(OverflowingCopy, IsRefusedWithTheDestinationUntouched) {
  REQUIRE_INJECTOR();
  using O = Ops<TypeParam>;
  typename O::Seq* dst = O::seq_create(1);
  ASSERT_NE(dst, nullptr);
  const typename O::Seq before = *dst;
  const size_t too_many = std::numeric_limits<size_t>::max() / sizeof(TypeParam) + 1;
  // Never read: the size alone must stop the copy.
  const typename O::Seq huge{reinterpret_cast<TypeParam*>(alignof(TypeParam)), too_many, too_many};
  EXPECT_FALSE(counted([&] { return O::seq_copy(&huge, dst); }));
  EXPECT_EQ(alloc_injector::calls(), 0u);
  EXPECT_EQ(dst->data, before.data);
  EXPECT_EQ(dst->size, before.size);
  EXPECT_EQ(dst->capacity, before.capacity);
  O::seq_destroy(dst);
}

// One row per field (or nested element) that must count in comparison and copy: the
// tweak makes the right operand differ only there.
template <class T>
struct FieldCase {
  const char* field;
  std::function<void(T&)> tweak;
};

template <class T>
void expect_every_field_counts(const std::function<void(T&)>& common,
                               const std::vector<FieldCase<T>>& cases) {
  using O = Ops<T>;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field);
    T* a = O::create();
    T* b = O::create();
    common(*a);
    common(*b);
    EXPECT_TRUE(O::equal(a, b));
    c.tweak(*b);
    EXPECT_FALSE(counted([&] { return O::equal(a, b) || O::equal(b, a); }));
    EXPECT_EQ(alloc_injector::calls(), 0u) << "comparison allocated";
    EXPECT_TRUE(O::copy(b, a));
    EXPECT_TRUE(O::equal(a, b));
    O::destroy(a);
    O::destroy(b);
  }
}

auto no_setup = [](auto&) {};

TEST(Equality, EveryFieldOfPrimitiveStructuresCounts) {
  using G = GrabSortedTrash_Request;
  expect_every_field_counts<G>(no_setup,
                               {{"trash_type", [](G& m) { m.trash_type = 200; }},
                                {"target_pose", [](G& m) { m.target_pose.orientation.z = 0.5; }},
                                {"rot_x", [](G& m) { m.rot_x = 1e-300; }},
                                {"rot_y", [](G& m) { m.rot_y = -1; }},
                                {"rot_z", [](G& m) { m.rot_z = 3; }}});
  using E = ElevatorButtonPose_Request;
  expect_every_field_counts<E>(no_setup, {{"cmd", [](E& m) { m.cmd = -1; }},
                                          {"button_index", [](E& m) { m.button_index = 255; }},
                                          {"pixel_x", [](E& m) { m.pixel_x = 4000000000u; }},
                                          {"pixel_y", [](E& m) { m.pixel_y = 1; }}});
  using C = TrashCloud_Request;
  expect_every_field_counts<C>(
      no_setup, {{"placeholder", [](C& m) { m.structure_needs_at_least_one_member = 1; }}});
}

TEST(Equality, SameNamedFieldsOfDifferentTypesEachCount) {
  using D = ArmTaskDecision_Result;
  expect_every_field_counts<D>(no_setup, {{"status (bool)", [](D& m) { m.status = true; }},
                                          {"status_code", [](D& m) { m.status_code = 7; }},
                                          {"errmsg", [](D& m) { set_string(m.errmsg, "e"); }}});
  using R = ArmTask_GetResult_Response;
  expect_every_field_counts<R>(no_setup,
                               {{"status (int8)", [](R& m) { m.status = -3; }},
                                {"result.status (int32)", [](R& m) { m.result.status = -300000; }},
                                {"result.errmsg", [](R& m) { set_string(m.result.errmsg, "x"); }}});
}

TEST(Equality, DifferencesInsideNestedElementsAreFound) {
  using S = Trashes;
  auto two_trashes = [](S& m) {
    set_string(m.header.frame_id, "base_link");
    ASSERT_TRUE(TrashOps::seq_init(&m.trashes, 2));
    fill_trash(m.trashes.data[0], 1);
    fill_trash(m.trashes.data[1], 2);
  };
  expect_every_field_counts<S>(
      two_trashes, {{"header.stamp", [](S& m) { m.header.stamp.nanosec = 1; }},
                    {"header.frame_id", [](S& m) { set_string(m.header.frame_id, "map"); }},
                    {"trashes[1].mainaxis_type", [](S& m) { m.trashes.data[1].mainaxis_type = 0; }},
                    {"trashes[1].obb_size.z", [](S& m) { m.trashes.data[1].obb_size.z = -1; }},
                    {"trashes size", [](S& m) { m.trashes.size = 1; }}});
  using W = DetectedWastes;
  expect_every_field_counts<W>(
      no_setup,
      {{"ids", [](W& m) { ASSERT_TRUE(rosidl_runtime_c__int32__Sequence__init(&m.ids, 1)); }},
       {"class_names",
        [](W& m) { ASSERT_TRUE(rosidl_runtime_c__int32__Sequence__init(&m.class_names, 1)); }},
       {"goal_poses",
        [](W& m) { ASSERT_TRUE(geometry_msgs__msg__Pose__Sequence__init(&m.goal_poses, 1)); }},
       {"detected_dis",
        [](W& m) { ASSERT_TRUE(rosidl_runtime_c__double__Sequence__init(&m.detected_dis, 1)); }}});
}

TEST(Equality, FloatMembersCompareAsNumbers) {
  using O = Ops<GrabSortedTrash_Request>;
  auto* a = O::create();
  auto* b = O::create();
  a->rot_x = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(O::equal(a, a)) << "NaN must not equal itself";
  ASSERT_TRUE(O::copy(a, b));
  EXPECT_EQ(std::memcmp(&a->rot_x, &b->rot_x, sizeof(double)), 0) << "NaN bits changed by copy";
  a->rot_x = 0.0;
  b->rot_x = -0.0;
  EXPECT_TRUE(O::equal(a, b));
  O::destroy(a);
  O::destroy(b);
}

TEST(SequenceEquality, OnlyElementsInUseCount) {
  TrashSeq two, seven, empty_block;
  make_trashes(two, 2, 1);
  make_trashes(seven, 7, 1);
  fill_trash(seven.data[2], 90);  // spare elements differ from anything in two
  seven.size = 2;
  EXPECT_TRUE(TrashOps::seq_equal(&two, &seven));
  EXPECT_TRUE(TrashOps::seq_equal(&seven, &two));
  seven.data[1].location = 77;
  EXPECT_FALSE(TrashOps::seq_equal(&two, &seven));
  seven.size = 0;
  ASSERT_TRUE(TrashOps::seq_init(&empty_block, 0));
  EXPECT_TRUE(TrashOps::seq_equal(&seven, &empty_block));
  two.size = 0;
  EXPECT_TRUE(TrashOps::seq_equal(&two, &seven));
  for (TrashSeq* s : {&two, &seven, &empty_block}) TrashOps::seq_fini(s);
}

class SequenceCopy : public ::testing::Test {
 protected:
  void SetUp() override { REQUIRE_INJECTOR(); }
  void TearDown() override {
    for (TrashSeq* s : {&src, &dst}) TrashOps::seq_fini(s);
  }
  // Builds a source of src_size elements and a destination with the given shape, whose
  // elements hold other values.
  void build(size_t src_size, size_t dst_size, size_t dst_capacity) {
    TearDown();
    make_trashes(src, src_size, 1);
    make_trashes(dst, dst_capacity, 100);
    dst.size = dst_size;
  }
  bool copy() {
    return counted([this] { return TrashOps::seq_copy(&src, &dst); });
  }
  TrashSeq src{}, dst{};
};

TEST_F(SequenceCopy, FittingSourceReusesTheBlockAndLeavesSpareElements) {
  struct Case {
    size_t src_size, dst_size, dst_capacity;
  };
  for (Case c : {Case{3, 4, 5}, Case{0, 4, 5}, Case{2, 2, 2}, Case{2, 0, 3}}) {
    SCOPED_TRACE(testing::Message()
                 << c.src_size << " into " << c.dst_size << "/" << c.dst_capacity);
    build(c.src_size, c.dst_size, c.dst_capacity);
    Trash* block = dst.data;
    ASSERT_TRUE(copy());
    EXPECT_EQ(alloc_injector::calls(), 0u);
    EXPECT_EQ(dst.data, block);
    EXPECT_EQ(dst.size, c.src_size);
    EXPECT_EQ(dst.capacity, c.dst_capacity);
    EXPECT_TRUE(TrashOps::seq_equal(&src, &dst));
    for (size_t i = c.src_size; i < c.dst_capacity; ++i) {
      Trash old{};  // as in a zero-filled block, like the element it is compared with
      ASSERT_TRUE(TrashOps::init(&old));
      fill_trash(old, 100 + static_cast<int>(i));
      EXPECT_TRUE(TrashOps::equal(&dst.data[i], &old)) << "spare element " << i;
    }
  }
}

TEST_F(SequenceCopy, GrowsOnceToExactlyTheSourceSize) {
  struct Case {
    size_t from, to;
  };
  for (Case c : {Case{0, 2}, Case{2, 5}}) {
    SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to);
    build(c.to, c.from, c.from);
    ASSERT_TRUE(copy());
    EXPECT_EQ(alloc_injector::realloc_calls(), 1u);
    EXPECT_EQ(alloc_injector::calls(), 1u);
    EXPECT_EQ(alloc_injector::largest_request(), c.to * sizeof(Trash));
    EXPECT_EQ(dst.size, c.to);
    EXPECT_EQ(dst.capacity, c.to);
    EXPECT_TRUE(TrashOps::seq_equal(&src, &dst));
  }
}

TEST_F(SequenceCopy, OntoItselfChangesNothing) {
  build(2, 2, 3);
  Trash* block = dst.data;
  EXPECT_TRUE(counted([this] { return TrashOps::seq_copy(&dst, &dst); }));
  EXPECT_EQ(alloc_injector::calls(), 0u);
  EXPECT_EQ(dst.data, block);
  EXPECT_EQ(dst.size, 2u);
  EXPECT_EQ(dst.capacity, 3u);
  EXPECT_EQ(dst.data[1].type, 101);
}

// Structures whose strings are all empty or absent: the runtime's own string copy allocates
// whenever it runs, so only these show that our copies reuse what the destination owns.
TEST(StructureCopy, EqualShapedDestinationNeedsNoAllocation) {
  REQUIRE_INJECTOR();
  using Infos = TrashInfos;
  // Element inits allocate nothing, so the sequences may be built in place.
  auto* a = Ops<Infos>::create();
  auto* b = Ops<Infos>::create();
  ASSERT_TRUE(corvanthelis_interfaces__msg__TrashInfo__Sequence__init(&a->trashinfos, 3));
  ASSERT_TRUE(corvanthelis_interfaces__msg__TrashInfo__Sequence__init(&b->trashinfos, 3));
  a->trashinfos.data[2].grab_pose.position.y = 4;
  EXPECT_TRUE(counted([&] { return Ops<Infos>::copy(a, b); }));
  EXPECT_EQ(alloc_injector::calls(), 0u);
  EXPECT_TRUE(Ops<Infos>::equal(a, b));
  Ops<Infos>::destroy(a);
  Ops<Infos>::destroy(b);

  using Release = ArmRelease_Request;
  auto* r = Ops<Release>::create();
  auto* s = Ops<Release>::create();
  for (auto* m : {r, s})
    ASSERT_TRUE(rosidl_runtime_c__double__Sequence__init(&m->target_joints.data, 4));
  r->target_joints.data.data[3] = 0.75;
  r->obb_size.x = 2;
  EXPECT_TRUE(counted([&] { return Ops<Release>::copy(r, s); }));
  EXPECT_EQ(alloc_injector::calls(), 0u);
  EXPECT_TRUE(Ops<Release>::equal(r, s));
  Ops<Release>::destroy(r);
  Ops<Release>::destroy(s);
}

TEST(StructureCopy, OntoItselfChangesNothing) {
  REQUIRE_INJECTOR();
  using O = Ops<DetectTrash_Response>;
  auto* m = O::create();
  auto* snapshot = O::create();
  m->status = -4;
  make_trashes(m->trashes_detected, 2, 5);
  set_string(m->errmsg, "camera offline");
  ASSERT_TRUE(O::copy(m, snapshot));
  const char* text = m->errmsg.data;
  Trash* block = m->trashes_detected.data;
  EXPECT_TRUE(counted([m] { return O::copy(m, m); }));
  EXPECT_EQ(alloc_injector::calls(), 0u);
  EXPECT_EQ(m->errmsg.data, text);
  EXPECT_EQ(m->trashes_detected.data, block);
  EXPECT_TRUE(O::equal(m, snapshot));
  O::destroy(m);
  O::destroy(snapshot);
}

TEST(StructureCopy, FailedMemberStopsBeforeLaterMembers) {
  REQUIRE_INJECTOR();
  using Release = ArmRelease_Request;
  auto* src = Ops<Release>::create();
  auto* dst = Ops<Release>::create();
  src->cmd = 5;
  src->target_pose.position.x = 1.25;
  ASSERT_TRUE(rosidl_runtime_c__double__Sequence__init(&src->target_joints.data, 3));
  src->obb_pose.position.y = 2;
  src->obb_size.z = 3;
  dst->obb_pose.position.y = -7;
  dst->obb_size.z = -8;
  // The first allocation is the growth of target_joints.data.
  EXPECT_FALSE(counted([&] {
    alloc_injector::arm(1);
    return Ops<Release>::copy(src, dst);
  }));
  EXPECT_EQ(alloc_injector::injected_failures(), 1u);
  EXPECT_EQ(dst->cmd, 5);
  EXPECT_EQ(dst->target_pose.position.x, 1.25);
  EXPECT_EQ(dst->target_joints.data.size, 0u);
  EXPECT_EQ(dst->obb_pose.position.y, -7);
  EXPECT_EQ(dst->obb_size.z, -8);
  Ops<Release>::destroy(src);
  Ops<Release>::destroy(dst);

  using Result = ArmTask_Result;
  auto* from = Ops<Result>::create();
  auto* to = Ops<Result>::create();
  from->status = 3;
  set_string(from->errmsg, "blocked");
  make_trashes(from->trash_blacklist, 2, 1);
  // errmsg's copy allocates first, then trash_blacklist grows.
  EXPECT_FALSE(counted([&] {
    alloc_injector::arm(2);
    return Ops<Result>::copy(from, to);
  }));
  EXPECT_EQ(to->status, 3);
  EXPECT_STREQ(to->errmsg.data, "blocked");
  EXPECT_EQ(to->trash_blacklist.data, nullptr);
  EXPECT_EQ(to->trash_blacklist.size + to->trash_blacklist.capacity, 0u);
  Ops<Result>::destroy(from);
  Ops<Result>::destroy(to);
}

// Copies through the structure's functions or through its sequence record's.
template <class T>
struct AsStruct {
  using Obj = T;
  static Obj* make() { return Ops<T>::create(); }
  static void drop(Obj* o) { Ops<T>::destroy(o); }
  static bool copy(const Obj* a, Obj* b) { return Ops<T>::copy(a, b); }
  static bool equal(const Obj* a, const Obj* b) { return Ops<T>::equal(a, b); }
};
template <class T>
struct AsSeq {
  using Obj = typename Ops<T>::Seq;
  static Obj* make() { return Ops<T>::seq_create(0); }
  static void drop(Obj* o) { Ops<T>::seq_destroy(o); }
  static bool copy(const Obj* a, Obj* b) { return Ops<T>::seq_copy(a, b); }
  static bool equal(const Obj* a, const Obj* b) { return Ops<T>::seq_equal(a, b); }
};

// Fails each allocation of one copy in turn. Source and destination are built in the same
// counted window (so a leak of theirs shows too) but before the failure is armed.
template <class K>
void sweep_copy(const std::function<void(typename K::Obj&)>& fill_src,
                const std::function<void(typename K::Obj&)>& fill_dst,
                const std::function<void(const typename K::Obj&)>& check_after_failure) {
  const size_t runs = alloc_injector::for_each_failure([&](size_t k) {
    alloc_injector::disarm();
    auto* src = K::make();
    auto* dst = K::make();
    fill_src(*src);
    fill_dst(*dst);
    alloc_injector::arm(k);
    const bool ok = K::copy(src, dst);
    alloc_injector::disarm();
    alloc_injector::Pause pause;
    SCOPED_TRACE(testing::Message() << "failing allocation " << k);
    EXPECT_EQ(ok, alloc_injector::injected_failures() == 0);
    if (!ok) {
      check_after_failure(*dst);
      EXPECT_TRUE(K::copy(src, dst)) << "destination unusable after the failure";
    }
    EXPECT_TRUE(K::equal(src, dst));
    K::drop(src);
    K::drop(dst);
    EXPECT_EQ(alloc_injector::live_blocks(), 0u);
  });
  EXPECT_GT(runs, 0u);
}

TEST(CopyFailure, DetectTrashResponseIntoFreshAndSmallerDestinations) {
  REQUIRE_INJECTOR();
  auto src = [](DetectTrash_Response& m) {
    m.status = 2;
    make_trashes(m.trashes_detected, 3, 1);
    set_string(m.errmsg, "two bottles, one can");
  };
  auto valid = [](const DetectTrash_Response& m) {
    EXPECT_TRUE(holds_invariant(m.trashes_detected));
    EXPECT_EQ(m.status, 2) << "status precedes every member that can fail";
  };
  sweep_copy<AsStruct<DetectTrash_Response>>(
      src, [](DetectTrash_Response&) {}, valid);
  sweep_copy<AsStruct<DetectTrash_Response>>(
      src,
      [](DetectTrash_Response& m) {
        make_trashes(m.trashes_detected, 1, 50);
        set_string(m.errmsg, "old");
      },
      valid);
}

TEST(CopyFailure, GrowingSequenceKeepsItsOldElementsWhenANewOneFails) {
  REQUIRE_INJECTOR();
  using K = AsSeq<ArmGrab_Response>;
  using G = Ops<ArmGrab_Response>;
  sweep_copy<K>(
      [](K::Obj& s) {
        ASSERT_TRUE(G::seq_init(&s, 4));
        for (size_t i = 0; i < 4; ++i) s.data[i].status = static_cast<int32_t>(i);
        set_string(s.data[3].errmsg, "last");
      },
      [](K::Obj& s) {
        ASSERT_TRUE(G::seq_init(&s, 1));
        s.data[0].status = 9;
        set_string(s.data[0].errmsg, "old");
      },
      [](const K::Obj& s) {
        EXPECT_TRUE(holds_invariant(s));
        if (s.capacity == 1) {  // growth failed: exactly the old element remains
          EXPECT_EQ(s.size, 1u);
          EXPECT_EQ(s.data[0].status, 9);
          EXPECT_STREQ(s.data[0].errmsg.data, "old");
        } else {
          EXPECT_EQ(s.size, 4u);
          EXPECT_EQ(s.capacity, 4u);
        }
      });
}

// Every type whose init allocates: growing an empty record can then fail inside an element's
// init, after the new block was obtained, and the record must still be one that fini accepts.
template <class T>
class GrowFromEmpty : public ::testing::Test {};
using AllocatingInitTypes =
    ::testing::Types<DetectedWastes, GrabTrashCloud, Trashes, SamProcess_Request,
                     TrashCloud_Response, ArmRelease_Response, ArmGrab_Response,
                     ArmMoveJoints_Response, DetectTrash_Response, ElevatorButtonPose_Response,
                     ArmPushButton_Response, GraspState_Request, GraspState_Response,
                     ArmTask_Result, ArmTask_GetResult_Response, ArmTaskDecision_Result,
                     ArmTaskDecision_GetResult_Response>;
TYPED_TEST_SUITE(GrowFromEmpty, AllocatingInitTypes, TypeNames);

TYPED_TEST(GrowFromEmpty, AnyFailureLeavesARecordThatFiniAccepts) {
  REQUIRE_INJECTOR();
  using O = Ops<TypeParam>;
  size_t emptied = 0;  // failures after the block was obtained that left the record empty
  const size_t runs = alloc_injector::for_each_failure([&](size_t k) {
    alloc_injector::disarm();
    typename O::Seq src{}, dst{};
    ASSERT_TRUE(O::seq_init(&src, 2));
    ASSERT_TRUE(O::seq_init(&dst, 0));
    alloc_injector::arm(k);
    const bool ok = O::seq_copy(&src, &dst);
    alloc_injector::disarm();
    alloc_injector::Pause pause;
    SCOPED_TRACE(testing::Message() << "failing allocation " << k);
    EXPECT_EQ(ok, alloc_injector::injected_failures() == 0);
    // fini would stop the process on a broken record, so the check comes first
    ASSERT_TRUE(holds_invariant(dst));
    if (!ok && dst.capacity == 0) {
      expect_empty(dst);
      if (k > 1) ++emptied;  // the first allocation is the growth of the block itself
    }
    if (ok) {
      EXPECT_TRUE(O::seq_equal(&src, &dst));
    }
    O::seq_fini(&dst);
    O::seq_fini(&src);
    EXPECT_EQ(alloc_injector::live_blocks(), 0u);
  });
  EXPECT_GT(runs, 0u);
  EXPECT_GT(emptied, 0u) << "no element init failed during the growth";
}

}  // namespace
}  // namespace c_messages
