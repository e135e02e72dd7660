// The program's resources: every page template with its controls, strings, icon, title bitmaps and manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "res/resource.h"
#include "ui/StandardPrompts.h"
#include "ui/win32/TextCodec.h"

namespace win32_tests {
namespace {

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// A dialog made from template `id` under a hidden parent, as comctl32 makes a page.
class TemplateWindow {
 public:
  explicit TemplateWindow(int id) {
    parent_ = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, Instance(), nullptr);
    dialog_ = CreateDialogParamW(Instance(), MAKEINTRESOURCEW(id), parent_, QuietProc, 0);
  }
  ~TemplateWindow() {
    if (dialog_) DestroyWindow(dialog_);
    DestroyWindow(parent_);
  }
  HWND dialog() const { return dialog_; }
  std::wstring ClassOf(int controlId) const {
    wchar_t name[64] = {};
    GetClassNameW(GetDlgItem(dialog_, controlId), name, 64);
    return name;
  }
  std::wstring Caption() const {
    wchar_t text[128] = {};
    GetWindowTextW(dialog_, text, 128);
    return text;
  }

 private:
  HWND parent_ = nullptr;
  HWND dialog_ = nullptr;
};

TEST(ResourcesTest, EveryPageTemplateHoldsItsControls) {
  const struct {
    int page;
    const wchar_t* caption;
    std::vector<std::tuple<int, int, const wchar_t*>> ranges;  // first id, last id, window class
  } pages[] = {
      {IDD_PARAMETER_TABLE, L"Parameter Table", {{IDC_MODE_LIST, IDC_MODE_LIST, L"ComboBox"}, {35, 101, L"Edit"},
                                                 {516, 518, L"Button"}}},
      {IDD_SUB_VENDOR_ID, L"Sub Vendor ID", {{300, 300, L"ComboBox"}, {238, 238, L"Edit"}}},
      {IDD_ROM_SIGNATURE, L"ROM Signature", {{1, 32, L"Edit"}}},
      {IDD_SIGN_ON_STRING, L"Sign-on String", {{230, 230, L"Static"}, {239, 239, L"Edit"}}},
      {IDD_MEMORY_CONFIG, L"Memory Configuration", {{500, 508, L"Edit"}}},
      {IDD_FONT_IMAGES, L"Font Images", {{218, 219, L"ComboBox"}, {221, 222, L"ComboBox"}, {200, 215, L"Edit"},
                                          {320, 463, L"Static"}}},
  };
  for (const auto& page : pages) {
    TemplateWindow window(page.page);
    ASSERT_NE(window.dialog(), nullptr) << page.page;
    EXPECT_EQ(window.Caption(), page.caption);
    EXPECT_TRUE(GetWindowLongPtrW(window.dialog(), GWL_STYLE) & WS_CHILD) << page.page;
    for (const auto& [first, last, cls] : page.ranges)
      for (int id = first; id <= last; ++id)
        EXPECT_EQ(_wcsicmp(window.ClassOf(id).c_str(), cls), 0) << "template " << page.page << " control " << id;
  }
}

TEST(ResourcesTest, ControlStylesThatThePagesRelyOn) {
  TemplateWindow signOn(IDD_SIGN_ON_STRING);
  const auto text = GetWindowLongPtrW(GetDlgItem(signOn.dialog(), IDC_SIGN_ON_TEXT), GWL_STYLE);
  EXPECT_TRUE(text & ES_MULTILINE);
  EXPECT_TRUE(text & WS_HSCROLL);
  EXPECT_FALSE(text & WS_TABSTOP);
  TemplateWindow modes(IDD_PARAMETER_TABLE);
  for (int id : {IDC_NATIVE_MODE, IDC_INTERLACE, IDC_NATIVE_DOUBLE_SCAN}) {
    EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(modes.dialog(), id), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX) << id;
  }
  EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(modes.dialog(), IDC_MODE_LIST), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
  TemplateWindow fonts(IDD_FONT_IMAGES);
  for (int cell = IDC_GRID_CELL_FIRST; cell < IDC_GRID_CELL_FIRST + 144; ++cell) {
    const auto ex = GetWindowLongPtrW(GetDlgItem(fonts.dialog(), cell), GWL_EXSTYLE);
    ASSERT_EQ(ex & (WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME), WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME) << cell;
  }
}

TEST(ResourcesTest, StringsAreTheApplicationNameAndTheEntryPrompts) {
  const std::pair<int, const char*> strings[] = {{IDS_APP_NAME, ui::kApplicationName},
                                                 {IDP_PARSE_INT, ui::kPromptParseInt},
                                                 {IDP_PARSE_INT_RANGE, ui::kPromptIntRange},
                                                 {IDP_PARSE_STRING_SIZE, ui::kPromptMaxChars}};
  for (const auto& [id, expected] : strings) {
    wchar_t text[256] = {};
    LoadStringW(Instance(), static_cast<UINT>(id), text, 256);
    EXPECT_EQ(ui::win32::WideToUtf8(text), expected) << id;
  }
}

TEST(ResourcesTest, IconTitleBitmapsAndManifest) {
  EXPECT_NE(LoadImageW(Instance(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 32, 32, 0), nullptr);
  const std::pair<int, SIZE> bitmaps[] = {{168, {103, 28}}, {169, {200, 23}}, {170, {150, 23}},
                                          {171, {130, 25}}, {172, {140, 25}}, {173, {139, 22}}};
  for (const auto& [id, size] : bitmaps) {
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(Instance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(bitmap, nullptr) << id;
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, size.cx) << id;
    EXPECT_EQ(info.bmHeight, size.cy) << id;
    DeleteObject(bitmap);
  }
  const HRSRC manifest = FindResourceW(Instance(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(manifest, nullptr);
  const std::string text(static_cast<const char*>(LockResource(LoadResource(Instance(), manifest))),
                         SizeofResource(Instance(), manifest));
  EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(text.find("6.0.0.0"), std::string::npos);
  EXPECT_NE(text.find("dpiAware"), std::string::npos);
}

}  // namespace
}  // namespace win32_tests
