// What the C++ reader does with short, hostile or odd input, and the few places where the C++
// side differs from the C side on purpose (exact string lengths, resize keeping elements).

#include <fastcdr/exceptions/Exception.h>
#include <fastcdr/exceptions/NotEnoughMemoryException.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "bytes.hpp"
#include "cpp_catalogue.hpp"
#include "cpp_catalogue_headers.hpp"
#include "hostile_inputs.hpp"
#include "random_fill.hpp"
#include "support/alloc_injector.hpp"

namespace ser {
namespace {

using eprosima::fastcdr::exception::NotEnoughMemoryException;
namespace msg = corvanthelis_interfaces::msg;
namespace srv = corvanthelis_interfaces::srv;
namespace action = corvanthelis_interfaces::action;

void fill(const CppRow& row, void* object, uint64_t seed) {
  Draws draws(seed);
  fill_cpp(row.introspection(), object, draws);
}

TEST(CppFailure, TruncatedInputThrowsAtEveryByteAndLeavesTheObjectUsable) {
  const char* sample[] = {"DetectedWastes",         "DetectTrash_Response",
                          "ArmTask_Result",         "TrashInfos",
                          "Trashes",                "SamProcess_Response",
                          "GrabTrashCloud",         "ArmRelease_Request",
                          "ArmTaskDecision_GetResult_Response",
                          "ElevatorButtonPose_Request", "SamProcess_Request",
                          "ArmTask_SendGoal_Request"};
  for (const char* name : sample) {
    const CppRow& row = cpp_type(name);
    for (uint64_t seed : {7u, 8u, 9u}) {
      CppObject source(row);
      fill(row, source.msg, seed);
      const std::vector<uint8_t> bytes = cpp_write(row, source.msg);
      for (size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(std::string(name) + " (contents " + std::to_string(seed) + ") cut at " +
                     std::to_string(cut) + " of " + std::to_string(bytes.size()));
        alloc_injector::reset();
        {
          alloc_injector::Scope counted;
          CppObject msg(row);
          fill(row, msg.msg, seed + 100);  // old vectors and strings the read must replace
          Stream in(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(cut)));
          EXPECT_THROW(row.deserialize(in.cdr, msg.msg), NotEnoughMemoryException);
          Stream whole(bytes);
          EXPECT_TRUE(row.deserialize(whole.cdr, msg.msg));
          EXPECT_TRUE(row.equal(source.msg, msg.msg));
        }
        EXPECT_EQ(alloc_injector::live_blocks(), 0u);
        if (testing::Test::HasFailure()) return;  // one report is enough
      }
    }
  }
}

// The C++ view of the sequence a hostile packet lies about, and a way to make it non-empty.
struct Sequence {
  std::function<std::pair<const void*, size_t>(void*)> look;
  std::function<void(void*)> grow;
};
#define CPP_SEQ(kind, T, field)                                                 \
  {#T "." #field, Sequence{[](void* p) {                                        \
                             auto& v = static_cast<kind::T*>(p)->field;         \
                             return std::pair<const void*, size_t>(v.data(), v.size()); \
                           },                                                   \
                           [](void* p) { static_cast<kind::T*>(p)->field.resize(2); }}},

const std::map<std::string, Sequence>& sequences() {
  static const std::map<std::string, Sequence> all = {HOSTILE_COUNT_SEQUENCES(CPP_SEQ)};
  return all;
}

// The stream's buffer is either the caller's fixed block or one the stream owns and may grow;
// checking a count must not grow either.
void expect_refused(const HostileCount& c, bool growable) {
  SCOPED_TRACE(std::string(c.type) + "." + c.field + ", " + std::to_string(c.bytes.size()) +
               " bytes, " + (growable ? "growable" : "fixed") + " buffer");
  const CppRow& row = cpp_type(c.type);
  const Sequence& sequence = sequences().at(std::string(c.type) + "." + c.field);
  CppObject msg(row);
  sequence.grow(msg.msg);
  const auto before = sequence.look(msg.msg);

  std::vector<char> fixed(c.bytes.begin(), c.bytes.end());
  eprosima::fastcdr::FastBuffer buffer = growable ? eprosima::fastcdr::FastBuffer()
                                                  : eprosima::fastcdr::FastBuffer(fixed.data(), fixed.size());
  eprosima::fastcdr::Cdr cdr(buffer, eprosima::fastcdr::Cdr::LITTLE_ENDIANNESS,
                             eprosima::fastcdr::Cdr::DDS_CDR);
  if (growable) {
    cdr.serializeArray(fixed.data(), fixed.size());
    cdr.reset();
  }
  const char* const storage = buffer.getBuffer();
  const size_t capacity = buffer.getBufferSize();
  alloc_injector::reset();
  {
    alloc_injector::Scope counted;
    EXPECT_THROW(row.deserialize(cdr, msg.msg), NotEnoughMemoryException);
  }
  EXPECT_LT(alloc_injector::largest_request(), 4096u);
  EXPECT_EQ(buffer.getBuffer(), storage);
  EXPECT_EQ(buffer.getBufferSize(), capacity);
  EXPECT_EQ(sequence.look(msg.msg), before);
}

TEST(CppFailure, HostileCountIsRefusedBeforeTheVectorChanges) {
  for (const HostileCount& c : hostile_counts()) {
    expect_refused(c, false);
    expect_refused(c, true);
  }
}

TEST(CppFailure, RefusedCountsLeaveTheStreamWherePrimitiveAndMessageReadersPromise) {
  // Fast-CDR's vector reader puts the stream back before the count; the message-sequence check
  // leaves it right after the count, as the C reader does.
  const Bytes header = Bytes().u32(1).u32(2).str("").pad(3);
  Bytes wastes = header;
  wastes.u32(0).u32(0).u32(0);
  const size_t before_distances = wastes.b.size();
  wastes.u32(1000).f64(1).f64(2);

  CppObject msg(cpp_type("DetectedWastes"));
  auto& wastes_msg = *static_cast<msg::DetectedWastes*>(msg.msg);
  wastes_msg.detected_dis = {9, 8, 7, 6, 5};
  Stream in(wastes.b);
  EXPECT_THROW(msg.row.deserialize(in.cdr, msg.msg), NotEnoughMemoryException);
  EXPECT_EQ(in.cdr.getSerializedDataLength(), before_distances);
  EXPECT_EQ(wastes_msg.detected_dis, (std::vector<double>{9, 8, 7, 6, 5}));

  // A count the bytes left pass one per element but the array read cannot fill: the vector
  // keeps its new size, the stream goes back before the count all the same.
  Bytes short_array = header;
  short_array.u32(0).u32(0).u32(0).u32(3).f64(1).f64(2);
  Stream in_short(short_array.b);
  EXPECT_THROW(msg.row.deserialize(in_short.cdr, msg.msg), NotEnoughMemoryException);
  EXPECT_EQ(in_short.cdr.getSerializedDataLength(), before_distances);
  EXPECT_EQ(wastes_msg.detected_dis.size(), 3u);

  CppObject response(cpp_type("DetectTrash_Response"));
  Stream in_trashes(Bytes().u32(0).u32(1000).u32(0).b);
  EXPECT_THROW(response.row.deserialize(in_trashes.cdr, response.msg), NotEnoughMemoryException);
  EXPECT_EQ(in_trashes.cdr.getSerializedDataLength(), 8u);
}

TEST(CppFailure, ResizeKeepsLeadingElementsAndDefaultConstructsNewOnes) {
  // Three Trash on the wire, the stream cut after the first: what the vector holds then shows
  // how it was resized before the elements were read.
  srv::DetectTrash_Response wire;
  wire.trashes_detected.resize(3);
  for (size_t i = 0; i < 3; ++i) wire.trashes_detected[i].type = static_cast<uint8_t>(10 + i);
  const CppRow& row = cpp_type("DetectTrash_Response");
  const std::vector<uint8_t> bytes = cpp_write(row, &wire);
  const size_t first_element_end = 8 + 144;

  msg::Trash old;
  old.type = 99;
  old.grab_pose.orientation.w = 0.5;
  for (size_t held : {5u, 1u}) {
    SCOPED_TRACE("vector held " + std::to_string(held));
    srv::DetectTrash_Response msg;
    msg.trashes_detected.assign(held, old);
    Stream cut(std::vector<uint8_t>(bytes.begin(), bytes.begin() + first_element_end));
    EXPECT_THROW(row.deserialize(cut.cdr, &msg), NotEnoughMemoryException);
    ASSERT_EQ(msg.trashes_detected.size(), 3u);
    EXPECT_EQ(msg.trashes_detected[0], wire.trashes_detected[0]);
    // elements the shrink kept stay as they were; those the growth added are default ones
    const msg::Trash untouched = held == 5 ? old : msg::Trash();
    EXPECT_EQ(msg.trashes_detected[1], untouched);
    EXPECT_EQ(msg.trashes_detected[2], untouched);

    Stream whole(bytes);
    EXPECT_TRUE(row.deserialize(whole.cdr, &msg));
    EXPECT_EQ(msg, wire);
  }
}

TEST(CppFailure, EdgeCasesOfStringsBoolsAndEmptySequences) {
  // A NUL inside a string ends what is written, exactly as on the C side...
  const CppRow& grab = cpp_type("ArmGrab_Response");
  srv::ArmGrab_Response response;
  response.errmsg = std::string("ab\0cd", 5);
  EXPECT_EQ(cpp_write(grab, &response), Bytes().u32(0).str("ab").b);
  EXPECT_EQ(grab.size(&response, 0), 4u + 4u + 6u);
  // ...but a string read from the wire keeps all its characters, NUL included.
  Stream in(Bytes().u32(0).u32(6).u8('a').u8('b').u8(0).u8('c').u8('d').u8(0).b);
  EXPECT_TRUE(grab.deserialize(in.cdr, &response));
  EXPECT_EQ(response.errmsg, std::string("ab\0cd", 5));

  // Any octet other than 0 is true; true always goes out as 1.
  const CppRow& done = cpp_type("GrabSortedTrash_Response");
  srv::GrabSortedTrash_Response flag;
  Stream seven(std::vector<uint8_t>{7});
  EXPECT_TRUE(done.deserialize(seven.cdr, &flag));
  EXPECT_TRUE(flag.isgrab_done);
  EXPECT_EQ(cpp_write(done, &flag), std::vector<uint8_t>{1});
  const CppRow& nested = cpp_type("ArmTaskDecision_GetResult_Response");
  action::ArmTaskDecision_GetResult_Response result;
  Stream odd(std::vector<uint8_t>{2, 0x80, 0, 0, 5, 0, 0, 0, 1, 0, 0, 0, 0});
  EXPECT_TRUE(nested.deserialize(odd.cdr, &result));
  EXPECT_TRUE(result.result.status);
  EXPECT_EQ(result.result.status_code, 5);

  // An empty int32 sequence clears the vector; the placeholder member is one octet.
  const CppRow& wastes = cpp_type("DetectedWastes");
  msg::DetectedWastes detected;
  detected.ids = {1, 2, 3};
  Stream empty(Bytes().u32(1).u32(2).str("").pad(3).u32(0).u32(0).u32(0).u32(0).b);
  EXPECT_TRUE(wastes.deserialize(empty.cdr, &detected));
  EXPECT_TRUE(detected.ids.empty());
  EXPECT_EQ(empty.cdr.getSerializedDataLength(), 32u);
  srv::TrashCloud_Request placeholder;
  placeholder.structure_needs_at_least_one_member = 0x5A;
  EXPECT_EQ(cpp_write(cpp_type("TrashCloud_Request"), &placeholder), std::vector<uint8_t>{0x5A});
}

}  // namespace
}  // namespace ser
