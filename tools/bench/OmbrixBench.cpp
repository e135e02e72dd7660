// Time per operation of the editor's portable part: open, every page's load and
// store, Apply, save, and the whole cycle, next to plainly reading and writing 32 KB.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "res/resource.h"
#include "rom/FileSystem.h"
#include "rom/RomFile.h"
#include "rom/RomImage.h"
#include "tests/support/FakeSheet.h"
#include "tests/support/TempFolder.h"
#include "tools/SampleRom.h"

namespace {

namespace fs = std::filesystem;
using testing_support::FakeSheet;

// The sample image on disk, and copies the saves write over.
struct Files {
  testing_support::TempFolder folder;
  fs::path sample = folder / "sample.rom";
  fs::path saved = folder / "saved.rom";
  fs::path plain = folder / "plain.bin";
};

Files& BenchFiles() {
  static Files files;
  return files;
}

// The platform's file system without the two flushes to disk of a save, to show what they cost.
class UnflushedFiles final : public rom::FileSystem {
 public:
  LinkEnd FollowLinks(const fs::path& path, fs::path& target) override { return real_.FollowLinks(path, target); }
  bool Exists(const fs::path& path) override { return real_.Exists(path); }
  Handle OpenRead(const fs::path& path) override { return real_.OpenRead(path); }
  Handle OpenWritable(const fs::path& path) override { return real_.OpenWritable(path); }
  Handle CreateTemp(const fs::path& target, fs::path& tempPath) override { return real_.CreateTemp(target, tempPath); }
  long long Read(Handle handle, void* buffer, std::size_t size) override { return real_.Read(handle, buffer, size); }
  long long Write(Handle handle, const void* buffer, std::size_t size) override {
    return real_.Write(handle, buffer, size);
  }
  bool Flush(Handle) override { return true; }
  bool Close(Handle handle) override { return real_.Close(handle); }
  bool Replace(const fs::path& from, const fs::path& to) override { return std::rename(from.c_str(), to.c_str()) == 0; }
  bool Remove(const fs::path& path) override { return real_.Remove(path); }

 private:
  rom::FileSystem& real_ = rom::NativeFiles();
};

// Installs UnflushedFiles for one benchmark when `flush` is false.
class FlushChoice {
 public:
  explicit FlushChoice(bool flush) {
    if (!flush) rom::SetFileSystem(&unflushed_);
  }
  ~FlushChoice() { rom::SetFileSystem(nullptr); }

 private:
  UnflushedFiles unflushed_;
};

// A sheet with the sample image open and every page created, page `active` shown.
class OpenSheet {
 public:
  explicit OpenSheet(int active) {
    rom::ResetRomState();
    sheet.Start();
    sheet.prompts.ChooseOpen(BenchFiles().sample);
    sheet.Command(ID_FILE_OPEN_ROM);
    for (int page = 0; page < CPropertySheetCrtl::kPageCount; ++page) sheet.SetActivePage(page);
    sheet.SetActivePage(active);
  }
  bool Quiet(benchmark::State& state) {
    if (sheet.prompts.messages().empty() && rom::romLoaded == 1) return true;
    state.SkipWithError("the sheet showed a message or has no image");
    return false;
  }

  FakeSheet sheet;
};

// The plain cost of a 32 KB file: read it whole, write it whole to another file, flushed or not.
void ReadWrite32K(benchmark::State& state, bool flush) {
  std::vector<char> buffer(rom::kRomSize);
  for (auto _ : state) {
    const int in = ::open(BenchFiles().sample.c_str(), O_RDONLY);
    const bool read = in >= 0 && ::read(in, buffer.data(), buffer.size()) == static_cast<ssize_t>(buffer.size());
    ::close(in);
    const int out = ::open(BenchFiles().plain.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool written = out >= 0 && ::write(out, buffer.data(), buffer.size()) == static_cast<ssize_t>(buffer.size());
    if (!read || !written || (flush && ::fsync(out) != 0)) state.SkipWithError("plain read or write failed");
    ::close(out);
  }
}

void Open(benchmark::State& state) {
  rom::ResetRomState();
  for (auto _ : state) {
    if (!rom::LoadRomFile(BenchFiles().sample)) state.SkipWithError("the sample did not load");
  }
}

void LoadFromImage(benchmark::State& state, int page) {
  OpenSheet open(page);
  for (auto _ : state) open.sheet.sheet.Page(page).LoadFromImage();
  open.Quiet(state);
}

void StoreToImage(benchmark::State& state, int page) {
  OpenSheet open(page);
  for (auto _ : state) open.sheet.sheet.Page(page).StoreToImage();
  open.Quiet(state);
}

void Apply(benchmark::State& state, int page) {
  OpenSheet open(page);
  for (auto _ : state) open.sheet.Command(1);
  open.Quiet(state);
}

void Save(benchmark::State& state, bool flush) {
  rom::ResetRomState();
  rom::LoadRomFile(BenchFiles().sample);
  const FlushChoice choice(flush);
  for (auto _ : state) {
    if (!rom::WriteRomFile(BenchFiles().saved)) state.SkipWithError("the save failed");
  }
}

// What a user does: open the file, visit every page (which loads it) and apply it, save.
void Cycle(benchmark::State& state, bool flush) {
  rom::ResetRomState();
  FakeSheet sheet;
  sheet.Start();
  const FlushChoice choice(flush);
  for (auto _ : state) {
    sheet.prompts.ChooseOpen(BenchFiles().saved);
    sheet.Command(ID_FILE_OPEN_ROM);
    for (int page = 0; page < CPropertySheetCrtl::kPageCount; ++page) {
      sheet.SetActivePage(page);
      sheet.Command(1);
    }
    sheet.Command(ID_FILE_SAVE_ROM);
    if (!sheet.prompts.messages().empty() || rom::romModified != 0) {
      state.SkipWithError("the cycle showed a message or did not save");
      break;
    }
    sheet.prompts.ClearRecords();
  }
}

std::string PageName(int page) {
  static FakeSheet names;
  std::string name = names.sheet.Page(page).Caption();
  std::erase(name, ' ');
  return name;
}

// Waiting for the disk takes no processor time: these run for a wall-clock time, not a processor one.
void FileBenchmark(benchmark::internal::Benchmark* registered) {
  registered->Unit(benchmark::kMicrosecond)->UseRealTime();
}

void RegisterAll() {
  FileBenchmark(benchmark::RegisterBenchmark("ReadWrite32K", ReadWrite32K, true));
  FileBenchmark(benchmark::RegisterBenchmark("ReadWrite32K/NoFsync", ReadWrite32K, false));
  FileBenchmark(benchmark::RegisterBenchmark("Open", Open));
  for (int page = 0; page < CPropertySheetCrtl::kPageCount; ++page)
    benchmark::RegisterBenchmark(("LoadFromImage/" + PageName(page)).c_str(), LoadFromImage, page)
        ->Unit(benchmark::kMicrosecond);
  for (int page = 0; page < CPropertySheetCrtl::kPageCount; ++page)
    benchmark::RegisterBenchmark(("StoreToImage/" + PageName(page)).c_str(), StoreToImage, page)
        ->Unit(benchmark::kMicrosecond);
  for (int page = 0; page < CPropertySheetCrtl::kPageCount; ++page)
    benchmark::RegisterBenchmark(("Apply/" + PageName(page)).c_str(), Apply, page)->Unit(benchmark::kMicrosecond);
  FileBenchmark(benchmark::RegisterBenchmark("Save", Save, true));
  FileBenchmark(benchmark::RegisterBenchmark("Save/NoFsync", Save, false));
  FileBenchmark(benchmark::RegisterBenchmark("Cycle", Cycle, true));
  FileBenchmark(benchmark::RegisterBenchmark("Cycle/NoFsync", Cycle, false));
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  sample_rom::BuildSampleRom(sample_rom::SampleFonts{}).WriteFile(BenchFiles().sample);
  sample_rom::BuildSampleRom(sample_rom::SampleFonts{}).WriteFile(BenchFiles().saved);
  RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
