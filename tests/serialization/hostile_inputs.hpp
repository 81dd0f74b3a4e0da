#pragma once

// Packets whose sequence count claims far more elements than the bytes after it could hold,
// one per sequence of the package, for the C and the C++ readers alike.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ser {

// The sequences hostile_counts() lies about, for tests that look at them in either language:
// X(kind, Type, field).
#define HOSTILE_COUNT_SEQUENCES(X)        \
  X(msg, TrashInfos, trashinfos)          \
  X(msg, Trashes, trashes)                \
  X(srv, DetectTrash_Response, trashes_detected) \
  X(action, ArmTask_Result, trash_blacklist)     \
  X(srv, SamProcess_Response, pixel_coords)      \
  X(msg, DetectedWastes, ids)             \
  X(msg, DetectedWastes, class_names)     \
  X(msg, DetectedWastes, goal_poses)      \
  X(msg, DetectedWastes, detected_dis)

struct HostileCount {
  const char* type;
  const char* field;  // the sequence whose count lies
  std::vector<uint8_t> bytes;
};

// Where the count of each sequence of HOSTILE_COUNT_SEQUENCES stands in a packet of its type.
struct CountPosition {
  const char* type;
  const char* field;
  std::vector<uint8_t> before;  // the packet's bytes before the count
  size_t least_element_bytes;   // the least one element takes on the wire
  bool of_messages;             // whether the elements are messages rather than numbers
  size_t hostile_tail;          // the bytes after the count in hostile_counts()
};

inline std::vector<uint8_t> with_u32(std::vector<uint8_t> head, uint32_t value, size_t zeros) {
  for (int i = 0; i < 4; ++i) head.push_back(static_cast<uint8_t>(value >> (8 * i)));
  head.insert(head.end(), zeros, 0);
  return head;
}

inline std::vector<CountPosition> count_positions() {
  // Header with an empty frame_id, and the 3 bytes that align the next count.
  const std::vector<uint8_t> header = {1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
  const std::vector<uint8_t> after_ids = with_u32(header, 0, 0);
  const std::vector<uint8_t> after_classes = with_u32(after_ids, 0, 0);
  const std::vector<uint8_t> after_poses = with_u32(after_classes, 0, 0);
  // A Trash takes 3 octets and 17 float64, a TrashInfo 3 octets and 24 float64, before padding.
  return {
      {"TrashInfos", "trashinfos", {}, 195, true, 8},
      {"Trashes", "trashes", header, 139, true, 8},
      {"DetectTrash_Response", "trashes_detected", {0, 0, 0, 0}, 139, true, 4},
      {"ArmTask_Result", "trash_blacklist", {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}, 139, true, 4},
      {"SamProcess_Response", "pixel_coords", {1, 2, 0, 0}, 24, true, 8},
      {"DetectedWastes", "ids", header, 4, false, 8},
      {"DetectedWastes", "class_names", after_ids, 4, false, 8},
      {"DetectedWastes", "goal_poses", after_classes, 56, true, 8},
      {"DetectedWastes", "detected_dis", after_poses, 8, false, 8},
  };
}

inline std::vector<HostileCount> hostile_counts() {
  constexpr uint32_t kHuge = 500000000;
  const std::vector<CountPosition> positions = count_positions();
  std::vector<HostileCount> counts;
  for (const CountPosition& at : positions) {
    counts.push_back({at.type, at.field, with_u32(at.before, kHuge, at.hostile_tail)});
  }
  const CountPosition& last = positions.back();
  counts.push_back({last.type, last.field, with_u32(last.before, 0xFFFFFFFF, last.hostile_tail)});
  return counts;
}

}  // namespace ser
