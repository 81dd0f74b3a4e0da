// Messages between two processes over the transport, C++ to C++: round-trip latency and
// throughput of Trash and of DetectedWastes with 131 072 float64, and, in this process, the
// time the data type spends on one sample (size, zero-fill, serialize; deserialize) — the share
// of the road that is ours rather than the middleware's. Not run by CTest.
//
//   transport_bench [benchmark flags]      starts its echo peer, runs the benchmarks
//   transport_bench --peer <domain> <partition>
//       the peer: echoes /ping_<type> to /pong_<type> (types trash and wastes); leaves when
//       its standard input closes (bench/python_transport_bench.py drives it the same way)

#include <benchmark/benchmark.h>
#include <fastdds/rtps/common/SerializedPayload.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "bench_support.hpp"
#include "corvanthelis_interfaces/msg/detected_wastes.hpp"
#include "corvanthelis_interfaces/msg/trash.hpp"
#include "rosidl_typesupport_fastrtps_cpp/message_type_support_decl.hpp"
#include "transport/cpp.hpp"
#include "transport/message_type.hpp"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using corvanthelis_interfaces::msg::DetectedWastes;
using corvanthelis_interfaces::msg::Trash;

constexpr uint32_t kDomain = 51;
constexpr auto kPatience = 20s;

Trash sample_trash() {
  Trash trash;
  bench::fill_trash(trash, 1.0);
  return trash;
}

DetectedWastes sample_wastes() {
  DetectedWastes wastes;
  wastes.header.frame_id = "camera";
  wastes.detected_dis.resize(bench::kDistances);
  for (size_t i = 0; i < wastes.detected_dis.size(); ++i)
    wastes.detected_dis[i] = 0.001 * static_cast<double>(i);
  return wastes;
}

// Echoes one type.
template <typename T>
struct Reflector {
  Reflector(transport::Node& node, const std::string& name)
      : pong(node, "/pong_" + name),
        ping(node, "/ping_" + name,
             [this](std::unique_ptr<T> message) { pong.publish(*message); }) {}
  transport::cpp::Publisher<T> pong;
  transport::cpp::Subscription<T> ping;
};

int peer(uint32_t domain, const std::string& partition) {
  transport::Node node("bench_peer", {domain, partition});
  Reflector<Trash> trash(node, "trash");
  Reflector<DetectedWastes> wastes(node, "wastes");
  while (std::cin.get() != EOF) {
  }
  return 0;
}

// The benchmarking side of one type: a publisher of pings and sinks, and the echoes.
template <typename T>
struct Caller {
  Caller(transport::Node& node, const std::string& name)
      : ping(node, "/ping_" + name), pong(node, "/pong_" + name, [this](std::unique_ptr<T>) {
          std::lock_guard<std::mutex> lock(mutex);
          ++echoes;
          echoed.notify_one();
        }) {}

  bool ready() {
    return ping.raw().wait_for_subscribers(1, kPatience) &&
           pong.raw().wait_for_publishers(1, kPatience);
  }
  // Sends `count` messages, then waits for all their echoes.
  bool there_and_back(const T& message, int count) {
    std::unique_lock<std::mutex> lock(mutex);
    const size_t before = echoes;
    lock.unlock();
    for (int i = 0; i < count; ++i) {
      if (!ping.publish(message)) return false;
    }
    lock.lock();
    return echoed.wait_for(lock, kPatience,
                           [&] { return echoes >= before + static_cast<size_t>(count); });
  }

  transport::cpp::Publisher<T> ping;
  std::mutex mutex;
  std::condition_variable echoed;
  size_t echoes = 0;
  transport::cpp::Subscription<T> pong;
};

struct Road {
  transport::Node node;
  Caller<Trash> trash;
  Caller<DetectedWastes> wastes;
  explicit Road(const std::string& partition)
      : node("bench", {kDomain, partition}), trash(node, "trash"), wastes(node, "wastes") {}
};
Road* road = nullptr;

template <typename T>
Caller<T>& caller();
template <>
Caller<Trash>& caller<Trash>() {
  return road->trash;
}
template <>
Caller<DetectedWastes>& caller<DetectedWastes>() {
  return road->wastes;
}

template <typename T>
size_t wire_size(const T& message) {
  return bench::callbacks(rosidl_typesupport_fastrtps_cpp::get_message_type_support_handle<T>())
             ->get_serialized_size(&message) +
         4;
}

// One iteration: a message there and back; the one-way time is half of it.
template <typename T, T (*Sample)()>
void BM_RoundTrip(benchmark::State& state) {
  const T message = Sample();
  for (auto _ : state) {
    if (!caller<T>().there_and_back(message, 1)) state.SkipWithError("no echo in time");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * 2 * wire_size(message)));
}

// One iteration: a burst of messages and all their echoes. Items count messages that went
// there and came back; bytes count both ways. (Waiting for the acknowledgments instead would
// time the writer's heartbeat period.)
template <typename T, T (*Sample)(), int Burst>
void BM_Burst(benchmark::State& state) {
  const T message = Sample();
  for (auto _ : state) {
    if (!caller<T>().there_and_back(message, Burst))
      state.SkipWithError("not all echoes came in time");
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * Burst));
  state.SetBytesProcessed(
      static_cast<int64_t>(state.iterations() * Burst * 2 * wire_size(message)));
}

// What the data type does per sample on the writing side: size, zero-fill and serialize into
// the payload the middleware hands it.
template <typename T, T (*Sample)()>
void BM_DataTypeWrite(benchmark::State& state) {
  T message = Sample();
  transport::CdrMessageType type(transport::cpp::message_support<T>());
  eprosima::fastrtps::rtps::SerializedPayload_t payload(type.getSerializedSizeProvider(&message)());
  for (auto _ : state) {
    payload.length = type.getSerializedSizeProvider(&message)();  // as the middleware asks it
    if (!type.serialize(&message, &payload)) state.SkipWithError("serialize failed");
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * payload.length));
}

// And on the reading side: deserialize into a message of the reader's.
template <typename T, T (*Sample)()>
void BM_DataTypeRead(benchmark::State& state) {
  T message = Sample();
  transport::CdrMessageType type(transport::cpp::message_support<T>());
  eprosima::fastrtps::rtps::SerializedPayload_t payload(type.getSerializedSizeProvider(&message)());
  type.serialize(&message, &payload);
  for (auto _ : state) {
    T received;
    if (!type.deserialize(&payload, &received)) state.SkipWithError("deserialize failed");
    benchmark::DoNotOptimize(received);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * payload.length));
}

BENCHMARK_TEMPLATE(BM_RoundTrip, Trash, sample_trash)->UseRealTime();
BENCHMARK_TEMPLATE(BM_RoundTrip, DetectedWastes, sample_wastes)->UseRealTime();
BENCHMARK_TEMPLATE(BM_Burst, Trash, sample_trash, 1000)->UseRealTime();
BENCHMARK_TEMPLATE(BM_Burst, DetectedWastes, sample_wastes, 20)->UseRealTime();
BENCHMARK_TEMPLATE(BM_DataTypeWrite, Trash, sample_trash);
BENCHMARK_TEMPLATE(BM_DataTypeRead, Trash, sample_trash);
BENCHMARK_TEMPLATE(BM_DataTypeWrite, DetectedWastes, sample_wastes);
BENCHMARK_TEMPLATE(BM_DataTypeRead, DetectedWastes, sample_wastes);

// The peer, with a pipe on its standard input: closing the pipe lets it leave cleanly.
struct PeerProcess {
  explicit PeerProcess(const std::string& partition) {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("no pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    const std::string self = "/proc/self/exe";
    char resolved[4096];
    const ssize_t length = readlink(self.c_str(), resolved, sizeof(resolved) - 1);
    if (length <= 0) throw std::runtime_error("cannot find this program");
    resolved[length] = '\0';
    std::vector<std::string> args = {resolved, "--peer", std::to_string(kDomain), partition};
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid, resolved, &actions, nullptr, argv.data(), environ) != 0)
      throw std::runtime_error("no peer");
    posix_spawn_file_actions_destroy(&actions);
    close(fds[0]);
    input = fds[1];
  }
  ~PeerProcess() {
    close(input);
    int status = 0;
    waitpid(pid, &status, 0);
  }
  pid_t pid = -1;
  int input = -1;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--peer")
    return peer(static_cast<uint32_t>(std::stoul(argv[2])), argv[3]);
  benchmark::Initialize(&argc, argv);
  const std::string partition = "transport_bench_" + std::to_string(getpid());
  PeerProcess other(partition);
  {
    Road here(partition);
    road = &here;
    if (!here.trash.ready() || !here.wastes.ready()) {
      std::fputs("transport_bench: the peer did not come up\n", stderr);
      return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    road = nullptr;
  }
  benchmark::Shutdown();
  return 0;
}
