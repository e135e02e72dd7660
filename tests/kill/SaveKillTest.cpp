#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <random>
#include <thread>

#include "rom/RomFile.h"
#include "rom/RomImage.h"
#include "tests/support/TempFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using testing_support::TempFolder;

// An image whose checksum byte is already right, then bytes past 32 KB that every file here shares:
// the file a save of its image writes over another such file is exactly this.
Bytes FileWith(std::uint8_t seed) {
  Bytes file(rom::kRomSize + 9000);
  for (std::size_t i = 0; i < file.size(); ++i)
    file[i] = static_cast<std::uint8_t>(i < rom::kRomSize ? i * 13 + i / 512 + seed : 0xFF - i % 251);
  file[rom::kChecksumOffset] = rom::ChecksumByteFor(file.data());
  return file;
}

// A child process saves over the file again and again, the two images in turn, and is killed at a
// random moment: the file must be whole, the old content or the new one, every time.
TEST(SaveKillTest, KilledSaveLeavesExactlyTheOldOrTheNewFile) {
  TempFolder folder;
  const auto target = folder / "card.rom";
  const Bytes files[] = {FileWith(0x21), FileWith(0x9C)};  // the image is their first 32 KB
  const auto Save = [&](const Bytes& file) {
    rom::RomImage.Assign(file.data(), rom::kRomSize);
    return rom::WriteRomFile(target);
  };

  // Kill within about two saves, so that every step of a save gets hit.
  TempFolder::WriteBytes(target, files[0]);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 1; i <= 6; ++i) ASSERT_TRUE(Save(files[i % 2]));
  ASSERT_EQ(TempFolder::ReadBytes(target), files[0]);
  const long long span = std::max<long long>(
      2000,
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count() / 3);
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed) + ", delays up to " + std::to_string(span) + " us");
  std::mt19937 random(seed);

  int kept = 0, replaced = 0, now = 0;  // now: which of the two files card.rom holds
  for (int kill = 0; kill < 150; ++kill) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    for (int next = 1 - now; child == 0; next = 1 - next)
      if (!Save(files[next])) ::_exit(2);
    const long long after = std::uniform_int_distribution<long long>(0, span)(random);
    std::this_thread::sleep_for(std::chrono::microseconds(after));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << "the saving child stopped on its own (status " << status << ") at kill " << kill;

    const Bytes file = TempFolder::ReadBytes(target);
    ASSERT_TRUE(file == files[0] || file == files[1])
        << "kill " << kill << " after " << after << " us left a file of " << file.size() << " bytes that is neither";
    ++(file == files[now] ? kept : replaced);
    now = file == files[1];
    for (const std::string& name : folder.Names()) {
      if (name == "card.rom") continue;
      // The name a save gives its temporary file next to card.rom.
      ASSERT_TRUE(name.starts_with("card.rom.~") && name.ends_with(".tmp") &&
                  name.find_first_not_of("0123456789", 10) == name.size() - 4)
          << "kill " << kill << " left " << name;
      std::filesystem::remove(folder / name);
    }
  }
  // Kills that all landed before the first replace, or all after it, would prove little.
  EXPECT_TRUE(kept > 0 && replaced > 0) << "file kept " << kept << " times, replaced " << replaced;
}

}  // namespace
