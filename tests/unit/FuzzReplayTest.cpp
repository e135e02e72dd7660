// What the fuzz targets found, replayed natively through the same runs: every input kept in
// tests/fuzz/regressions/TARGET/ must now keep every property.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/fuzz/harness/Fuzz.h"

TEST(FuzzReplayTest, FoundInputsKeepEveryProperty) {
  int replayed = 0;
  for (const auto& target : std::filesystem::directory_iterator(OMBRIX_FUZZ_REGRESSIONS)) {
    for (const auto& input : std::filesystem::directory_iterator(target.path())) {
      std::ifstream in(input.path(), std::ios::binary);
      const fuzzing::Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      EXPECT_EQ(fuzzing::RunTargetInput(target.path().filename().string(), bytes.data(), bytes.size()), "")
          << input.path();
      ++replayed;
    }
  }
  EXPECT_GT(replayed, 0);
}
