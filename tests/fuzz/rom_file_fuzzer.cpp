// libFuzzer target: loading and saving an image file of arbitrary content.
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/harness/RomFileRun.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string failure = fuzzing::RunRomFileInput(data, size);
  if (!failure.empty()) {
    std::fprintf(stderr, "PROPERTY VIOLATED (rom file): %s\n", failure.c_str());
    std::abort();
  }
  return 0;
}
