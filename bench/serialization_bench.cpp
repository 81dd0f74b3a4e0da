// C serialization throughput, side by side with what it cannot beat: memcpy of the same byte
// count, and for Trash the Fast-CDR calls a person would write by hand. Numbers and their
// reading live in docs/performance.md.

#include <benchmark/benchmark.h>
#include <fastcdr/Cdr.h>
#include <fastcdr/FastBuffer.h>
#include <rosidl_runtime_c/primitives_sequence_functions.h>
#include <rosidl_runtime_c/string_functions.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "corvanthelis_interfaces/msg/detail/detected_wastes__rosidl_typesupport_fastrtps_c.h"
#include "corvanthelis_interfaces/msg/detail/trash__rosidl_typesupport_fastrtps_c.h"
#include "corvanthelis_interfaces/msg/detected_wastes.h"
#include "corvanthelis_interfaces/msg/trash.h"
#include "corvanthelis_interfaces/srv/detail/detect_trash__rosidl_typesupport_fastrtps_c.h"
#include "corvanthelis_interfaces/srv/detect_trash.h"
#include "rosidl_typesupport_fastrtps_cpp/message_type_support.h"

namespace {

using eprosima::fastcdr::Cdr;
using eprosima::fastcdr::FastBuffer;

const message_type_support_callbacks_t* callbacks(const rosidl_message_type_support_t* handle) {
  return static_cast<const message_type_support_callbacks_t*>(handle->data);
}
const message_type_support_callbacks_t* trash_cb() {
  return callbacks(
      rosidl_typesupport_fastrtps_c__get_message_type_support_handle__corvanthelis_interfaces__msg__Trash());
}
const message_type_support_callbacks_t* detect_cb() {
  return callbacks(
      rosidl_typesupport_fastrtps_c__get_message_type_support_handle__corvanthelis_interfaces__srv__DetectTrash_Response());
}
const message_type_support_callbacks_t* wastes_cb() {
  return callbacks(
      rosidl_typesupport_fastrtps_c__get_message_type_support_handle__corvanthelis_interfaces__msg__DetectedWastes());
}

void fill_pose(geometry_msgs__msg__Pose& p, double s) {
  p.position.x = s;
  p.position.y = s + 1;
  p.position.z = s + 2;
  p.orientation.x = 0.1;
  p.orientation.y = 0.2;
  p.orientation.z = 0.3;
  p.orientation.w = 0.9;
}
void fill_trash(corvanthelis_interfaces__msg__Trash& t, double s) {
  t.type = 1;
  t.location = 2;
  t.mainaxis_type = 3;
  fill_pose(t.grab_pose, s);
  fill_pose(t.obb_pose, s + 10);
  t.obb_size.x = 0.3;
  t.obb_size.y = 0.2;
  t.obb_size.z = 0.1;
}

// A stream over a buffer that outlives the benchmark loop, rewound before every iteration.
struct Stream {
  explicit Stream(size_t n)
      : raw(n), buffer(raw.data(), raw.size()), cdr(buffer, Cdr::LITTLE_ENDIANNESS, Cdr::DDS_CDR) {}
  std::vector<char> raw;
  FastBuffer buffer;
  Cdr cdr;
};

// Owns one message of a type for the duration of a benchmark.
template <class T, T* (*Create)(), void (*Destroy)(T*)>
struct Owned {
  Owned() : msg(Create()) {}
  ~Owned() { Destroy(msg); }
  T* msg;
};
using Trash =
    Owned<corvanthelis_interfaces__msg__Trash, corvanthelis_interfaces__msg__Trash__create,
          corvanthelis_interfaces__msg__Trash__destroy>;
using DetectResponse = Owned<corvanthelis_interfaces__srv__DetectTrash_Response,
                             corvanthelis_interfaces__srv__DetectTrash_Response__create,
                             corvanthelis_interfaces__srv__DetectTrash_Response__destroy>;
using Wastes = Owned<corvanthelis_interfaces__msg__DetectedWastes,
                     corvanthelis_interfaces__msg__DetectedWastes__create,
                     corvanthelis_interfaces__msg__DetectedWastes__destroy>;

void make_detect(DetectResponse& r) {
  corvanthelis_interfaces__msg__Trash__Sequence__init(&r.msg->trashes_detected, 16);
  for (int i = 0; i < 16; ++i) fill_trash(r.msg->trashes_detected.data[i], i);
  rosidl_runtime_c__String__assign(&r.msg->errmsg, "ok");
}
constexpr size_t kDistances = 131072;
void make_wastes(Wastes& w) {
  rosidl_runtime_c__String__assign(&w.msg->header.frame_id, "camera_link");
  rosidl_runtime_c__double__Sequence__init(&w.msg->detected_dis, kDistances);
  for (size_t i = 0; i < kDistances; ++i)
    w.msg->detected_dis.data[i] = 0.001 * static_cast<double>(i);
}

template <class M>
void serialize_loop(benchmark::State& state, const message_type_support_callbacks_t* cb,
                    const M& m) {
  const size_t bytes = cb->get_serialized_size(m.msg);
  Stream s(bytes + 64);
  for (auto _ : state) {
    s.cdr.reset();
    if (!cb->cdr_serialize(m.msg, s.cdr)) state.SkipWithError("serialize failed");
    benchmark::DoNotOptimize(s.raw.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

template <class M>
void deserialize_loop(benchmark::State& state, const message_type_support_callbacks_t* cb,
                      const M& source) {
  const size_t bytes = cb->get_serialized_size(source.msg);
  Stream s(bytes + 64);
  cb->cdr_serialize(source.msg, s.cdr);
  M target;
  for (auto _ : state) {
    s.cdr.reset();
    if (!cb->cdr_deserialize(s.cdr, target.msg)) state.SkipWithError("deserialize failed");
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void memcpy_loop(benchmark::State& state, size_t bytes) {
  std::vector<char> from(bytes, 1), to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

size_t trash_bytes() {
  Trash t;
  return trash_cb()->get_serialized_size(t.msg);
}

void BM_Trash_Serialize(benchmark::State& state) {
  Trash t;
  fill_trash(*t.msg, 1);
  serialize_loop(state, trash_cb(), t);
}
void BM_Trash_Deserialize(benchmark::State& state) {
  Trash t;
  fill_trash(*t.msg, 1);
  deserialize_loop(state, trash_cb(), t);
}

// What a hand-written reader and writer for Trash would do with Fast-CDR directly.
void raw_write_pose(Cdr& cdr, const geometry_msgs__msg__Pose& p) {
  cdr << p.position.x << p.position.y << p.position.z;
  cdr << p.orientation.x << p.orientation.y << p.orientation.z << p.orientation.w;
}
void raw_read_pose(Cdr& cdr, geometry_msgs__msg__Pose& p) {
  cdr >> p.position.x >> p.position.y >> p.position.z;
  cdr >> p.orientation.x >> p.orientation.y >> p.orientation.z >> p.orientation.w;
}
void BM_Trash_RawFastCdr_Serialize(benchmark::State& state) {
  Trash t;
  fill_trash(*t.msg, 1);
  const auto& m = *t.msg;
  Stream s(256);
  for (auto _ : state) {
    s.cdr.reset();
    s.cdr << static_cast<char>(m.type) << static_cast<char>(m.location)
          << static_cast<char>(m.mainaxis_type);
    raw_write_pose(s.cdr, m.grab_pose);
    raw_write_pose(s.cdr, m.obb_pose);
    s.cdr << m.obb_size.x << m.obb_size.y << m.obb_size.z;
    benchmark::DoNotOptimize(s.raw.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * trash_bytes()));
}
void BM_Trash_RawFastCdr_Deserialize(benchmark::State& state) {
  Trash source, t;
  fill_trash(*source.msg, 1);
  Stream s(256);
  trash_cb()->cdr_serialize(source.msg, s.cdr);
  auto& m = *t.msg;
  for (auto _ : state) {
    s.cdr.reset();
    char type, location, axis;
    s.cdr >> type >> location >> axis;
    m.type = static_cast<uint8_t>(type);
    m.location = static_cast<uint8_t>(location);
    m.mainaxis_type = static_cast<uint8_t>(axis);
    raw_read_pose(s.cdr, m.grab_pose);
    raw_read_pose(s.cdr, m.obb_pose);
    s.cdr >> m.obb_size.x >> m.obb_size.y >> m.obb_size.z;
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * trash_bytes()));
}
void BM_Trash_Memcpy(benchmark::State& state) { memcpy_loop(state, trash_bytes()); }

void BM_DetectTrash16_Serialize(benchmark::State& state) {
  DetectResponse r;
  make_detect(r);
  serialize_loop(state, detect_cb(), r);
}
void BM_DetectTrash16_Deserialize(benchmark::State& state) {
  DetectResponse r;
  make_detect(r);
  deserialize_loop(state, detect_cb(), r);
}
void BM_DetectTrash16_Memcpy(benchmark::State& state) {
  DetectResponse r;
  make_detect(r);
  memcpy_loop(state, detect_cb()->get_serialized_size(r.msg));
}

void BM_Wastes128k_Serialize(benchmark::State& state) {
  Wastes w;
  make_wastes(w);
  serialize_loop(state, wastes_cb(), w);
}
void BM_Wastes128k_Deserialize(benchmark::State& state) {
  Wastes w;
  make_wastes(w);
  deserialize_loop(state, wastes_cb(), w);
}
void BM_Wastes128k_Memcpy(benchmark::State& state) {
  Wastes w;
  make_wastes(w);
  memcpy_loop(state, wastes_cb()->get_serialized_size(w.msg));
}

// The cores here are shared, so throughput drifts by tens of percent between benchmarks run
// one after the other. A Pair alternates short blocks of two contenders and reports the median
// of the per-block time ratios (ours / baseline), which such drift cancels out of.
class Pair {
 public:
  explicit Pair(int calls_per_block) : calls_per_block_(calls_per_block) {}

  template <class Ours, class Baseline>
  void round(Ours&& ours, Baseline&& baseline) {
    double a, b;
    if (ours_first_) {
      a = time(ours);
      b = time(baseline);
    } else {
      b = time(baseline);
      a = time(ours);
    }
    ours_first_ = !ours_first_;
    ratios_.push_back(a / b);
  }

  double median_ratio() {
    if (ratios_.empty()) return 0;
    std::nth_element(ratios_.begin(), ratios_.begin() + static_cast<long>(ratios_.size() / 2),
                     ratios_.end());
    return ratios_[ratios_.size() / 2];
  }

 private:
  template <class F>
  double time(F& f) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls_per_block_; ++i) f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }

  int calls_per_block_;
  bool ours_first_ = true;
  std::vector<double> ratios_;
};

void BM_Paired_Trash_VsRawFastCdr(benchmark::State& state) {
  Trash source, target;
  fill_trash(*source.msg, 1);
  const auto& m = *source.msg;
  auto& t = *target.msg;
  Stream s(256);
  const auto* cb = trash_cb();
  const auto ours_write = [&] {
    s.cdr.reset();
    cb->cdr_serialize(source.msg, s.cdr);
    benchmark::ClobberMemory();
  };
  const auto raw_write = [&] {
    s.cdr.reset();
    s.cdr << static_cast<char>(m.type) << static_cast<char>(m.location)
          << static_cast<char>(m.mainaxis_type);
    raw_write_pose(s.cdr, m.grab_pose);
    raw_write_pose(s.cdr, m.obb_pose);
    s.cdr << m.obb_size.x << m.obb_size.y << m.obb_size.z;
    benchmark::ClobberMemory();
  };
  const auto ours_read = [&] {
    s.cdr.reset();
    cb->cdr_deserialize(s.cdr, target.msg);
    benchmark::ClobberMemory();
  };
  const auto raw_read = [&] {
    s.cdr.reset();
    char type, location, axis;
    s.cdr >> type >> location >> axis;
    t.type = static_cast<uint8_t>(type);
    t.location = static_cast<uint8_t>(location);
    t.mainaxis_type = static_cast<uint8_t>(axis);
    raw_read_pose(s.cdr, t.grab_pose);
    raw_read_pose(s.cdr, t.obb_pose);
    s.cdr >> t.obb_size.x >> t.obb_size.y >> t.obb_size.z;
    benchmark::ClobberMemory();
  };
  Pair write(200), read(200);
  for (auto _ : state) {
    write.round(ours_write, raw_write);
    ours_write();
    read.round(ours_read, raw_read);
  }
  state.counters["serialize_time_ratio"] = write.median_ratio();
  state.counters["deserialize_time_ratio"] = read.median_ratio();
}

void BM_Paired_Wastes128k_VsMemcpy(benchmark::State& state) {
  Wastes source, target;
  make_wastes(source);
  const auto* cb = wastes_cb();
  const size_t bytes = cb->get_serialized_size(source.msg);
  Stream s(bytes + 64);
  std::vector<char> copy(bytes);
  cb->cdr_serialize(source.msg, s.cdr);
  const auto copy_out = [&] {
    std::memcpy(copy.data(), s.raw.data(), bytes);
    benchmark::ClobberMemory();
  };
  const auto ours_write = [&] {
    s.cdr.reset();
    cb->cdr_serialize(source.msg, s.cdr);
    benchmark::ClobberMemory();
  };
  const auto ours_read = [&] {
    s.cdr.reset();
    cb->cdr_deserialize(s.cdr, target.msg);
    benchmark::ClobberMemory();
  };
  Pair write(4), read(4);
  for (auto _ : state) {
    write.round(ours_write, copy_out);
    read.round(ours_read, copy_out);
  }
  state.counters["serialize_time_ratio"] = write.median_ratio();
  state.counters["deserialize_time_ratio"] = read.median_ratio();
}

BENCHMARK(BM_Trash_Serialize);
BENCHMARK(BM_Trash_RawFastCdr_Serialize);
BENCHMARK(BM_Trash_Deserialize);
BENCHMARK(BM_Trash_RawFastCdr_Deserialize);
BENCHMARK(BM_Trash_Memcpy);
BENCHMARK(BM_DetectTrash16_Serialize);
BENCHMARK(BM_DetectTrash16_Deserialize);
BENCHMARK(BM_DetectTrash16_Memcpy);
BENCHMARK(BM_Wastes128k_Serialize);
BENCHMARK(BM_Wastes128k_Deserialize);
BENCHMARK(BM_Wastes128k_Memcpy);
BENCHMARK(BM_Paired_Trash_VsRawFastCdr)->Iterations(5000);
BENCHMARK(BM_Paired_Wastes128k_VsMemcpy)->Iterations(1000);

}  // namespace

BENCHMARK_MAIN();
