#include "transport/log.hpp"

#include <iostream>
#include <mutex>

namespace transport {
namespace {

// Lines come from the middleware's threads as well as the caller's.
std::mutex& sink_mutex() {
  static std::mutex mutex;
  return mutex;
}

LogSink& current_sink() {
  static LogSink sink;
  return sink;
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
