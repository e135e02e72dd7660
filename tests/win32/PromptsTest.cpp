// Real message boxes of the program, answered by a hook.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/win32/ModalGuard.h"
#include "ui/win32/WindowPrompts.h"

namespace win32_tests {
namespace {

class PromptsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_ = CreateWindowExW(0, L"Static", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    prompts_.SetOwner(owner_);
    guard_.Reset();
  }
  void TearDown() override {
    DestroyWindow(owner_);
    EXPECT_TRUE(guard_.AllSeen());
    guard_.Reset();
  }
  HWND owner_ = nullptr;
  ui::win32::WindowPrompts prompts_;
  ModalGuard& guard_ = ModalGuard::Instance();
};

TEST_F(PromptsTest, EachButtonSetReturnsTheAnswerPressed) {
  const struct {
    ui::Buttons buttons;
    int press;
    ui::Answer expected;
  } cases[] = {{ui::Buttons::kYesNoCancel, IDYES, ui::Answer::kYes},
               {ui::Buttons::kYesNoCancel, IDNO, ui::Answer::kNo},
               {ui::Buttons::kYesNoCancel, IDCANCEL, ui::Answer::kCancel},
               {ui::Buttons::kYesNo, IDNO, ui::Answer::kNo},
               {ui::Buttons::kOk, IDOK, ui::Answer::kOk}};
  for (const auto& c : cases) {
    guard_.Expect(ModalGuard::PressButton(c.press));
    EXPECT_EQ(prompts_.Message("Data has been modified.  Save data before exiting?", "Message Prompt", c.buttons,
                               ui::Icon::kNone),
              c.expected);
  }
  ASSERT_EQ(guard_.seen().size(), 5u);
  EXPECT_EQ(guard_.seen()[0].caption, L"Message Prompt");
  EXPECT_NE(guard_.seen()[0].text.find(L"Data has been modified.  Save data before exiting?"), std::wstring::npos);
  EXPECT_EQ(guard_.seen()[0].owner, owner_);
}

TEST_F(PromptsTest, TextsReachTheBoxAsUnicode) {
  guard_.Expect(ModalGuard::PressButton(IDOK));
  prompts_.Message("The file C:\\Karten\\Gr\xC3\xBC\xC3\x9F" "e.rom is not a valid Ombrix VGA BIOS ROM image.",
                   "File Error Message", ui::Buttons::kOk, ui::Icon::kNone);
  ASSERT_EQ(guard_.seen().size(), 1u);
  EXPECT_NE(guard_.seen()[0].text.find(L"Gr\u00FC\u00DFe.rom"), std::wstring::npos);
}

TEST(PromptsFileDialogTest, BarsBecomeTheZeroSeparatedList) {
  const std::wstring filter = ui::win32::FileDialogFilter("VGA BIOS ROM Image (*.rom)|*.rom|All Files (*.*)|*.*||");
  EXPECT_EQ(filter, std::wstring(L"VGA BIOS ROM Image (*.rom)\0*.rom\0All Files (*.*)\0*.*\0\0\0", 55));
}

}  // namespace
}  // namespace win32_tests
