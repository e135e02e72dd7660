// What the fuzz targets found, replayed natively through the same runs: every input kept in
// tests/fuzz/regressions/TARGET/ must now keep every property.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "res/resource.h"
#include "rom/RomImage.h"
#include "tests/fuzz/harness/FuzzSheet.h"
#include "tests/fuzz/harness/ModeListModel.h"
#include "tests/fuzz/harness/ShownBytes.h"
#include "tests/fuzz/harness/Targets.h"
#include "tests/support/RomBuilder.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using testing_support::ExMode;
using testing_support::RomBuilder;

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

// The runs judge a page by the bytes the harness finds for it on its own: they must be
// exactly the page's structures, or every property would hold for nothing.
TEST(FuzzHarnessTest, ShownBytesAreExactlyThePagesStructures) {
  rom::ResetRomState();
  RomBuilder b;
  b.AddExMode(ExMode{0x21, 0x101, 6, 640, 480, 16}).ExReg(0x21, 0, 0, 0x21, 0);
  b.Load();
  fuzzing::ModeListModel modes;
  modes.Capture();
  ASSERT_EQ(modes.ListedRows(), 23);
  fuzzing::FuzzSheet sheet;
  const auto& l = b.layout();
  const struct {
    std::uint32_t first, length, second, secondLength;
  } expected[] = {
      {b.parameterRecordOffset(0), 64, b.exRegOffset(0), 5},
      {0x7FF8, 4, 0, 0},
      {0x40, 16, 0, 0},
      {l.signOn, 122, 0, 0},
      {l.memoryConfig, 36, 0, 0},
      {l.font8x8, 8, 0, 0},  // glyph 00h of the first font
  };
  for (int page = 0; page < 6; ++page) {
    sheet.SetActivePage(page);
    fuzzing::ByteSet bytes;
    fuzzing::Mark(bytes, expected[page].first, expected[page].length);
    fuzzing::Mark(bytes, expected[page].second, expected[page].secondLength);
    EXPECT_EQ(fuzzing::ShownBytes(page, sheet.controls(page), modes), bytes) << "page " << page;
  }
  // The extended row shows record 21h and its own extended registers.
  sheet.SetActivePage(0);
  sheet.controls(0).ListSelect(IDC_MODE_LIST, 22);
  fuzzing::ByteSet exRow;
  fuzzing::Mark(exRow, b.parameterRecordOffset(0x21), 64);
  fuzzing::Mark(exRow, b.exRegOffset(0x21), 5);
  EXPECT_EQ(fuzzing::ShownBytes(0, sheet.controls(0), modes), exRow);
}

}  // namespace
