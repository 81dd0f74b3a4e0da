#pragma once

// Where the transport reports what it drops or refuses: one line per event, on the standard
// error stream unless a test or tool takes the lines.

#include <functional>
#include <string>

namespace transport {

using LogSink = std::function<void(const std::string& line)>;

void log(const std::string& line);

// Replaces the sink for the whole process; an empty function restores the standard error
// stream. Returns the sink it replaced.
LogSink set_log_sink(LogSink sink);

}  // namespace transport
