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

inline std::vector<HostileCount> hostile_counts() {
  constexpr uint32_t kHuge = 500000000;
  const auto le = [](std::vector<uint8_t> head, uint32_t count, size_t tail) {
    for (int i = 0; i < 4; ++i) head.push_back(static_cast<uint8_t>(count >> (8 * i)));
    head.insert(head.end(), tail, 0);
    return head;
  };
  // Header with an empty frame_id, and the 3 bytes that align the next count.
  const std::vector<uint8_t> header = {1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
  const std::vector<uint8_t> after_ids = le(header, 0, 0);
  const std::vector<uint8_t> after_classes = le(after_ids, 0, 0);
  const std::vector<uint8_t> after_poses = le(after_classes, 0, 0);
  return {
      {"TrashInfos", "trashinfos", le({}, kHuge, 8)},
      {"Trashes", "trashes", le(header, kHuge, 8)},
      {"DetectTrash_Response", "trashes_detected", le({0, 0, 0, 0}, kHuge, 4)},
      {"ArmTask_Result", "trash_blacklist", le({0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}, kHuge, 4)},
      {"SamProcess_Response", "pixel_coords", le({1, 2, 0, 0}, kHuge, 8)},
      {"DetectedWastes", "ids", le(header, kHuge, 8)},
      {"DetectedWastes", "class_names", le(after_ids, kHuge, 8)},
      {"DetectedWastes", "goal_poses", le(after_classes, kHuge, 8)},
      {"DetectedWastes", "detected_dis", le(after_poses, kHuge, 8)},
      {"DetectedWastes", "detected_dis", le(after_poses, 0xFFFFFFFF, 8)},
  };
}

}  // namespace ser
