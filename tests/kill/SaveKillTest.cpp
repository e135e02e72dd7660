#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "rom/RomFile.h"
#include "rom/RomImage.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using testing_support::TempFolder;

// An image whose checksum byte is already right, then bytes past 32 KB that every file here shares:
// the file a save of its image writes over another such file is exactly this.
Bytes FileWith(std::uint8_t seed) {
  Bytes file(rom::kRomSize + 9000);
  for (std::size_t i = 0; i < file.size(); ++i) {
    file[i] = static_cast<std::uint8_t>(i < rom::kRomSize ? i * 13 + i / 512 + seed : 0xFF - i % 251);
  }
  file[rom::kChecksumOffset] = rom::ChecksumByteFor(file.data());
  return file;
}

// Says it runs through `readyPipe`, then saves `first`, the other image, `first` again, and so on until killed.
[[noreturn]] void SaveForever(const fs::path& target, const Bytes& first, const Bytes& second, int readyPipe) {
  const char ready = 'r';
  if (::write(readyPipe, &ready, 1) != 1) ::_exit(3);
  for (bool useFirst = true;; useFirst = !useFirst) {
    rom::RomImage.Assign((useFirst ? first : second).data(), rom::kRomSize);
    if (!rom::WriteRomFile(target)) ::_exit(2);
  }
}

// A child process saves over the file again and again and is killed at a random
// moment: the file must be whole, the old content or the new one, every time.
TEST(SaveKillTest, KilledSaveLeavesExactlyTheOldOrTheNewFile) {
  rom::ResetRomState();
  TempFolder folder;
  const fs::path target = folder / "card.rom";
  const Bytes oldFile = FileWith(0x21), newFile = FileWith(0x9C);  // the image is their first 32 KB

  // Kill within about two saves, so that every step of a save gets hit.
  TempFolder::WriteBytes(target, oldFile);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 6; ++i) {
    rom::RomImage.Assign((i % 2 == 0 ? newFile : oldFile).data(), rom::kRomSize);
    ASSERT_TRUE(rom::WriteRomFile(target));
  }
  ASSERT_EQ(TempFolder::ReadBytes(target), oldFile);
  const auto sixSaves = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  const long long span = std::max<long long>(2000, sixSaves.count() / 3);

  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed) + ", delays up to " + std::to_string(span) + " us");
  std::mt19937 random(seed);
  std::uniform_int_distribution<long long> delay(0, span);

  int kept = 0, replaced = 0;
  bool fileIsOld = true;
  for (int kill = 0; kill < 150; ++kill) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(ready[0]);
      SaveForever(target, fileIsOld ? newFile : oldFile, fileIsOld ? oldFile : newFile, ready[1]);
    }
    ::close(ready[1]);
    char byte = 0;
    const bool started = ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    const long long after = delay(random);
    std::this_thread::sleep_for(std::chrono::microseconds(after));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(started && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << "the saving child stopped on its own (status " << status << ") at kill " << kill;

    const bool wasOld = fileIsOld;
    const Bytes now = TempFolder::ReadBytes(target);
    fileIsOld = now == oldFile;
    ASSERT_TRUE(fileIsOld || now == newFile)
        << "kill " << kill << " after " << after << " us left a file of " << now.size() << " bytes that is neither";
    ++(fileIsOld == wasOld ? kept : replaced);
    for (const std::string& name : folder.Names()) {
      if (name == "card.rom") continue;
      // The name a save gives its temporary file next to card.rom.
      ASSERT_TRUE(std::regex_match(name, std::regex(R"(card\.rom\.~\d+\.tmp)"))) << "kill " << kill << " left " << name;
      fs::remove(folder / name);
    }
  }
  // Kills that all landed before the first replace, or all after it, would prove little.
  EXPECT_TRUE(kept > 0 && replaced > 0) << "file kept " << kept << " times, replaced " << replaced;
}

}  // namespace
