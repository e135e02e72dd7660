// Loading and saving image files: real files in a temporary folder, each save step made to fail.
#include <sys/stat.h>

#include <algorithm>

#include "rom/FileSystem.h"
#include "rom/RomFile.h"
#include "rom/RomImage.h"
#include "tests/support/PageTest.h"
#include "tests/support/RomBuilder.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using namespace testing_support;

// `size` bytes that start 55 AA and differ from their neighbours.
Bytes Pattern(std::size_t size, std::uint8_t seed = 0) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 256 + seed);
  if (size > 0) bytes[0] = 0x55;
  if (size > 1) bytes[1] = 0xAA;
  return bytes;
}

class RomFileTest : public ::testing::Test {
 protected:
  void SetUp() override { rom::ResetRomState(); }
  void TearDown() override { rom::SetFileSystem(nullptr); }

  // A previous image with its own bytes everywhere, a checksum byte of 80h that sums wrong, and both flags set.
  static Bytes LoadPrevious() {
    Bytes previous = Pattern(rom::kRomSize, 0x33);
    previous[rom::kChecksumOffset] = 0x80;
    rom::RomImage.Assign(previous.data(), rom::kRomSize);
    rom::romLoaded = 1;
    rom::romModified = 1;
    return previous;
  }

  TempFolder folder;
};

// A file that starts 55 AA gives its first 32 KB, zeros past a short one; any other leaves image and flags alone.
TEST_F(RomFileTest, LoadTakesTheFirst32KOrChangesNothing) {
  fs::create_directory(folder / "folder.rom");
  struct Case {
    std::string name;
    Bytes bytes;
    bool loads;
  };
  for (const Case& c :
       {Case{"long.rom", Pattern(65536, 0x11), true}, Case{"two.rom", Pattern(2), true},
        Case{"short.rom", Pattern(100, 0x11), true}, Case{"odd.rom", Pattern(32767, 0x11), true},
        Case{"empty.rom", {}, false}, Case{"one.rom", {0x55}, false}, Case{"swapped.rom", {0xAA, 0x55, 1}, false},
        Case{"half.rom", {0x55, 0x55}, false}, Case{"folder.rom", {}, false}, Case{"missing.rom", {}, false}}) {
    SCOPED_TRACE(c.name);
    if (c.name != "missing.rom" && c.name != "folder.rom") TempFolder::WriteBytes(folder / c.name, c.bytes);
    const Bytes previous = LoadPrevious();
    Bytes expected(c.bytes.begin(), c.bytes.begin() + std::min<std::ptrdiff_t>(std::ssize(c.bytes), rom::kRomSize));
    expected.resize(rom::kRomSize, 0x00);  // nothing of the previous image may remain
    EXPECT_EQ(rom::LoadRomFile(folder / c.name), c.loads);
    EXPECT_EQ(ImageBytes(), c.loads ? expected : previous);
    EXPECT_EQ(rom::romLoaded, 1);
    EXPECT_EQ(rom::romModified, 1) << "a load never clears romModified";
  }
}

// Into a long file, a short one and a new one next to a temporary file a cut-off save left.
TEST_F(RomFileTest, WriteFixesChecksumAndKeepsBytesPast32K) {
  TempFolder::WriteBytes(folder / "long.rom", Pattern(65536, 0x77));
  TempFolder::WriteBytes(folder / "short.rom", Pattern(100));
  TempFolder::WriteBytes(folder / "new.rom.~0.tmp", {1});
  for (const char* name : {"long.rom", "short.rom", "new.rom"}) {
    const Bytes original = TempFolder::ReadBytes(folder / name);
    LoadPrevious();
    rom::romLoaded = 0;  // an image that failed its signature test may still be written
    ASSERT_TRUE(rom::WriteRomFile(folder / name));
    const Bytes written = TempFolder::ReadBytes(folder / name);
    EXPECT_EQ(SumOf(written), 0u) << name;
    Bytes expected = ImageBytes();  // RomImage's checksum is fixed too
    const auto tail = original.begin() + std::min<std::ptrdiff_t>(std::ssize(original), rom::kRomSize);
    expected.insert(expected.end(), tail, original.end());
    EXPECT_EQ(written, expected) << name;
    EXPECT_EQ(rom::romModified, 0);
    EXPECT_EQ(rom::romLoaded, 1);
  }
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"long.rom", "new.rom", "new.rom.~0.tmp", "short.rom"}));
}

TEST_F(RomFileTest, ChecksumMakesTheSumZeroWhateverItsHighBits) {
  for (const std::uint8_t x : {0x02, 0x81}) {  // checksum bytes FEh and 7Fh
    Bytes image(rom::kRomSize, 0);
    image[0x100] = x;
    image[rom::kChecksumOffset] = rom::ChecksumByteFor(image.data());
    EXPECT_EQ(SumOf(image), 0u) << int{x};
  }
}

TEST_F(RomFileTest, WriteKeepsTheFilesPermissionsAndANewFileHasTheUmasksOnes) {
  constexpr fs::perms kOwner = fs::perms::owner_read | fs::perms::owner_write;
  LoadPrevious();
  TempFolder::WriteBytes(folder / "old.rom", Pattern(100));
  fs::permissions(folder / "old.rom", kOwner | fs::perms::group_read);
  ASSERT_TRUE(rom::WriteRomFile(folder / "old.rom"));
  const mode_t mask = ::umask(027);
  const bool written = rom::WriteRomFile(folder / "new.rom");
  ::umask(mask);
  ASSERT_TRUE(written);
  EXPECT_EQ(fs::status(folder / "old.rom").permissions(), kOwner | fs::perms::group_read);
  EXPECT_EQ(fs::status(folder / "new.rom").permissions(), kOwner | fs::perms::group_read) << "never writable by all";
}

TEST_F(RomFileTest, WriteRefusedByTheFileSystemChangesNothing) {
  const Bytes original = Pattern(40000, 0x05);
  TempFolder::WriteBytes(folder / "readonly.rom", original);
  fs::permissions(folder / "readonly.rom", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::create_directory(folder / "folder.rom");
  for (const fs::path& target : {folder / "readonly.rom", folder / "missing" / "x.rom", folder / "folder.rom"}) {
    const Bytes previous = LoadPrevious();
    EXPECT_FALSE(rom::WriteRomFile(target)) << target;
    EXPECT_EQ(rom::romModified, 1) << target;
    EXPECT_EQ(ImageBytes(), previous) << target;
  }
  EXPECT_EQ(TempFolder::ReadBytes(folder / "readonly.rom"), original);
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"folder.rom", "readonly.rom"}));
  EXPECT_TRUE(fs::is_empty(folder / "folder.rom"));
}

// People keep an image behind a link (current.rom -> the image to flash): a save must reach the image and leave
// the links as they are, also a link to a link and a link to the folder on the way.
TEST_F(RomFileTest, SaveThroughLinksReplacesTheFileTheyLeadToAndKeepsThem) {
  fs::create_directory(folder / "cards");
  TempFolder::WriteBytes(folder / "cards" / "card.rom", Pattern(40000, 0x19));
  fs::create_symlink("cards/card.rom", folder / "current.rom");
  fs::create_symlink("current.rom", folder / "chain.rom");
  fs::create_symlink(folder / "cards", folder / "via");
  const std::vector<std::string> tree = folder.Tree();
  for (const char* name : {"current.rom", "chain.rom", "via/card.rom"}) {
    const Bytes before = TempFolder::ReadBytes(folder / "cards" / "card.rom");
    LoadPrevious();
    ASSERT_TRUE(rom::WriteRomFile(folder / name)) << name;
    Bytes expected = ImageBytes();
    expected.insert(expected.end(), before.begin() + rom::kRomSize, before.end());
    EXPECT_EQ(TempFolder::ReadBytes(folder / "cards" / "card.rom"), expected) << name;
    EXPECT_EQ(folder.Tree(), tree) << name << ": a link was replaced or a temporary file left";
    EXPECT_EQ(rom::romModified, 0);
  }
}

// A link that leads nowhere, links in a circle (at the end of the path or on the way) and a link into a folder
// that takes no new file: the save fails with the reason and changes nothing, not even the link.
TEST_F(RomFileTest, SaveThroughABrokenLinkFailsAndChangesNothing) {
  fs::create_directory(folder / "locked");
  TempFolder::WriteBytes(folder / "locked" / "card.rom", Pattern(100));
  fs::permissions(folder / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  fs::create_symlink("gone.rom", folder / "dangling.rom");
  fs::create_symlink("loop2.rom", folder / "loop1.rom");
  fs::create_symlink("loop1.rom", folder / "loop2.rom");
  fs::create_symlink("locked/card.rom", folder / "locked.rom");
  const std::vector<std::string> tree = folder.Tree();
  const std::string circle = "could not be written: its symbolic links lead round in a circle";
  const struct {
    std::string name, why;
  } cases[] = {
      {"dangling.rom", "could not be written: it is a symbolic link to nothing that exists"},
      {"loop1.rom", circle},
      {"loop1.rom/card.rom", circle},
      {"locked.rom", "could not be written to " + (fs::canonical(folder / "locked") / "card.rom").string() +
                         ", where its symbolic link leads"},
  };
  for (const auto& c : cases) {
    const Bytes previous = LoadPrevious();
    EXPECT_FALSE(rom::WriteRomFile(folder / c.name)) << c.name;
    EXPECT_EQ(rom::SaveFailureText(folder / c.name), c.why);
    EXPECT_EQ(ImageBytes(), previous) << c.name;
    EXPECT_EQ(rom::romModified, 1) << c.name;
    EXPECT_EQ(folder.Tree(), tree) << c.name;
  }
  EXPECT_EQ(TempFolder::ReadBytes(folder / "locked" / "card.rom"), Pattern(100));
  EXPECT_EQ(rom::SaveFailureText(folder / "locked" / "card.rom"), "could not be written");
  fs::permissions(folder / "locked", fs::perms::owner_all);
}

TEST_F(RomFileTest, WordsAreUnsignedLittleEndianAndNeverLeaveTheImage) {
  const Bytes before = LoadPrevious();
  for (const std::uint32_t outside : {0x8000u, 0x8001u, 0xFFFFu, 0xFFFFFFFFu}) {
    EXPECT_EQ(rom::RomImage.Byte(outside), 0) << outside;
    EXPECT_EQ(rom::RomImage.Word(outside), 0) << outside;
    rom::RomImage.SetByte(outside, 0xEE);
    rom::RomImage.SetWord(outside, 0xEEEE);
  }
  EXPECT_EQ(ImageBytes(), before) << "no write outside the image may land inside it";
  EXPECT_EQ(rom::RomImage.Word(0x7FFF), before[0x7FFF]) << "the half past the end reads as 0";
  EXPECT_EQ(rom::ReadWordLE(0x7FFF, 0x8000), before[0x7FFF]);
  rom::RomImage.SetWord(0x7FFE, 0xFFEF);
  EXPECT_EQ(rom::RomImage.Byte(0x7FFE), 0xEF);
  EXPECT_EQ(rom::ReadWordLE(0x7FFE, 0x7FFF), 0xFFEF);
  EXPECT_EQ(rom::RomImage.Word(0x7FFE), 0xFFEF);
}

// The platform's file system with one chosen step failing.
class FailingFiles : public rom::FileSystem {
 public:
  enum class Step { kOpenRead, kRead, kOpenWritable, kCreateTemp, kWriteError, kShortWrite, kFlush, kClose, kReplace };

  explicit FailingFiles(Step step) : step_(step) {}

  LinkEnd FollowLinks(const fs::path& path, fs::path& target) override { return real_.FollowLinks(path, target); }
  bool Exists(const fs::path& path) override { return real_.Exists(path); }
  Handle OpenRead(const fs::path& path) override { return Is(Step::kOpenRead) ? kInvalid : real_.OpenRead(path); }
  Handle OpenWritable(const fs::path& path) override {
    return Is(Step::kOpenWritable) ? kInvalid : real_.OpenWritable(path);
  }
  Handle CreateTemp(const fs::path& target, fs::path& tempPath) override {
    if (Is(Step::kCreateTemp)) return kInvalid;
    temp_ = real_.CreateTemp(target, tempPath);
    tempMade_ = tempPath;
    return temp_;
  }
  long long Read(Handle handle, void* buffer, std::size_t size) override {
    return Is(Step::kRead) ? -1 : real_.Read(handle, buffer, size);
  }
  long long Write(Handle handle, const void* buffer, std::size_t size) override {
    // Part of the bytes reach the temporary file before the failure.
    if (step_ == Step::kWriteError || step_ == Step::kShortWrite) {
      if (writes_++ == 0) return real_.Write(handle, buffer, std::min<std::size_t>(size, 1000));
      return step_ == Step::kWriteError ? -1 : 0;
    }
    return real_.Write(handle, buffer, size);
  }
  bool Flush(Handle handle) override { return !Is(Step::kFlush) && real_.Flush(handle); }
  bool Close(Handle handle) override {
    const bool closed = real_.Close(handle);
    return !(handle == temp_ && Is(Step::kClose)) && closed;
  }
  bool Replace(const fs::path& from, const fs::path& to) override {
    return !Is(Step::kReplace) && real_.Replace(from, to);
  }
  bool Remove(const fs::path& path) override { return real_.Remove(path); }
  const fs::path& tempMade() const { return tempMade_; }

 private:
  bool Is(Step step) const { return step == step_; }

  rom::FileSystem& real_ = rom::NativeFiles();
  Step step_;
  Handle temp_ = kInvalid;
  fs::path tempMade_;
  int writes_ = 0;
};

using Step = FailingFiles::Step;

TEST_F(RomFileTest, FailedSaveOrLoadKeepsTheFileTheImageAndTheFlags) {
  const Bytes original = Pattern(40000, 0x42);
  TempFolder::WriteBytes(folder / "old.rom", original);
  for (const Step step : {Step::kOpenRead, Step::kRead, Step::kOpenWritable, Step::kCreateTemp, Step::kWriteError,
                          Step::kShortWrite, Step::kFlush, Step::kClose, Step::kReplace}) {
    SCOPED_TRACE(static_cast<int>(step));
    const Bytes previous = LoadPrevious();
    FailingFiles files(step);
    rom::SetFileSystem(&files);
    EXPECT_FALSE(step == Step::kOpenRead ? rom::LoadRomFile(folder / "old.rom")
                                         : rom::WriteRomFile(folder / "old.rom"));
    EXPECT_TRUE(step != Step::kRead || !rom::LoadRomFile(folder / "old.rom"));
    // Only an existing file is opened and read before the temporary file is made.
    EXPECT_TRUE(step <= Step::kOpenWritable || !rom::WriteRomFile(folder / "new.rom"));
    rom::SetFileSystem(nullptr);
    EXPECT_EQ(TempFolder::ReadBytes(folder / "old.rom"), original);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"old.rom"}) << "a temporary file or new.rom was left behind";
    EXPECT_EQ(rom::romModified, 1);
    EXPECT_EQ(rom::romLoaded, 1);
    EXPECT_EQ(ImageBytes(), previous) << "the checksum byte is fixed only after a save";
  }
}

// A save through a link makes its temporary file beside the file the link leads to: the replace is then a rename
// inside one folder, which a temporary file beside a link to another disk could not be. A failed replace removes it.
TEST_F(RomFileTest, SaveThroughALinkMakesItsTemporaryFileBesideTheFileItLeadsTo) {
  fs::create_directory(folder / "cards");
  TempFolder::WriteBytes(folder / "cards" / "card.rom", Pattern(100));
  fs::create_symlink("cards/card.rom", folder / "current.rom");
  const std::vector<std::string> tree = folder.Tree();
  LoadPrevious();
  FailingFiles files(Step::kReplace);
  rom::SetFileSystem(&files);
  EXPECT_FALSE(rom::WriteRomFile(folder / "current.rom"));
  rom::SetFileSystem(nullptr);
  EXPECT_EQ(files.tempMade().parent_path(), fs::canonical(folder / "cards"));
  EXPECT_EQ(folder.Tree(), tree);
  EXPECT_EQ(TempFolder::ReadBytes(folder / "cards" / "card.rom"), Pattern(100));
}

}  // namespace
