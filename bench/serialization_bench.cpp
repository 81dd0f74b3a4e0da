// C serialization throughput, side by side with what it cannot beat: memcpy of the same byte
// count, and for Trash the Fast-CDR calls a person would write by hand. The C++ library runs in
// the same program (serialization_cpp_bench.cpp). Numbers and their reading live in
// docs/performance.md.

#include "bench_support.hpp"
#include "serialization_c_samples.hpp"

namespace bench {
namespace {

void BM_Trash_Serialize(benchmark::State& state) {
  CTrash t;
  serialize_loop(state, c_trash_callbacks(), t.msg);
}
void BM_Trash_Deserialize(benchmark::State& state) {
  CTrash source, target;
  deserialize_loop(state, c_trash_callbacks(), source.msg, target.msg);
}

void BM_Trash_RawFastCdr_Serialize(benchmark::State& state) {
  CTrash t;
  Stream s(256);
  for (auto _ : state) {
    s.cdr.reset();
    raw_write_trash(s.cdr, *t.msg);
    benchmark::DoNotOptimize(s.raw.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * c_trash_callbacks()->get_serialized_size(t.msg)));
}
void BM_Trash_RawFastCdr_Deserialize(benchmark::State& state) {
  CTrash source, target;
  Stream s(256);
  c_trash_callbacks()->cdr_serialize(source.msg, s.cdr);
  for (auto _ : state) {
    s.cdr.reset();
    raw_read_trash(s.cdr, *target.msg);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * c_trash_callbacks()->get_serialized_size(source.msg)));
}
void BM_Trash_Memcpy(benchmark::State& state) {
  CTrash t;
  memcpy_loop(state, c_trash_callbacks()->get_serialized_size(t.msg));
}

void BM_DetectTrash16_Serialize(benchmark::State& state) {
  CDetectResponse r;
  serialize_loop(state, c_detect_callbacks(), r.msg);
}
void BM_DetectTrash16_Deserialize(benchmark::State& state) {
  CDetectResponse source, target;
  deserialize_loop(state, c_detect_callbacks(), source.msg, target.msg);
}
void BM_DetectTrash16_Memcpy(benchmark::State& state) {
  CDetectResponse r;
  memcpy_loop(state, c_detect_callbacks()->get_serialized_size(r.msg));
}

void BM_Wastes128k_Serialize(benchmark::State& state) {
  CWastes w;
  serialize_loop(state, c_wastes_callbacks(), w.msg);
}
void BM_Wastes128k_Deserialize(benchmark::State& state) {
  CWastes source, target;
  deserialize_loop(state, c_wastes_callbacks(), source.msg, target.msg);
}
void BM_Wastes128k_Memcpy(benchmark::State& state) {
  CWastes w;
  memcpy_loop(state, c_wastes_callbacks()->get_serialized_size(w.msg));
}

void BM_Paired_Trash_VsRawFastCdr(benchmark::State& state) {
  paired_against_raw_trash<CTrash>(state, c_trash_callbacks());
}
void BM_Paired_Wastes128k_VsMemcpy(benchmark::State& state) {
  paired_against_memcpy<CWastes>(state, c_wastes_callbacks());
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
}  // namespace bench

BENCHMARK_MAIN();
