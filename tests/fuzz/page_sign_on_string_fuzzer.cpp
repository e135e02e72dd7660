// libFuzzer target: page 3 (sign on string) on an arbitrary image with a script of user actions.
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/harness/PageRun.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string failure = fuzzing::RunPageInput(3, data, size);
  if (!failure.empty()) {
    std::fprintf(stderr, "PROPERTY VIOLATED: %s\n", failure.c_str());
    std::abort();
  }
  return 0;
}
