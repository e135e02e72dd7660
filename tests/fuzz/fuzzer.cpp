// libFuzzer entry of one target, chosen when it is built (OMBRIX_FUZZ_TARGET): an input that
// breaks a property stops the run as a crash would, so libFuzzer keeps it.
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/harness/Fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string failure = fuzzing::RunTargetInput(OMBRIX_FUZZ_TARGET, data, size);
  if (failure.empty()) return 0;
  std::fprintf(stderr, "PROPERTY VIOLATED (%s): %s\n", OMBRIX_FUZZ_TARGET, failure.c_str());
  std::abort();
}
