// What the middleware reports reaches the transport's log when it means loss, once per second
// at most for a line that repeats, and nothing else of its chatter does.

#include <gtest/gtest.h>

#include <fastdds/dds/log/Log.hpp>
#include <string>
#include <vector>

#include "log_capture.hpp"
#include "transport/participant.hpp"

namespace {

using eprosima::fastdds::dds::Log;

void middleware_says(Log::Kind kind, const char* category, const std::string& message) {
  Log::QueueLog(message, Log::Context{__FILE__, __LINE__, __func__, category}, kind);
}

TEST(MiddlewareLog, ForwardsWhatMeansLossAndErrorsOnly) {
  // The first participant turns the forwarding on.
  transport::ParticipantPtr participant = transport::create_participant(0, "log_watch");
  const struct {
    Log::Kind kind;
    const char* category;
    const char* message;
    const char* logged;  // null: not forwarded
  } cases[] = {
      {Log::Kind::Warning, "RTPS_TRANSPORT_SHM", "Port 7411 Zombie. Reset the port",
       "middleware warning (RTPS_TRANSPORT_SHM): Port 7411 Zombie. Reset the port"},
      {Log::Kind::Warning, "RTPS_MSG_IN", "Error receiving data: No such file or directory",
       "middleware warning (RTPS_MSG_IN): Error receiving data: No such file or directory"},
      {Log::Kind::Error, "RTPS_PDP", "something broke",
       "middleware error (RTPS_PDP): something broke"},
      {Log::Kind::Warning, "RTPS_MSG_IN", "a harmless remark", nullptr},
      {Log::Kind::Warning, "RTPS_PDP", "another one", nullptr},
      {Log::Kind::Info, "RTPS_TRANSPORT_SHM", "just so you know", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    transport_test::LogCapture capture;
    middleware_says(c.kind, c.category, c.message);
    Log::Flush();
    const std::vector<std::string> expected =
        c.logged ? std::vector<std::string>{c.logged} : std::vector<std::string>{};
    EXPECT_EQ(capture.lines(), expected);
  }
}

TEST(MiddlewareLog, ALineThatRepeatsIsLoggedOncePerSecond) {
  transport::ParticipantPtr participant = transport::create_participant(0, "log_watch");
  transport_test::LogCapture capture;
  for (int i = 0; i < 1000; ++i) {
    middleware_says(Log::Kind::Warning, "RTPS_MSG_IN", "Error receiving data: stuck port");
  }
  Log::Flush();
  EXPECT_EQ(capture.lines().size(), 1u);
}

}  // namespace
