// libFuzzer entry of the target named by FUZZ_TARGET at compile time: any input breaking the
// target's property is a finding.

#include <cstdio>
#include <cstdlib>

#include "targets.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzz::Check check = fuzz::targets().at(FUZZ_TARGET);
  const std::string fault = check(data, size);
  if (!fault.empty()) {
    std::fprintf(stderr, "property broken: %s\n", fault.c_str());
    std::abort();
  }
  return 0;
}
