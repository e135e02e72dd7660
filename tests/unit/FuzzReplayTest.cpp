// What the fuzz targets found, replayed natively through the same runs: every input kept in
// tests/fuzz/regressions/TARGET/ must now keep every property.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/harness/Fuzz.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(FuzzReplayTest, FoundInputsKeepEveryProperty) {
  const fs::path root = OMBRIX_FUZZ_REGRESSIONS;
  ASSERT_TRUE(fs::is_directory(root)) << root;
  int replayed = 0;
  for (const fs::directory_entry& target : fs::directory_iterator(root)) {
    for (const fs::directory_entry& input : fs::directory_iterator(target.path())) {
      const Bytes bytes = ReadAll(input.path());
      EXPECT_EQ(fuzzing::RunTargetInput(target.path().filename().string(), bytes.data(), bytes.size()), "")
          << input.path();
      ++replayed;
    }
  }
  EXPECT_GT(replayed, 0);
}

}  // namespace
