// libFuzzer entry of the C decoders: any input breaking the property is a finding.

#include <cstdio>
#include <cstdlib>

#include "c_decoders.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string fault = fuzz::check_c_decoders(data, size);
  if (!fault.empty()) {
    std::fprintf(stderr, "property broken: %s\n", fault.c_str());
    std::abort();
  }
  return 0;
}
