#include "transport/log.hpp"

#include <iostream>
#include <mutex>

namespace transport {
namespace {

// Lines come from the middleware's threads as well as the caller's, the middleware's own log
// thread among them, which may still run while static objects are destroyed at exit: these two
// are never destroyed.
std::mutex& sink_mutex() {
  static auto* mutex = new std::mutex;
  return *mutex;
}

LogSink& current_sink() {
  static auto* sink = new LogSink;
  return *sink;
}

}  // namespace

void log(const std::string& line) {
  std::lock_guard<std::mutex> lock(sink_mutex());
  if (current_sink()) {
    current_sink()(line);
  } else {
    std::cerr << "transport: " << line << std::endl;
  }
}

LogSink set_log_sink(LogSink sink) {
  std::lock_guard<std::mutex> lock(sink_mutex());
  LogSink previous = std::move(current_sink());
  current_sink() = std::move(sink);
  return previous;
}

}  // namespace transport
