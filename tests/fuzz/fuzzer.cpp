// libFuzzer entry of one target, chosen when it is built (OMBRIX_FUZZ_TARGET): an input
// that breaks a property stops the run as a crash would, so libFuzzer keeps it.
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/harness/Fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string target = OMBRIX_FUZZ_TARGET;
  const std::string failure = fuzzing::RunTargetInput(target, data, size);
  if (!failure.empty()) {
    std::fprintf(stderr, "PROPERTY VIOLATED (%s): %s\n", target.c_str(), failure.c_str());
    std::abort();
  }
  return 0;
}
