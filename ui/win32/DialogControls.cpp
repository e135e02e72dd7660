#include "ui/win32/DialogControls.h"

#include <algorithm>
#include <vector>

#include "ui/win32/TextCodec.h"

namespace ui::win32 {

HWND DialogControls::Item(int id) const {
  for (const auto& [known, control] : items_) {
    if (known == id) return control;
  }
  const HWND control = GetDlgItem(dialog_, id);
  items_.emplace_back(id, control);
  return control;
}

LRESULT DialogControls::Send(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
  const HWND control = Item(id);
  return control ? SendMessageW(control, message, wParam, lParam) : 0;
}

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
}

void DialogControls::SetTextLimit(int id, int limit) {
  Send(id, EM_LIMITTEXT, static_cast<WPARAM>(limit > 0 ? limit : 0));
}

void DialogControls::Show(int id, bool visible) {
  const HWND control = Item(id);
  if (!control) return;
  if (updateDepth_ > 0) {
    auto pending =
        std::find_if(pending_.begin(), pending_.end(), [&](const PendingShow& p) { return p.control == control; });
    if (pending != pending_.end()) {
      pending->visible = visible;
    } else if (IsVisible(id) != visible) {
      pending_.push_back({control, visible});
    }
    return;
  }
  if (IsVisible(id) != visible) ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
}

bool DialogControls::IsVisible(int id) const {
  const HWND control = Item(id);
  if (!control) return false;
  for (const PendingShow& pending : pending_) {
    if (pending.control == control) return pending.visible;
  }
  return (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool DialogControls::IsChecked(int id) const {
  return Send(id, BM_GETCHECK) == BST_CHECKED;
}

void DialogControls::SetChecked(int id, bool checked) {
  Send(id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

void DialogControls::Focus(int id) {
  const HWND control = Item(id);
  if (control) SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void DialogControls::ListClear(int id) {
  Send(id, CB_RESETCONTENT);
}

void DialogControls::ListAppend(int id, const std::string& text) {
  const std::wstring wide = BytesToWide(text, true);
  Send(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

int DialogControls::ListCount(int id) const {
  const LRESULT n = Item(id) ? Send(id, CB_GETCOUNT) : CB_ERR;
  return n == CB_ERR ? 0 : static_cast<int>(n);
}

std::string DialogControls::ListItemText(int id, int index) const {
  const LRESULT length = Item(id) ? Send(id, CB_GETLBTEXTLEN, static_cast<WPARAM>(index)) : CB_ERR;
  if (length == CB_ERR) return {};
  std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
  Send(id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  return WideToBytes(text.data(), true);
}

int DialogControls::ListSelection(int id) const {
  const LRESULT selected = Item(id) ? Send(id, CB_GETCURSEL) : CB_ERR;
  return selected == CB_ERR ? -1 : static_cast<int>(selected);
}

void DialogControls::ListSelect(int id, int index) { Send(id, CB_SETCURSEL, static_cast<WPARAM>(index)); }

bool DialogControls::ListSelectPrefix(int id, const std::string& prefix) {
  const std::wstring wide = BytesToWide(prefix, true);
  const LRESULT found =
      Item(id) ? Send(id, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str())) : CB_ERR;
  if (found == CB_ERR) return false;
  // Selecting the entry already selected would only repaint the list.
  if (Send(id, CB_GETCURSEL) != found) Send(id, CB_SETCURSEL, static_cast<WPARAM>(found));
  return true;
}

void DialogControls::BeginUpdate() { ++updateDepth_; }

void DialogControls::EndUpdate() {
  if (updateDepth_ == 0 || --updateDepth_ != 0) return;
  ApplyShows();
}

// All the controls shown or hidden in a batch change in one DeferWindowPos,
// without any repaint of their own; then the places they leave or take are
// invalidated at once, so that the page and the controls there repaint in one
// pass. The drawing is never held (WM_SETREDRAW): held on a page that is not on
// screen yet, it would keep the page from being painted at all when it is shown.
void DialogControls::ApplyShows() {
  if (pending_.empty()) return;
  std::vector<PendingShow> shows;
  shows.swap(pending_);
  HDWP positions = BeginDeferWindowPos(static_cast<int>(shows.size()));
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  for (const PendingShow& show : shows) {
    constexpr UINT kFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_DEFERERASE;
    if (positions) {
      positions = DeferWindowPos(positions, show.control, nullptr, 0, 0, 0, 0,
                                 kFlags | (show.visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }
    RECT rect{};
    GetWindowRect(show.control, &rect);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
    HRGN part = CreateRectRgnIndirect(&rect);
    CombineRgn(region, region, part, RGN_OR);
    DeleteObject(part);
  }
  if (positions) {
    EndDeferWindowPos(positions);
  } else {
    for (const PendingShow& show : shows) ShowWindow(show.control, show.visible ? SW_SHOWNA : SW_HIDE);
  }
  RedrawWindow(dialog_, nullptr, region, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  DeleteObject(region);
}

}  // namespace ui::win32
