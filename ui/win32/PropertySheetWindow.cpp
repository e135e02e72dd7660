#include "ui/win32/PropertySheetWindow.h"

#include <commctrl.h>

#include <optional>

#include "ui/win32/StartupMark.h"

namespace ui::win32 {

struct PropertySheetWindow::PageBinding {
  PropertySheetWindow* sheet;
  ui::PropertyPage* page;
  int index;
  std::optional<DialogControls> controls;
};

namespace {
// comctl32 calls the sheet's callback before CreateWindow returns, with no way
// to pass our object: the one sheet being created is remembered here.
PropertySheetWindow* creating = nullptr;
constexpr UINT_PTR kSubclassId = 1;
// Posted by a page's activation: the focus is checked once the change of page is complete.
constexpr UINT kFocusActivePage = WM_APP + 0x3F0;
}  // namespace

PropertySheetWindow::PropertySheetWindow(ui::PageHost& host, std::vector<ui::PropertyPage*> pages) : host_(host) {
  for (std::size_t i = 0; i < pages.size(); ++i) {
    bindings_.push_back(std::make_unique<PageBinding>(PageBinding{this, pages[i], static_cast<int>(i), std::nullopt}));
  }
}

PropertySheetWindow::~PropertySheetWindow() {
  if (hwnd_) {
    RemoveWindowSubclass(hwnd_, SheetSubclass, kSubclassId);
    DestroyWindow(hwnd_);
  }
}

HWND PropertySheetWindow::Create(HINSTANCE instance, const Options& options) {
  std::vector<HPROPSHEETPAGE> pages;
  for (auto& binding : bindings_) {
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_DEFAULT;
    page.hInstance = instance;
    page.pszTemplate = MAKEINTRESOURCEW(binding->page->TemplateId());
    page.pfnDlgProc = PageProc;
    page.lParam = reinterpret_cast<LPARAM>(binding.get());
    pages.push_back(CreatePropertySheetPageW(&page));
  }
  StartupMark("resources: icon, six page templates");
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_MODELESS | PSH_NOAPPLYNOW | PSH_USECALLBACK | (options.icon ? PSH_USEHICON : 0);
  header.hwndParent = nullptr;
  header.hInstance = instance;
  header.hIcon = options.icon;
  header.pszCaption = options.caption.c_str();
  header.nPages = static_cast<UINT>(pages.size());
  header.nStartPage = static_cast<UINT>(options.startPage);
  header.phpage = pages.data();
  header.pfnCallback = SheetCallback;
  style_ = options.style;
  exStyle_ = options.exStyle;
  creating = this;
  const INT_PTR result = PropertySheetW(&header);
  creating = nullptr;
  StartupMark("sheet complete");
  if (result == 0 || result == -1) return nullptr;
  hwnd_ = reinterpret_cast<HWND>(result);
  return hwnd_;
}

int CALLBACK PropertySheetWindow::SheetCallback(HWND sheet, UINT message, LPARAM lParam) {
  PropertySheetWindow* self = creating;
  if (!self) return 0;
  if (message == PSCB_PRECREATE) StartupMark("comctl32 starts the sheet");
  if (message == PSCB_PRECREATE && self->style_ != 0) {
    // The template comctl32 is about to create the sheet from: give it our styles.
    // The font bits stay: they say whether the template carries a font. The
    // sheet starts hidden whatever the style says (see Options::style).
    constexpr DWORD kFontBits = DS_SETFONT | DS_FIXEDSYS;
    const DWORD style = self->style_ & ~(kFontBits | WS_VISIBLE);
    auto* words = reinterpret_cast<WORD*>(lParam);
    if (words[1] == 0xFFFF) {  // DLGTEMPLATEEX
      auto* ex = reinterpret_cast<DWORD*>(lParam);
      ex[2] = self->exStyle_;
      ex[3] = style | (ex[3] & kFontBits);
    } else {
      auto* plain = reinterpret_cast<DLGTEMPLATE*>(lParam);
      plain->style = style | (plain->style & kFontBits);
      plain->dwExtendedStyle = self->exStyle_;
    }
  } else if (message == PSCB_INITIALIZED) {
    StartupMark("sheet frame, tabs and buttons created");
    self->hwnd_ = sheet;
    SetWindowSubclass(sheet, SheetSubclass, kSubclassId, reinterpret_cast<DWORD_PTR>(self));
    self->OnSheetInitialized();
  }
  return 0;
}

HWND PropertySheetWindow::PageWindow(int index) const {
  if (index < 0 || index >= static_cast<int>(bindings_.size())) return nullptr;
  const auto& controls = bindings_[static_cast<std::size_t>(index)]->controls;
  return controls ? controls->dialog() : nullptr;
}

void PropertySheetWindow::SetActivePage(int index) {
  if (hwnd_) SendMessageW(hwnd_, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// comctl32 hides the old page but leaves the focus where it was, on a control
// nobody sees: keys then go to it (a drop-down list keeps Alt+F4, Tab starts
// from it). The focus goes to the shown page's first tab stop, or its tab.
void PropertySheetWindow::FocusActivePage() {
  const HWND page = PageWindow(active_);
  if (!hwnd_ || !page || GetActiveWindow() != hwnd_) return;
  const HWND focus = GetFocus();
  bool lost = focus == nullptr || focus == hwnd_;
  for (int i = 0; i < static_cast<int>(bindings_.size()); ++i) {
    const HWND other = PageWindow(i);
    lost |= i != active_ && other && (focus == other || IsChild(other, focus));
  }
  if (!lost) return;
  HWND target = GetNextDlgTabItem(page, nullptr, FALSE);
  if (!target) target = reinterpret_cast<HWND>(SendMessageW(hwnd_, PSM_GETTABCONTROL, 0, 0));
  SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
}

void PropertySheetWindow::End() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool PropertySheetWindow::PreTranslate(MSG& msg) {
  if (!hwnd_) return false;
  // Wine's drop-down lists keep Alt+F4 to themselves instead of leaving it to the
  // window: whatever has the focus, it asks the sheet to close, as the close box does.
  constexpr LPARAM kAltDown = 1 << 29, kRepeat = 1 << 30;
  if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F4 && (msg.lParam & kAltDown) && !(msg.lParam & kRepeat) &&
      (msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd))) {
    PostMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
  }
  return SendMessageW(hwnd_, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&msg)) != 0;
}

bool PropertySheetWindow::HandleSheetMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CALLBACK PropertySheetWindow::SheetSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                    UINT_PTR, DWORD_PTR selfData) {
  auto* self = reinterpret_cast<PropertySheetWindow*>(selfData);
  LRESULT result = 0;
  if (message == kFocusActivePage) {
    self->FocusActivePage();
    return 0;
  }
  if (self->HandleSheetMessage(message, wParam, lParam, result)) return result;
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, SheetSubclass, kSubclassId);
    self->hwnd_ = nullptr;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK PropertySheetWindow::PageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    StartupMark("first page's controls created");
    auto* binding = reinterpret_cast<PageBinding*>(reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(binding));
    binding->controls.emplace(dialog);
    binding->page->Create(*binding->controls, binding->sheet->host_);
    StartupMark("first page's mode list and first exchange");
    return TRUE;
  }
  auto* binding = reinterpret_cast<PageBinding*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!binding) return FALSE;
  switch (message) {
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->code == PSN_SETACTIVE) {
        binding->sheet->active_ = binding->index;
        binding->page->OnSetActive();
        if (binding->sheet->hwnd_) PostMessageW(binding->sheet->hwnd_, kFocusActivePage, 0, 0);
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
        return TRUE;
      }
      if (header->code == PSN_KILLACTIVE) {
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, binding->page->OnKillActive() ? FALSE : TRUE);
        return TRUE;
      }
      return FALSE;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == CBN_CLOSEUP) {
        binding->page->OnListCloseUp(LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      binding->page->Destroy();
      binding->controls.reset();
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace ui::win32
