#pragma once

// The commands that take part in a topic, knowing the type by name only: echo prints each
// sample as YAML, pub sends one sample given as a value.

#include <cstdint>
#include <string>

#include "value_text.hpp"

namespace inspect {

struct TopicOptions {
  std::string topic;
  std::string type_name;  // <pkg>/<kind>/<Type>
  uint32_t domain = 0;
  std::string partition;
  size_t count = 0;      // echo: stop after this many samples; 0: never
  double timeout = 0.0;  // echo: stop after this many seconds; 0: never
  double wait = 5.0;     // pub: how long to wait for a subscriber
};

// Returns when the count is reached (0), the time is up (1 if samples are missing), or
// SIGINT/SIGTERM comes (0). Throws Failure for an unknown type or a topic the middleware
// refuses.
int echo(const TopicOptions& options);

// Sends the value once to the subscribers that appear within the wait, and returns when they
// have it. Throws Failure when none appears or the value does not fit the type.
void pub(const TopicOptions& options, const Value& value);

}  // namespace inspect
