// Real message boxes of the program, answered by a hook.
#include "tests/win32/Win32Support.h"
#include "ui/win32/WindowPrompts.h"

namespace win32_tests {
namespace {

TEST(PromptsTest, EachButtonSetReturnsTheAnswerPressedAndTheTextArrivesAsUnicode) {
  const HWND owner = CreateWindowExW(0, L"Static", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
  ui::win32::WindowPrompts prompts;
  prompts.SetOwner(owner);
  guard = {};
  const struct {
    ui::Buttons buttons;
    int press;
    ui::Answer expected;
  } cases[] = {{ui::Buttons::kYesNo, IDYES, ui::Answer::kYes},
               {ui::Buttons::kYesNo, IDNO, ui::Answer::kNo},
               {ui::Buttons::kOk, IDOK, ui::Answer::kOk}};  // Yes, No and Cancel of the close question: SheetTest
  for (const auto& c : cases) {
    guard.handlers.push_back(PressButton(c.press));
    EXPECT_EQ(prompts.Message("The file C:\\Karten\\Gr\xC3\xBC\xC3\x9F"
                              "e.rom is not valid.",
                              "File Error Message", c.buttons, ui::Icon::kNone),
              c.expected);
  }
  ASSERT_EQ(guard.seen.size(), 3u);
  EXPECT_EQ(guard.seen[0].caption, L"File Error Message");
  EXPECT_NE(guard.seen[0].text.find(L"Gr\u00FC\u00DFe.rom"), std::wstring::npos);
  guard = {};
  DestroyWindow(owner);
}

TEST(PromptsTest, FileDialogFilterBarsBecomeTheZeroSeparatedList) {
  const std::wstring filter = ui::win32::FileDialogFilter("VGA BIOS ROM Image (*.rom)|*.rom|All Files (*.*)|*.*||");
  EXPECT_EQ(filter, std::wstring(L"VGA BIOS ROM Image (*.rom)\0*.rom\0All Files (*.*)\0*.*\0\0\0", 55));
}

}  // namespace
}  // namespace win32_tests
