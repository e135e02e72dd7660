// libFuzzer target: the Parameter Table's mode list built from an arbitrary image, every row shown.
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/harness/ModeListRun.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string failure = fuzzing::RunModeListInput(data, size);
  if (!failure.empty()) {
    std::fprintf(stderr, "PROPERTY VIOLATED (mode list): %s\n", failure.c_str());
    std::abort();
  }
  return 0;
}
