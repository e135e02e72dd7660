// Saves killed with SIGKILL: between any two steps of a save, and at random moments, the file is whole.
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <random>
#include <thread>

#include "rom/FileSystem.h"
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
  for (std::size_t i = 0; i < file.size(); ++i)
    file[i] = static_cast<std::uint8_t>(i < rom::kRomSize ? i * 13 + i / 512 + seed : 0xFF - i % 251);
  file[rom::kChecksumOffset] = rom::ChecksumByteFor(file.data());
  return file;
}

const Bytes kFiles[] = {FileWith(0x21), FileWith(0x9C)};  // the image is their first 32 KB

// The platform's file system in a child that stops before its `stopAt`-th call (counted from 0): it tells the
// parent whether a save had already completed ('D') or not ('O') and waits there to be killed.
class StoppingFiles final : public rom::FileSystem {
 public:
  StoppingFiles(int stopAt, int report) : stopAt_(stopAt), report_(report) {}

  LinkEnd FollowLinks(const fs::path& path, fs::path& target) override {
    Step();
    return real_.FollowLinks(path, target);
  }
  bool Exists(const fs::path& path) override {
    Step();
    return real_.Exists(path);
  }
  Handle OpenRead(const fs::path& path) override {
    Step();
    return real_.OpenRead(path);
  }
  Handle OpenWritable(const fs::path& path) override {
    Step();
    return real_.OpenWritable(path);
  }
  Handle CreateTemp(const fs::path& target, fs::path& temp) override {
    Step();
    return real_.CreateTemp(target, temp);
  }
  long long Read(Handle handle, void* buffer, std::size_t size) override {
    Step();
    return real_.Read(handle, buffer, size);
  }
  long long Write(Handle handle, const void* buffer, std::size_t size) override {
    Step();
    return real_.Write(handle, buffer, size);
  }
  bool Flush(Handle handle) override {
    Step();
    return real_.Flush(handle);
  }
  bool Close(Handle handle) override {
    Step();
    return real_.Close(handle);
  }
  bool Replace(const fs::path& from, const fs::path& to) override {
    Step();
    return real_.Replace(from, to);
  }
  bool Remove(const fs::path& path) override {
    Step();
    return real_.Remove(path);
  }

  // After the save: stops at once, as the call after its last would.
  [[noreturn]] void StopAfterSave() { Stop('D'); }

 private:
  void Step() {
    if (calls_++ == stopAt_) Stop('O');
  }
  [[noreturn]] void Stop(char state) {
    if (::write(report_, &state, 1) != 1) ::_exit(3);
    for (;;) ::pause();
  }

  rom::FileSystem& real_ = rom::NativeFiles();
  const int stopAt_, report_;
  int calls_ = 0;
};

// A forked child that runs `work` with the write end of a pipe, which the parent reads.
class Child {
 public:
  template <typename Work>
  explicit Child(Work work) {
    int ends[2];
    if (::pipe(ends) != 0) return;
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ == 0) {
      // A child outlives no test: not one that ctest ended for taking too long, nor one that crashed.
      if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent) ::_exit(4);
      ::close(ends[0]);
      work(ends[1]);
      ::_exit(0);
    }
    ::close(ends[1]);
    report_ = ends[0];
  }
  ~Child() {
    if (pid_ > 0) Kill();
    if (report_ >= 0) ::close(report_);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool Started() const { return pid_ > 0 && report_ >= 0; }
  // The next byte the child reports; it waits until there is one. 0 when the child ended without one.
  char Next() {
    char state = 0;
    while (::read(report_, &state, 1) < 0 && errno == EINTR) continue;
    return state;
  }
  // Kills the child; true when SIGKILL, not anything else, ended it.
  bool Kill() {
    ::kill(pid_, SIGKILL);
    int status = 0;
    const bool reaped = ::waitpid(pid_, &status, 0) == pid_;
    pid_ = -1;
    return reaped && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  }

 private:
  pid_t pid_ = -1;
  int report_ = -1;
};

bool Save(const fs::path& path, const Bytes& file) {
  rom::RomImage.Assign(file.data(), rom::kRomSize);
  return rom::WriteRomFile(path);
}

// Removes what a killed save may leave, its temporary file beside card.rom; false for anything else.
bool RemoveTemporaryFiles(const TempFolder& folder) {
  for (const std::string& name : folder.Names()) {
    if (name == "card.rom" || name == "current.rom") continue;
    // The name a save gives its temporary file next to card.rom.
    if (!name.starts_with("card.rom.~") || !name.ends_with(".tmp") ||
        name.find_first_not_of("0123456789", 10) != name.size() - 4)
      return false;
    fs::remove(folder / name);
  }
  return true;
}

// A save stopped before each of its file operations in turn, and once after all of them, is killed there: the
// file holds the old content until the save completed and the new one after, never anything else. Run on the
// file itself and through a link to it, which must stay a link.
TEST(SaveKillTest, KilledBetweenAnyTwoStepsOfASaveLeavesTheOldOrTheNewFile) {
  for (const bool throughLink : {false, true}) {
    SCOPED_TRACE(throughLink ? "through current.rom -> card.rom" : "card.rom");
    TempFolder folder;
    const fs::path card = folder / "card.rom";
    if (throughLink) fs::create_symlink("card.rom", folder / "current.rom");
    const fs::path path = throughLink ? folder / "current.rom" : card;
    TempFolder::WriteBytes(card, kFiles[0]);
    const std::vector<std::string> tree = folder.Tree();
    int stops = 0;
    for (char state = 'O'; state == 'O'; ++stops) {
      ASSERT_LT(stops, 200) << "a save of one file that never ends";
      Child child([&](int report) {
        StoppingFiles files(stops, report);
        rom::SetFileSystem(&files);
        if (!Save(path, kFiles[1])) ::_exit(2);
        files.StopAfterSave();
      });
      ASSERT_TRUE(child.Started());
      state = child.Next();
      ASSERT_TRUE(state == 'O' || state == 'D') << "the saving child ended before step " << stops;
      ASSERT_TRUE(child.Kill());
      ASSERT_EQ(TempFolder::ReadBytes(card), kFiles[state == 'D' ? 1 : 0]) << "killed before step " << stops;
      ASSERT_TRUE(RemoveTemporaryFiles(folder)) << "killed before step " << stops;
      ASSERT_EQ(folder.Tree(), tree) << "killed before step " << stops;
      TempFolder::WriteBytes(card, kFiles[0]);
    }
  }
}

// A child saves the two images over the file in turn, through a link, and tells after each save; it is killed
// at a random moment within about one save of its own after the first, 60 times. The file is whole every time.
TEST(SaveKillTest, KilledAtRandomMomentsLeavesTheOldOrTheNewFile) {
  TempFolder folder;
  const fs::path card = folder / "card.rom";
  fs::create_symlink("card.rom", folder / "current.rom");
  TempFolder::WriteBytes(card, kFiles[0]);
  const std::vector<std::string> tree = folder.Tree();
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);

  int now = 0;  // which of the two files card.rom holds
  for (int kill = 0; kill < 60; ++kill) {
    const auto start = std::chrono::steady_clock::now();
    Child child([&](int report) {
      for (int next = 1 - now;; next = 1 - next) {
        if (!Save(folder / "current.rom", kFiles[next])) ::_exit(2);
        if (::write(report, "S", 1) != 1) ::_exit(3);
      }
    });
    ASSERT_TRUE(child.Started());
    ASSERT_EQ(child.Next(), 'S') << "the saving child ended at kill " << kill;
    const auto save = std::chrono::steady_clock::now() - start;
    std::this_thread::sleep_for(std::uniform_real_distribution<double>(0, 1.0)(random) * save);
    ASSERT_TRUE(child.Kill()) << "the saving child stopped on its own at kill " << kill;

    const Bytes file = TempFolder::ReadBytes(card);
    ASSERT_TRUE(file == kFiles[0] || file == kFiles[1])
        << "kill " << kill << " left a file of " << file.size() << " bytes that is neither";
    now = file == kFiles[1];
    ASSERT_TRUE(RemoveTemporaryFiles(folder)) << "kill " << kill;
    ASSERT_EQ(folder.Tree(), tree) << "kill " << kill;
  }
}

}  // namespace
