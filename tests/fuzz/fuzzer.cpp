// libFuzzer entry of every target: the program TARGET_fuzzer runs the target TARGET, so
// that the ten programs link one object. An input that breaks a property stops the run as a
// crash would, so libFuzzer keeps it.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/fuzz/harness/Fuzz.h"

namespace {

std::string target;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** argv) {
  target = std::filesystem::path((*argv)[0]).filename().string();
  const std::string suffix = "_fuzzer";
  if (target.ends_with(suffix)) target.resize(target.size() - suffix.size());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string failure = fuzzing::RunTargetInput(target, data, size);
  if (failure.empty()) return 0;
  std::fprintf(stderr, "PROPERTY VIOLATED (%s): %s\n", target.c_str(), failure.c_str());
  std::abort();
}
