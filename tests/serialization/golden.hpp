#pragma once

// Hand-assembled encodings of chosen values: the reference bytes that pin every padding
// decision of the wire format. Shared by the wire tests and the fuzzers' seed corpus.

#include <functional>

#include "bytes.hpp"

namespace ser {

struct Golden {
  const char* type;
  const char* what;
  std::function<void(void*)> set;  // gives a created structure the encoded values
  Bytes bytes;
};

std::vector<Golden> goldens();

}  // namespace ser
