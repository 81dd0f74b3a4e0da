// C++ serialization throughput, in the same run as the C numbers: the same three messages
// through the C++ callbacks records, and paired time ratios against the C library, against the
// hand-written Fast-CDR calls for Trash and against memcpy for the bulk float64 case.

#include "bench_support.hpp"
#include "corvanthelis_interfaces/msg/detail/detected_wastes__rosidl_typesupport_fastrtps_cpp.hpp"
#include "corvanthelis_interfaces/msg/detail/trash__rosidl_typesupport_fastrtps_cpp.hpp"
#include "corvanthelis_interfaces/msg/detected_wastes.hpp"
#include "corvanthelis_interfaces/msg/trash.hpp"
#include "corvanthelis_interfaces/srv/detail/detect_trash__rosidl_typesupport_fastrtps_cpp.hpp"
#include "corvanthelis_interfaces/srv/detect_trash.hpp"
#include "serialization_c_samples.hpp"

namespace bench {
namespace {

namespace msg = corvanthelis_interfaces::msg;
namespace srv = corvanthelis_interfaces::srv;
using rosidl_typesupport_fastrtps_cpp::get_message_type_support_handle;

const message_type_support_callbacks_t* cpp_trash_callbacks() {
  return callbacks(get_message_type_support_handle<msg::Trash>());
}
const message_type_support_callbacks_t* cpp_detect_callbacks() {
  return callbacks(get_message_type_support_handle<srv::DetectTrash_Response>());
}
const message_type_support_callbacks_t* cpp_wastes_callbacks() {
  return callbacks(get_message_type_support_handle<msg::DetectedWastes>());
}

// The same contents as the C samples, in objects owned for the length of one benchmark.
template <class T, void (*Fill)(T&)>
struct CppOwned {
  CppOwned() { Fill(object); }
  T object;
  T* msg = &object;
};

void fill_cpp_trash(msg::Trash& t) { fill_trash(t, 1); }
void fill_cpp_detect(srv::DetectTrash_Response& r) {
  r.trashes_detected.resize(kDetectedTrashes);
  for (size_t i = 0; i < kDetectedTrashes; ++i) fill_trash(r.trashes_detected[i], static_cast<double>(i));
  r.errmsg = "ok";
}
void fill_cpp_wastes(msg::DetectedWastes& w) {
  w.header.frame_id = "camera_link";
  w.detected_dis.resize(kDistances);
  for (size_t i = 0; i < kDistances; ++i) w.detected_dis[i] = 0.001 * static_cast<double>(i);
}

using CppTrash = CppOwned<msg::Trash, fill_cpp_trash>;
using CppDetectResponse = CppOwned<srv::DetectTrash_Response, fill_cpp_detect>;
using CppWastes = CppOwned<msg::DetectedWastes, fill_cpp_wastes>;

void BM_Cpp_Trash_Serialize(benchmark::State& state) {
  CppTrash t;
  serialize_loop(state, cpp_trash_callbacks(), t.msg);
}
void BM_Cpp_Trash_Deserialize(benchmark::State& state) {
  CppTrash source, target;
  deserialize_loop(state, cpp_trash_callbacks(), source.msg, target.msg);
}
void BM_Cpp_DetectTrash16_Serialize(benchmark::State& state) {
  CppDetectResponse r;
  serialize_loop(state, cpp_detect_callbacks(), r.msg);
}
void BM_Cpp_DetectTrash16_Deserialize(benchmark::State& state) {
  CppDetectResponse source, target;
  deserialize_loop(state, cpp_detect_callbacks(), source.msg, target.msg);
}
void BM_Cpp_Wastes128k_Serialize(benchmark::State& state) {
  CppWastes w;
  serialize_loop(state, cpp_wastes_callbacks(), w.msg);
}
void BM_Cpp_Wastes128k_Deserialize(benchmark::State& state) {
  CppWastes source, target;
  deserialize_loop(state, cpp_wastes_callbacks(), source.msg, target.msg);
}

// Time ratios C++ / C of the same message, writing and reading.
template <class Cpp, class C>
void paired_against_c(benchmark::State& state, const message_type_support_callbacks_t* cpp_cb,
                      const message_type_support_callbacks_t* c_cb, int calls_per_block) {
  Cpp cpp_source, cpp_target;
  C c_source, c_target;
  Road cpp(cpp_cb, cpp_source.msg, cpp_target.msg);
  Road c(c_cb, c_source.msg, c_target.msg);
  Pair write(calls_per_block), read(calls_per_block);
  for (auto _ : state) {
    write.round([&] { cpp.write(); }, [&] { c.write(); });
    read.round([&] { cpp.read(); }, [&] { c.read(); });
  }
  report(state, write, read);
}
void BM_Paired_Cpp_Trash_VsC(benchmark::State& state) {
  paired_against_c<CppTrash, CTrash>(state, cpp_trash_callbacks(), c_trash_callbacks(), 200);
}
void BM_Paired_Cpp_DetectTrash16_VsC(benchmark::State& state) {
  paired_against_c<CppDetectResponse, CDetectResponse>(state, cpp_detect_callbacks(), c_detect_callbacks(), 20);
}
void BM_Paired_Cpp_Wastes128k_VsC(benchmark::State& state) {
  paired_against_c<CppWastes, CWastes>(state, cpp_wastes_callbacks(), c_wastes_callbacks(), 4);
}

void BM_Paired_Cpp_Trash_VsRawFastCdr(benchmark::State& state) {
  paired_against_raw_trash<CppTrash>(state, cpp_trash_callbacks());
}
void BM_Paired_Cpp_Wastes128k_VsMemcpy(benchmark::State& state) {
  paired_against_memcpy<CppWastes>(state, cpp_wastes_callbacks());
}

BENCHMARK(BM_Cpp_Trash_Serialize);
BENCHMARK(BM_Cpp_Trash_Deserialize);
BENCHMARK(BM_Cpp_DetectTrash16_Serialize);
BENCHMARK(BM_Cpp_DetectTrash16_Deserialize);
BENCHMARK(BM_Cpp_Wastes128k_Serialize);
BENCHMARK(BM_Cpp_Wastes128k_Deserialize);
BENCHMARK(BM_Paired_Cpp_Trash_VsC)->Iterations(5000);
BENCHMARK(BM_Paired_Cpp_DetectTrash16_VsC)->Iterations(2000);
BENCHMARK(BM_Paired_Cpp_Wastes128k_VsC)->Iterations(1000);
BENCHMARK(BM_Paired_Cpp_Trash_VsRawFastCdr)->Iterations(5000);
BENCHMARK(BM_Paired_Cpp_Wastes128k_VsMemcpy)->Iterations(1000);

}  // namespace
}  // namespace bench
