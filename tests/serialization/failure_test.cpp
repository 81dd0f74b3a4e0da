// What a reader or writer does with bad input decides whether a malformed or hostile packet
// can crash, exhaust or corrupt the process that receives it.

#include <fastcdr/exceptions/Exception.h>
#include <fastcdr/exceptions/NotEnoughMemoryException.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <new>
#include <set>
#include <string>

#include "catalogue.hpp"
#include "catalogue_headers.hpp"
#include "hostile_inputs.hpp"
#include "support/alloc_injector.hpp"

namespace ser {
namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

TEST(Failure, NullMessageIsRefusedWithoutTouchingTheStream) {
  for (const TypeRow& row : types()) {
    SCOPED_TRACE(row.full_name());
    Stream out(64);
    CaptureStderr();
    EXPECT_FALSE(row.callbacks()->cdr_serialize(nullptr, out.cdr));
    EXPECT_EQ(GetCapturedStderr(), "ros message handle is null\n");
    EXPECT_EQ(out.cdr.getSerializedDataLength(), 0u);

    Stream in(std::vector<uint8_t>(64, 1));
    CaptureStderr();
    EXPECT_FALSE(row.callbacks()->cdr_deserialize(in.cdr, nullptr));
    EXPECT_EQ(GetCapturedStderr(), "ros message handle is null\n");
    EXPECT_EQ(in.cdr.getSerializedDataLength(), 0u);
  }
}

using StringOf = std::function<rosidl_runtime_c__String&(void*)>;
#define STRING_OF(kind, T, path)                                          \
  [](void* p) -> rosidl_runtime_c__String& {                              \
    return static_cast<corvanthelis_interfaces__##kind##__##T*>(p)->path; \
  }

TEST(Failure, UnusableStringStopsTheWriteAfterTheMembersBeforeIt) {
  struct Where {
    const char* type;
    int variant;
    StringOf string;
    size_t written_before;
  };
  const Where places[] = {
      {"DetectTrash_Response", 1, STRING_OF(srv, DetectTrash_Response, errmsg), 4 + 4 + 144},
      {"ArmTask_Result", 2, STRING_OF(action, ArmTask_Result, errmsg), 4},
      {"ElevatorButtonPose_Response", 1, STRING_OF(srv, ElevatorButtonPose_Response, errmsg), 64},
      {"ArmTask_GetResult_Response", 1,
       STRING_OF(action, ArmTask_GetResult_Response, result.errmsg), 8},
      {"ArmTaskDecision_GetResult_Response", 1,
       STRING_OF(action, ArmTaskDecision_GetResult_Response, result.errmsg), 8},
      {"Trashes", 1, STRING_OF(msg, Trashes, header.frame_id), 8},
      {"SamProcess_Request", 1, STRING_OF(srv, SamProcess_Request, image.encoding), 32},
  };
  static char text[] = "abcd";
  struct Breakage {
    const char* what;
    rosidl_runtime_c__String record;
    const char* message;
  };
  const Breakage breakages[] = {
      {"zero-filled", {nullptr, 0, 0}, "string capacity not greater than size\n"},
      {"capacity equals size", {text, 4, 4}, "string capacity not greater than size\n"},
      {"room but no characters", {nullptr, 0, 8}, "string not null-terminated\n"},
      {"no NUL at size", {text, 2, 5}, "string not null-terminated\n"},
  };
  for (const Where& w : places) {
    const TypeRow& row = type(w.type);
    void* msg = row.create();
    row.fill(msg, w.variant);
    const std::vector<uint8_t> good = write(row, msg);
    for (const Breakage& b : breakages) {
      SCOPED_TRACE(std::string(w.type) + ", " + b.what);
      rosidl_runtime_c__String& s = w.string(msg);
      const rosidl_runtime_c__String kept = s;
      s = b.record;
      Stream out(1024);
      CaptureStderr();
      const bool ok = row.callbacks()->cdr_serialize(msg, out.cdr);
      const std::string err = GetCapturedStderr();
      s = kept;
      EXPECT_FALSE(ok);
      EXPECT_EQ(err, b.message);
      const std::vector<uint8_t> partial = out.written();
      ASSERT_EQ(partial.size(), w.written_before);
      EXPECT_TRUE(std::equal(partial.begin(), partial.end(), good.begin()));
    }
    row.destroy(msg);
  }
}

TEST(Failure, SequenceIsCreatedAnewEvenWhenTheCountIsUnchanged) {
  if (!alloc_injector::available()) GTEST_SKIP() << "allocation injection unavailable";
  const TypeRow& row = type("DetectTrash_Response");
  void* source = row.create();
  row.fill(source, 2);
  const std::vector<uint8_t> bytes = write(row, source);
  row.destroy(source);

  for (bool already : {false, true}) {
    SCOPED_TRACE(already);
    auto* msg = static_cast<corvanthelis_interfaces__srv__DetectTrash_Response*>(row.create());
    if (already) row.fill(msg, 2);  // the very elements that are on the wire
    Stream in(bytes);
    CaptureStderr();
    bool ok;
    {
      alloc_injector::reset();
      alloc_injector::arm(1);
      alloc_injector::Scope counted;
      ok = row.callbacks()->cdr_deserialize(in.cdr, msg);
    }
    alloc_injector::disarm();
    EXPECT_EQ(GetCapturedStderr(), "failed to create array for field 'trashes_detected'");
    EXPECT_FALSE(ok);
    EXPECT_EQ(msg->trashes_detected.size, 0u);
    row.destroy(msg);
    EXPECT_EQ(alloc_injector::live_blocks(), 0u);
  }
}

TEST(Failure, EveryAllocationFailureOnReadIsReportedAndLeavesNoLeak) {
  if (!alloc_injector::available()) GTEST_SKIP() << "allocation injection unavailable";
  const std::string assign = "failed to assign string into field 'errmsg'\n";
  const auto array = [](const char* field) {
    return std::string("failed to create array for field '") + field + "'";
  };
  struct Case {
    const char* type;
    std::set<std::string> reported;
  };
  const Case cases[] = {
      {"DetectedWastes",
       {array("ids"), array("class_names"), array("goal_poses"), array("detected_dis")}},
      {"SamProcess_Response", {array("pixel_coords")}},
      {"Trashes", {array("trashes")}},
      {"TrashInfos", {array("trashinfos")}},
      {"DetectTrash_Response", {array("trashes_detected"), assign}},
      {"ArmTask_Result", {assign, array("trash_blacklist")}},
      {"ArmTask_GetResult_Response", {assign, array("trash_blacklist")}},
      {"ArmRelease_Response", {assign}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    const TypeRow& row = type(c.type);
    void* source = row.create();
    row.fill(source, 2);
    const std::vector<uint8_t> bytes = write(row, source);

    std::set<std::string> reported;
    const size_t runs = alloc_injector::for_each_failure([&] {
      alloc_injector::Pause setup;
      void* msg = row.create();
      Stream in(bytes);
      CaptureStderr();
      bool ok = false;
      bool out_of_memory = false;
      try {
        alloc_injector::Scope counted;
        ok = row.callbacks()->cdr_deserialize(in.cdr, msg);
      } catch (const std::bad_alloc&) {
        out_of_memory = true;  // the temporary text of a long string
      }
      const std::string err = GetCapturedStderr();
      if (ok) {
        EXPECT_TRUE(row.equal(source, msg));
      } else if (!out_of_memory) {
        EXPECT_FALSE(err.empty());
        if (err.rfind("failed to create array", 0) == 0 || err == assign) reported.insert(err);
      }
      row.destroy(msg);
      EXPECT_EQ(alloc_injector::live_blocks(), 0u);
    });
    EXPECT_GT(runs, 0u);
    EXPECT_EQ(reported, c.reported);
    row.destroy(source);
  }
}

TEST(Failure, TruncatedInputThrowsAtEveryByteAndLeavesTheStructureUsable) {
  const char* sample[] = {"DetectedWastes",
                          "DetectTrash_Response",
                          "ArmTask_Result",
                          "TrashInfos",
                          "Trashes",
                          "SamProcess_Response",
                          "GrabTrashCloud",
                          "ArmRelease_Request",
                          "ArmTaskDecision_GetResult_Response",
                          "ElevatorButtonPose_Request",
                          "SamProcess_Request"};
  for (const char* name : sample) {
    const TypeRow& row = type(name);
    void* source = row.create();
    row.fill(source, 2);
    const std::vector<uint8_t> bytes = write(row, source);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
      SCOPED_TRACE(std::string(name) + " cut at " + std::to_string(cut) + " of " +
                   std::to_string(bytes.size()));
      alloc_injector::reset();
      {
        alloc_injector::Scope counted;
        void* msg = row.create();
        row.fill(msg, 1);  // old sequences and strings that the read must dispose of
        Stream in(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(cut)));
        bool thrown = false;
        try {
          row.callbacks()->cdr_deserialize(in.cdr, msg);
        } catch (const eprosima::fastcdr::exception::NotEnoughMemoryException&) {
          thrown = true;
        } catch (const eprosima::fastcdr::exception::Exception& e) {
          ADD_FAILURE() << "unexpected stream exception " << e.what();
        }
        EXPECT_TRUE(thrown);
        Stream whole(bytes);
        EXPECT_TRUE(row.callbacks()->cdr_deserialize(whole.cdr, msg));
        EXPECT_TRUE(row.equal(source, msg));
        row.destroy(msg);
      }
      EXPECT_EQ(alloc_injector::live_blocks(), 0u);
      if (testing::Test::HasFailure()) break;  // one report per type is enough
    }
    row.destroy(source);
  }
}

TEST(Failure, HostileCountIsRejectedBeforeAnyAllocation) {
  struct Sequence {
    const void* data;
    size_t size;
  };
  using SequenceOf = std::function<Sequence(void*)>;
#define SEQ_OF(kind, T, field)                                                \
  {#T "." #field, [](void* p) {                                               \
     auto& s = static_cast<corvanthelis_interfaces__##kind##__##T*>(p)->field; \
     return Sequence{s.data, s.size};                                         \
   }},
  const std::map<std::string, SequenceOf> sequences = {HOSTILE_COUNT_SEQUENCES(SEQ_OF)};
  for (const HostileCount& c : hostile_counts()) {
    SCOPED_TRACE(std::string(c.type) + "." + c.field + ", " + std::to_string(c.bytes.size()) +
                 " bytes");
    const TypeRow& row = type(c.type);
    const SequenceOf& sequence = sequences.at(std::string(c.type) + "." + c.field);
    void* msg = row.create();
    row.fill(msg, 1);
    const Sequence before = sequence(msg);
    Stream in(c.bytes);
    alloc_injector::reset();
    {
      alloc_injector::Scope counted;
      EXPECT_THROW(row.callbacks()->cdr_deserialize(in.cdr, msg),
                   eprosima::fastcdr::exception::NotEnoughMemoryException);
    }
    EXPECT_LT(alloc_injector::largest_request(), 4096u);
    const Sequence after = sequence(msg);
    EXPECT_EQ(after.data, before.data);
    EXPECT_EQ(after.size, before.size);
    row.destroy(msg);
  }
}

TEST(Failure, ElementsNotYetReadAreFreshlyInitialisedNotLeftOver) {
  const TypeRow& trashes = type("Trashes");
  const TypeRow& trash = type("Trash");
  using Trashes = corvanthelis_interfaces__msg__Trashes;
  auto* wire = static_cast<Trashes*>(trashes.create());
  auto* msg = static_cast<Trashes*>(trashes.create());
  corvanthelis_interfaces__msg__Trash__Sequence__init(&wire->trashes, 5);
  corvanthelis_interfaces__msg__Trash__Sequence__init(&msg->trashes, 5);
  for (size_t i = 0; i < 5; ++i) {
    trash.fill(&wire->trashes.data[i], 1);
    trash.fill(&msg->trashes.data[i], 2);
  }
  const std::vector<uint8_t> bytes = write(trashes, wire);
  // Header with an empty frame_id, padding, count: the first element starts at 20.
  const size_t first = trash.size(&wire->trashes.data[0], 20);
  const size_t two = 20 + first + trash.size(&wire->trashes.data[1], 20 + first);

  Stream in(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(two)));
  EXPECT_THROW(trashes.callbacks()->cdr_deserialize(in.cdr, msg),
               eprosima::fastcdr::exception::Exception);
  ASSERT_EQ(msg->trashes.size, 5u);
  void* initial = trash.create();
  for (size_t i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(trash.equal(&msg->trashes.data[i],
                            i < 2 ? static_cast<const void*>(&wire->trashes.data[i]) : initial));
  }
  EXPECT_EQ(msg->trashes.data[4].grab_pose.orientation.w, 1.0);
  trash.destroy(initial);
  trashes.destroy(msg);
  trashes.destroy(wire);
}

}  // namespace
}  // namespace ser
