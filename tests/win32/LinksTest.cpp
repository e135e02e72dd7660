// File > Save and Save As in the real window through the links that tests/win32/links.sh makes in
// build/win32/links/sheet, and checks again once this suite has run: current.rom -> cards/card.rom, via -> cards,
// loop.rom -> loop.rom.
#include <algorithm>
#include <fstream>
#include <initializer_list>
#include <utility>

#include "tests/win32/Win32Support.h"

namespace win32_tests {
namespace {

namespace fs = std::filesystem;

std::vector<std::wstring> Names(const fs::path& folder) {
  std::vector<std::wstring> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().wstring());
  std::sort(names.begin(), names.end());
  return names;
}

char SignatureByte(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  in.seekg(0x40);
  return static_cast<char>(in.get());
}

// The message box of a failed save, answered.
Handler ExpectSaveError(const wchar_t* text) {
  return [text](const SeenDialog& dialog) {
    EXPECT_EQ(dialog.caption + L"|" + dialog.text, std::wstring(L"File Error Message|") + text);
    PostMessageW(dialog.hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  };
}

using LinksTest = MainWindowTest;

TEST_F(LinksTest, SaveWritesTheFileALinkLeadsToOrNothingWhenItLeadsNowhere) {
  const fs::path folder = BuildDir() / "links" / "sheet";
  if (!fs::exists(folder / "cards")) GTEST_SKIP() << "tests/win32/links.sh makes the links and runs this suite";
  const fs::path card = folder / "cards" / "card.rom";
  ASSERT_TRUE(CopyFileW((BuildDir() / "sample.rom").c_str(), card.c_str(), FALSE));
  const std::vector<std::wstring> names = Names(folder), cards = Names(folder / "cards");
  // Opened through the link to the image, then through the link to its folder: each save reaches the image.
  for (const auto& [path, typed] :
       {std::pair{folder / "current.rom", L"L"}, std::pair{folder / "via" / "card.rom", L"V"}}) {
    Open(path);
    ShowPage(2);
    SetWindowTextW(Control(2, IDC_SIGNATURE_ASCII_FIRST), typed);
    Press(IDOK);
    Press(ID_FILE_SAVE_ROM);
    EXPECT_EQ(SignatureByte(card), static_cast<char>(typed[0])) << path.string();
    EXPECT_EQ(rom::romModified, 0);
    EXPECT_EQ(Names(folder), names) << "a link was replaced";
    EXPECT_EQ(Names(folder / "cards"), cards) << "a temporary file was left";
  }

  // The image is gone: current.rom leads nowhere (Wine no longer shows it), and a save must not make a file there.
  Open(folder / "current.rom");
  ASSERT_TRUE(DeleteFileW(card.c_str()));
  const std::vector<std::wstring> left = Names(folder);
  Press(IDOK);
  guard.handlers.push_back(ExpectSaveError(L"Error On File Save!"));
  Press(ID_FILE_SAVE_ROM);
  // Nor may Save As to a link that leads round in a circle.
  guard.handlers.push_back(ChooseFile(folder / "loop.rom"));
  guard.handlers.push_back(ExpectSaveError(L"Error On File Save As!"));
  Press(ID_FILE_SAVE_ROM_AS);
  EXPECT_EQ(rom::romModified, 1);
  EXPECT_EQ(Names(folder), left);
  EXPECT_TRUE(Names(folder / "cards").empty());
}

}  // namespace
}  // namespace win32_tests
