#pragma once

// Subscribes to a topic knowing the type by name only, and prints each sample as YAML.

#include <cstdint>
#include <string>

namespace inspect {

struct EchoOptions {
  std::string topic;
  std::string type_name;  // <pkg>/<kind>/<Type>
  uint32_t domain = 0;
  std::string partition;
  size_t count = 0;      // stop after this many samples; 0: never
  double timeout = 0.0;  // stop after this many seconds; 0: never
};

// Returns when the count is reached, the time is up, or SIGINT/SIGTERM comes. Throws Failure
// for an unknown type or a topic the middleware refuses.
int echo(const EchoOptions& options);

}  // namespace inspect
