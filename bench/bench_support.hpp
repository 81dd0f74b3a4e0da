#pragma once

// What the serialization benchmarks of both languages share: a stream that outlives the timed
// loop, the loops themselves through a type's callbacks record (the middleware's road), the
// baselines, and the paired timing that cancels drift on shared cores.

#include <benchmark/benchmark.h>
#include <fastcdr/Cdr.h>
#include <fastcdr/FastBuffer.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

#include "rosidl_typesupport_fastrtps_cpp/message_type_support.h"

namespace bench {

using eprosima::fastcdr::Cdr;
using eprosima::fastcdr::FastBuffer;

inline const message_type_support_callbacks_t* callbacks(const rosidl_message_type_support_t* handle) {
  return static_cast<const message_type_support_callbacks_t*>(handle->data);
}

// A stream over a buffer that outlives the benchmark loop, rewound before every iteration.
struct Stream {
  explicit Stream(size_t n)
      : raw(n), buffer(raw.data(), raw.size()), cdr(buffer, Cdr::LITTLE_ENDIANNESS, Cdr::DDS_CDR) {}
  std::vector<char> raw;
  FastBuffer buffer;
  Cdr cdr;
};

// The C structures and the C++ classes name their members alike, so one fill serves both.
template <class Pose>
void fill_pose(Pose& p, double s) {
  p.position.x = s;
  p.position.y = s + 1;
  p.position.z = s + 2;
  p.orientation.x = 0.1;
  p.orientation.y = 0.2;
  p.orientation.z = 0.3;
  p.orientation.w = 0.9;
}
template <class Trash>
void fill_trash(Trash& t, double s) {
  t.type = 1;
  t.location = 2;
  t.mainaxis_type = 3;
  fill_pose(t.grab_pose, s);
  fill_pose(t.obb_pose, s + 10);
  t.obb_size.x = 0.3;
  t.obb_size.y = 0.2;
  t.obb_size.z = 0.1;
}
constexpr size_t kDetectedTrashes = 16;
constexpr size_t kDistances = 131072;

// What a hand-written reader and writer for Trash would do with Fast-CDR directly.
template <class Pose>
void raw_write_pose(Cdr& cdr, const Pose& p) {
  cdr << p.position.x << p.position.y << p.position.z;
  cdr << p.orientation.x << p.orientation.y << p.orientation.z << p.orientation.w;
}
template <class Pose>
void raw_read_pose(Cdr& cdr, Pose& p) {
  cdr >> p.position.x >> p.position.y >> p.position.z;
  cdr >> p.orientation.x >> p.orientation.y >> p.orientation.z >> p.orientation.w;
}
template <class Trash>
void raw_write_trash(Cdr& cdr, const Trash& m) {
  cdr << static_cast<char>(m.type) << static_cast<char>(m.location)
      << static_cast<char>(m.mainaxis_type);
  raw_write_pose(cdr, m.grab_pose);
  raw_write_pose(cdr, m.obb_pose);
  cdr << m.obb_size.x << m.obb_size.y << m.obb_size.z;
}
template <class Trash>
void raw_read_trash(Cdr& cdr, Trash& m) {
  char type, location, axis;
  cdr >> type >> location >> axis;
  m.type = static_cast<uint8_t>(type);
  m.location = static_cast<uint8_t>(location);
  m.mainaxis_type = static_cast<uint8_t>(axis);
  raw_read_pose(cdr, m.grab_pose);
  raw_read_pose(cdr, m.obb_pose);
  cdr >> m.obb_size.x >> m.obb_size.y >> m.obb_size.z;
}

inline void serialize_loop(benchmark::State& state, const message_type_support_callbacks_t* cb,
                           const void* msg) {
  const size_t bytes = cb->get_serialized_size(msg);
  Stream s(bytes + 64);
  for (auto _ : state) {
    s.cdr.reset();
    if (!cb->cdr_serialize(msg, s.cdr)) state.SkipWithError("serialize failed");
    benchmark::DoNotOptimize(s.raw.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

// Reads the encoding of `source` into `target` again and again.
inline void deserialize_loop(benchmark::State& state, const message_type_support_callbacks_t* cb,
                             const void* source, void* target) {
  const size_t bytes = cb->get_serialized_size(source);
  Stream s(bytes + 64);
  cb->cdr_serialize(source, s.cdr);
  for (auto _ : state) {
    s.cdr.reset();
    if (!cb->cdr_deserialize(s.cdr, target)) state.SkipWithError("deserialize failed");
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

inline void memcpy_loop(benchmark::State& state, size_t bytes) {
  std::vector<char> from(bytes, 1), to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
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

// Writing and reading through a callbacks record into a stream, as one call each, for a Pair.
struct Road {
  Road(const message_type_support_callbacks_t* cb, const void* source, void* target)
      : cb(cb), source(source), target(target), stream(cb->get_serialized_size(source) + 64) {
    cb->cdr_serialize(source, stream.cdr);
  }
  void write() {
    stream.cdr.reset();
    cb->cdr_serialize(source, stream.cdr);
    benchmark::ClobberMemory();
  }
  void read() {
    stream.cdr.reset();
    cb->cdr_deserialize(stream.cdr, target);
    benchmark::ClobberMemory();
  }
  const message_type_support_callbacks_t* cb;
  const void* source;
  void* target;
  Stream stream;
};

inline void report(benchmark::State& state, Pair& write, Pair& read) {
  state.counters["serialize_time_ratio"] = write.median_ratio();
  state.counters["deserialize_time_ratio"] = read.median_ratio();
}

// Ours against the hand-written Fast-CDR calls for Trash; Owner holds a filled Trash as `msg`.
template <class Owner>
void paired_against_raw_trash(benchmark::State& state, const message_type_support_callbacks_t* cb) {
  Owner source, target;
  Road ours(cb, source.msg, target.msg);
  Stream raw(256);
  const auto raw_write = [&] {
    raw.cdr.reset();
    raw_write_trash(raw.cdr, *source.msg);
    benchmark::ClobberMemory();
  };
  const auto raw_read = [&] {
    ours.stream.cdr.reset();
    raw_read_trash(ours.stream.cdr, *target.msg);
    benchmark::ClobberMemory();
  };
  Pair write(200), read(200);
  for (auto _ : state) {
    write.round([&] { ours.write(); }, raw_write);
    read.round([&] { ours.read(); }, raw_read);
  }
  report(state, write, read);
}

// Ours against copying the encoded bytes once; Owner holds the bulk float64 message as `msg`.
template <class Owner>
void paired_against_memcpy(benchmark::State& state, const message_type_support_callbacks_t* cb) {
  Owner source, target;
  Road ours(cb, source.msg, target.msg);
  const size_t bytes = ours.stream.cdr.getSerializedDataLength();
  std::vector<char> copy(bytes);
  const auto copy_out = [&] {
    std::memcpy(copy.data(), ours.stream.raw.data(), bytes);
    benchmark::ClobberMemory();
  };
  Pair write(4), read(4);
  for (auto _ : state) {
    write.round([&] { ours.write(); }, copy_out);
    read.round([&] { ours.read(); }, copy_out);
  }
  report(state, write, read);
}

}  // namespace bench
