#pragma once

// The benchmark messages as C structures, filled on construction and owned for the length of
// one benchmark.

#include <rosidl_runtime_c/primitives_sequence_functions.h>
#include <rosidl_runtime_c/string_functions.h>

#include "bench_support.hpp"
#include "corvanthelis_interfaces/msg/detail/detected_wastes__rosidl_typesupport_fastrtps_c.h"
#include "corvanthelis_interfaces/msg/detail/trash__rosidl_typesupport_fastrtps_c.h"
#include "corvanthelis_interfaces/msg/detected_wastes.h"
#include "corvanthelis_interfaces/msg/trash.h"
#include "corvanthelis_interfaces/srv/detail/detect_trash__rosidl_typesupport_fastrtps_c.h"
#include "corvanthelis_interfaces/srv/detect_trash.h"

namespace bench {

inline const message_type_support_callbacks_t* c_trash_callbacks() {
  return callbacks(
      rosidl_typesupport_fastrtps_c__get_message_type_support_handle__corvanthelis_interfaces__msg__Trash());
}
inline const message_type_support_callbacks_t* c_detect_callbacks() {
  return callbacks(
      rosidl_typesupport_fastrtps_c__get_message_type_support_handle__corvanthelis_interfaces__srv__DetectTrash_Response());
}
inline const message_type_support_callbacks_t* c_wastes_callbacks() {
  return callbacks(
      rosidl_typesupport_fastrtps_c__get_message_type_support_handle__corvanthelis_interfaces__msg__DetectedWastes());
}

template <class T, T* (*Create)(), void (*Destroy)(T*), void (*Fill)(T&)>
struct COwned {
  COwned() : msg(Create()) { Fill(*msg); }
  ~COwned() { Destroy(msg); }
  COwned(const COwned&) = delete;
  COwned& operator=(const COwned&) = delete;
  T* msg;
};

inline void fill_c_trash(corvanthelis_interfaces__msg__Trash& t) { fill_trash(t, 1); }
inline void fill_c_detect(corvanthelis_interfaces__srv__DetectTrash_Response& r) {
  corvanthelis_interfaces__msg__Trash__Sequence__init(&r.trashes_detected, kDetectedTrashes);
  for (size_t i = 0; i < kDetectedTrashes; ++i) fill_trash(r.trashes_detected.data[i], static_cast<double>(i));
  rosidl_runtime_c__String__assign(&r.errmsg, "ok");
}
inline void fill_c_wastes(corvanthelis_interfaces__msg__DetectedWastes& w) {
  rosidl_runtime_c__String__assign(&w.header.frame_id, "camera_link");
  rosidl_runtime_c__double__Sequence__init(&w.detected_dis, kDistances);
  for (size_t i = 0; i < kDistances; ++i) w.detected_dis.data[i] = 0.001 * static_cast<double>(i);
}

using CTrash = COwned<corvanthelis_interfaces__msg__Trash, corvanthelis_interfaces__msg__Trash__create,
                      corvanthelis_interfaces__msg__Trash__destroy, fill_c_trash>;
using CDetectResponse =
    COwned<corvanthelis_interfaces__srv__DetectTrash_Response, corvanthelis_interfaces__srv__DetectTrash_Response__create,
           corvanthelis_interfaces__srv__DetectTrash_Response__destroy, fill_c_detect>;
using CWastes = COwned<corvanthelis_interfaces__msg__DetectedWastes, corvanthelis_interfaces__msg__DetectedWastes__create,
                       corvanthelis_interfaces__msg__DetectedWastes__destroy, fill_c_wastes>;

}  // namespace bench
