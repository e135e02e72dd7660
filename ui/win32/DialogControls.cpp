#include "ui/win32/DialogControls.h"

#include <vector>

#include "ui/win32/TextCodec.h"

namespace ui::win32 {

bool DialogControls::IsSingleLine(HWND control) const {
  return (GetWindowLongPtrW(control, GWL_STYLE) & ES_MULTILINE) == 0;
}

std::string DialogControls::GetText(int id) const {
  const HWND control = Item(id);
  if (!control) return {};
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return WideToBytes(text, IsSingleLine(control));
}

void DialogControls::SetText(int id, const std::string& text) {
  const HWND control = Item(id);
  if (!control) return;
  const std::wstring wide = BytesToWide(text, IsSingleLine(control));
  // An unchanged text is not set again: that would only repaint the box.
  const int length = GetWindowTextLengthW(control);
  if (length == static_cast<int>(wide.size())) {
    std::wstring current(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(control, current.data(), length + 1);
    current.resize(static_cast<std::size_t>(length));
    if (current == wide) return;
  }
  SetWindowTextW(control, wide.c_str());
  Touched(control);
}

void DialogControls::SetTextLimit(int id, int limit) {
  SendDlgItemMessageW(dialog_, id, EM_LIMITTEXT, static_cast<WPARAM>(limit > 0 ? limit : 0), 0);
}

void DialogControls::Show(int id, bool visible) {
  const HWND control = Item(id);
  if (!control || IsVisible(id) == visible) return;
  ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
  Touched(control);
}

bool DialogControls::IsVisible(int id) const {
  const HWND control = Item(id);
  return control && (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool DialogControls::IsChecked(int id) const { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }

void DialogControls::SetChecked(int id, bool checked) {
  CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
  Touched(Item(id));
}

void DialogControls::Focus(int id) {
  const HWND control = Item(id);
  if (control) SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void DialogControls::ListClear(int id) { SendDlgItemMessageW(dialog_, id, CB_RESETCONTENT, 0, 0); }

void DialogControls::ListAppend(int id, const std::string& text) {
  const std::wstring wide = BytesToWide(text, true);
  SendDlgItemMessageW(dialog_, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

int DialogControls::ListCount(int id) const {
  const LRESULT n = SendDlgItemMessageW(dialog_, id, CB_GETCOUNT, 0, 0);
  return n == CB_ERR ? 0 : static_cast<int>(n);
}

std::string DialogControls::ListItemText(int id, int index) const {
  const LRESULT length = SendDlgItemMessageW(dialog_, id, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return {};
  std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
  SendDlgItemMessageW(dialog_, id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  return WideToBytes(text.data(), true);
}

int DialogControls::ListSelection(int id) const {
  const LRESULT selected = SendDlgItemMessageW(dialog_, id, CB_GETCURSEL, 0, 0);
  return selected == CB_ERR ? -1 : static_cast<int>(selected);
}

void DialogControls::ListSelect(int id, int index) {
  SendDlgItemMessageW(dialog_, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool DialogControls::ListSelectPrefix(int id, const std::string& prefix) {
  const std::wstring wide = BytesToWide(prefix, true);
  return SendDlgItemMessageW(dialog_, id, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>(wide.c_str())) != CB_ERR;
}

void DialogControls::Touched(HWND control) {
  if (updateDepth_ == 0 || !control) return;
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
  dirty_.push_back(rect);
}

void DialogControls::BeginUpdate() {
  if (updateDepth_++ == 0) {
    dirty_.clear();
    SendMessageW(dialog_, WM_SETREDRAW, FALSE, 0);
  }
}

// Repaints only the controls that changed: under Wine every framed grid cell
// costs about a millisecond to paint, so a whole-page repaint is what a user
// would see as a slow glyph switch.
void DialogControls::EndUpdate() {
  if (updateDepth_ == 0 || --updateDepth_ != 0) return;
  SendMessageW(dialog_, WM_SETREDRAW, TRUE, 0);
  if (dirty_.empty()) return;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  for (const RECT& rect : dirty_) {
    HRGN part = CreateRectRgnIndirect(&rect);
    CombineRgn(region, region, part, RGN_OR);
    DeleteObject(part);
  }
  dirty_.clear();
  RedrawWindow(dialog_, nullptr, region, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  DeleteObject(region);
}

}  // namespace ui::win32
