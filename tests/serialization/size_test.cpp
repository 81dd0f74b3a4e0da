// Size answers decide the middleware's buffer sizes and whether a type may be copied without
// serialization, so they are checked against what the stream really does, not only against
// hand-computed numbers.

#include <gtest/gtest.h>
#include <rosidl_runtime_c/string_functions.h>

#include <functional>
#include <string>

#include "catalogue.hpp"
#include "catalogue_headers.hpp"

namespace ser {
namespace {

char bounds_class(bool full_bounded, bool is_plain) { return is_plain ? 3 : full_bounded ? 1 : 0; }

TEST(MaxSize, EveryTypeAtPositionZero) {
  for (const TypeRow& row : types()) {
    SCOPED_TRACE(row.full_name());
    char cls = 0x55;
    EXPECT_EQ(row.callbacks()->max_serialized_size(cls), row.max_at_zero);
    EXPECT_EQ(cls, row.bounds_class);

    // The caller need not initialise the flags: start them opposite to the answer.
    bool full_bounded = row.bounds_class == 0;
    bool is_plain = row.bounds_class != 3;
    EXPECT_EQ(row.max(full_bounded, is_plain, 0), row.max_at_zero);
    EXPECT_EQ(bounds_class(full_bounded, is_plain), row.bounds_class);
  }
}

TEST(MaxSize, DependsOnStartingPosition) {
  struct Case {
    const char* type;
    size_t at;
    size_t size;
    bool full_bounded;
    bool is_plain;
  };
  const Case cases[] = {
      {"ArmTask_Goal", 16, 4, true, true},
      {"ArmTask_Goal", 1, 7, true, false},
      {"ElevatorButtonPose_Request", 2, 18, true, false},
      {"ElevatorButtonPose_Request", 8, 16, true, true},
      {"Trash", 0, 144, true, false},
      {"Trash", 4, 140, true, false},
      {"MoveToGrab_Request", 0, 88, true, true},
      {"MoveToGrab_Request", 4, 92, true, false},
      {"MoveToGrab_Response", 0, 120, true, false},
      {"TrashCloud_Request", 5, 1, true, true},
      // An empty float64 sequence still counts the padding to its element size.
      {"DetectedWastes", 4, 36, false, false},
      {"ArmTask_SendGoal_Request", 3, 21, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.type) + " at " + std::to_string(c.at));
    bool full_bounded = !c.full_bounded;
    bool is_plain = !c.is_plain;
    EXPECT_EQ(type(c.type).max(full_bounded, is_plain, c.at), c.size);
    EXPECT_EQ(full_bounded, c.full_bounded);
    EXPECT_EQ(is_plain, c.is_plain);
  }
}

// Types whose float64 sequences may be empty: Fast-CDR skips the alignment of an empty array,
// while the size rules count it, so the size may exceed the bytes by those 4 padding bytes.
bool may_overcount_empty_doubles(const TypeRow& row, int variant) {
  const std::string name = row.name;
  return variant == 0 && (name == "DetectedWastes" || name == "ArmRelease_Request" ||
                          name == "ArmMoveJoints_Request" || name == "ArmPushButton_Request");
}

TEST(ExactSize, MatchesBytesWrittenAndRoundTripsAtEveryAlignment) {
  for (const TypeRow& row : types()) {
    for (int variant = 0; variant < 3; ++variant) {
      void* msg = row.create();
      row.fill(msg, variant);
      EXPECT_EQ(row.callbacks()->get_serialized_size(msg), row.size(msg, 0)) << row.name;
      for (size_t lead = 0; lead < 8; ++lead) {
        SCOPED_TRACE(row.full_name() + " variant " + std::to_string(variant) + " at " +
                     std::to_string(lead));
        const size_t size = row.size(msg, lead);
        const std::vector<uint8_t> bytes = write(row, msg, lead);
        if (may_overcount_empty_doubles(row, variant)) {
          EXPECT_TRUE(size == bytes.size() || size == bytes.size() + 4)
              << size << " vs " << bytes.size();
        } else {
          EXPECT_EQ(size, bytes.size());
        }
        bool full_bounded, is_plain;
        const size_t max = row.max(full_bounded, is_plain, lead);
        if (full_bounded) {
          EXPECT_EQ(max, size);
        } else {
          EXPECT_LE(max, size);
        }

        std::vector<uint8_t> framed(lead, 0xEE);
        framed.insert(framed.end(), bytes.begin(), bytes.end());
        const auto read_into = [&](void* target) {
          Stream in(framed);
          for (size_t i = 0; i < lead; ++i) {
            char filler;
            in.cdr.deserialize(filler);
          }
          EXPECT_TRUE(row.callbacks()->cdr_deserialize(in.cdr, target));
          EXPECT_EQ(in.cdr.getSerializedDataLength(), framed.size());
          EXPECT_TRUE(row.equal(msg, target));
        };
        void* fresh = row.create();
        read_into(fresh);
        row.destroy(fresh);
        // Reading over other content must replace every sequence and string, not merge.
        void* used = row.create();
        row.fill(used, (variant + 1) % 3);
        read_into(used);
        row.destroy(used);
      }
      row.destroy(msg);
    }
  }
}

TEST(ExactSize, WorkedValues) {
  struct Case {
    const char* type;
    const char* what;
    std::function<void(void*)> set;
    size_t at;
    size_t size;
  };
  const Case cases[] = {
      {"DetectTrash_Response", "two Trash and a 3-letter errmsg",
       [](void* p) {
         auto& m = *static_cast<corvanthelis_interfaces__srv__DetectTrash_Response*>(p);
         corvanthelis_interfaces__msg__Trash__Sequence__init(&m.trashes_detected, 2);
         set_string(m.errmsg, "abc");
       },
       0, 304},
      {"Trash", "4 past a multiple of 8", [](void*) {}, 4, 140},
      {"ArmTaskDecision_Result", "string of size 10",
       [](void* p) {
         set_string(
             static_cast<corvanthelis_interfaces__action__ArmTaskDecision_Result*>(p)->errmsg,
             "0123456789");
       },
       0, 8 + 4 + 11},
      {"ArmTaskDecision_Result", "string of size 10, shifted",
       [](void* p) {
         set_string(
             static_cast<corvanthelis_interfaces__action__ArmTaskDecision_Result*>(p)->errmsg,
             "0123456789");
       },
       3, 1 + 4 + 4 + 11},
      {"DetectedWastes", "empty float64 sequence ending on 4 mod 8", [](void*) {}, 4, 36},
      {"ArmTask_GetResult_Response", "nested Result after an int8", [](void*) {}, 0, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.type) + ": " + c.what);
    const TypeRow& row = type(c.type);
    void* msg = row.create();
    c.set(msg);
    EXPECT_EQ(row.size(msg, c.at), c.size);
    row.destroy(msg);
  }
}

}  // namespace
}  // namespace ser
