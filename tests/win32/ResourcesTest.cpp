// The program's resources: every page template with its controls, strings, icon, title bitmaps and manifest.
#include "tests/win32/Win32Support.h"
#include "ui/StandardPrompts.h"
#include "ui/win32/TextCodec.h"

namespace win32_tests {
namespace {

HINSTANCE Instance() {
  return GetModuleHandleW(nullptr);
}

// A dialog made from template `id` under a hidden parent, as comctl32 makes a page.
HWND Template(int id) {
  static const HWND parent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, Instance(), 0);
  return CreateDialogParamW(
      Instance(), MAKEINTRESOURCEW(id), parent,
      [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR { return message == WM_INITDIALOG; }, 0);
}
LONG_PTR Style(HWND dialog, int id, int which = GWL_STYLE) {
  return GetWindowLongPtrW(GetDlgItem(dialog, id), which);
}

TEST(ResourcesTest, EveryPageTemplateHoldsItsControlsWithTheStylesThePagesRelyOn) {
  const struct {
    int page;
    std::vector<std::tuple<int, int, const wchar_t*>> ranges;  // first id, last id, window class
  } pages[] = {
      {IDD_PARAMETER_TABLE, {{IDC_MODE_LIST, IDC_MODE_LIST, L"ComboBox"}, {35, 101, L"Edit"}, {516, 518, L"Button"}}},
      {IDD_SUB_VENDOR_ID, {{300, 300, L"ComboBox"}, {238, 238, L"Edit"}}},
      {IDD_ROM_SIGNATURE, {{1, 32, L"Edit"}}},
      {IDD_SIGN_ON_STRING, {{230, 230, L"Static"}, {239, 239, L"Edit"}}},
      {IDD_MEMORY_CONFIG, {{500, 508, L"Edit"}}},
      {IDD_FONT_IMAGES, {{218, 219, L"ComboBox"}, {221, 222, L"ComboBox"}, {200, 215, L"Edit"}, {320, 463, L"Static"}}},
  };
  for (const auto& page : pages) {
    const HWND dialog = Template(page.page);
    ASSERT_NE(dialog, nullptr) << page.page;
    EXPECT_TRUE(GetWindowLongPtrW(dialog, GWL_STYLE) & WS_CHILD) << page.page;
    for (const auto& [first, last, cls] : page.ranges) {
      for (int id = first; id <= last; ++id) {
        wchar_t name[64] = {};
        GetClassNameW(GetDlgItem(dialog, id), name, 64);
        EXPECT_EQ(_wcsicmp(name, cls), 0) << "template " << page.page << " control " << id;
      }
    }
  }
  const HWND signOn = Template(IDD_SIGN_ON_STRING), modes = Template(IDD_PARAMETER_TABLE);
  EXPECT_EQ(Style(signOn, IDC_SIGN_ON_TEXT) & (ES_MULTILINE | WS_HSCROLL | WS_TABSTOP), ES_MULTILINE | WS_HSCROLL);
  for (int id : {IDC_NATIVE_MODE, IDC_INTERLACE, IDC_NATIVE_DOUBLE_SCAN})
    EXPECT_EQ(Style(modes, id) & BS_TYPEMASK, BS_AUTOCHECKBOX) << id;
  EXPECT_EQ(Style(modes, IDC_MODE_LIST) & 3, CBS_DROPDOWNLIST);
  const HWND fonts = Template(IDD_FONT_IMAGES);
  for (int cell = IDC_GRID_CELL_FIRST; cell < IDC_GRID_CELL_FIRST + 144; ++cell)
    ASSERT_EQ(Style(fonts, cell, GWL_EXSTYLE) & (WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME),
              WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME)
        << cell;
}

TEST(ResourcesTest, StringsIconTitleBitmapsAndManifest) {
  const std::pair<int, const char*> strings[] = {{IDS_APP_NAME, ui::kApplicationName},
                                                 {IDP_PARSE_INT, ui::kPromptParseInt},
                                                 {IDP_PARSE_INT_RANGE, ui::kPromptIntRange},
                                                 {IDP_PARSE_STRING_SIZE, ui::kPromptMaxChars}};
  for (const auto& [id, expected] : strings) {
    wchar_t text[256] = {};
    LoadStringW(Instance(), static_cast<UINT>(id), text, 256);
    EXPECT_EQ(ui::win32::WideToUtf8(text), expected) << id;
  }
  EXPECT_NE(LoadImageW(Instance(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 32, 32, 0), nullptr);
  const std::tuple<int, LONG, LONG> bitmaps[] = {{168, 103, 28}, {169, 200, 23}, {170, 150, 23},
                                                 {171, 130, 25}, {172, 140, 25}, {173, 139, 22}};
  for (const auto& [id, width, height] : bitmaps) {
    const auto bitmap = static_cast<HBITMAP>(LoadImageW(Instance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
    BITMAP info{};
    EXPECT_NE(GetObjectW(bitmap, sizeof info, &info), 0) << id;
    EXPECT_EQ(info.bmWidth * 1000 + info.bmHeight, width * 1000 + height) << id;
    DeleteObject(bitmap);
  }
  const HRSRC manifest = FindResourceW(Instance(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(manifest, nullptr);
  const std::string text(static_cast<const char*>(LockResource(LoadResource(Instance(), manifest))),
                         SizeofResource(Instance(), manifest));
  for (const char* part : {"Microsoft.Windows.Common-Controls", "6.0.0.0", "dpiAware"})
    EXPECT_NE(text.find(part), std::string::npos) << part;
}

}  // namespace
}  // namespace win32_tests
