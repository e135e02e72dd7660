#pragma once
// What a page does to the controls of its dialog, by control id.

#include <string>

namespace ui {

// Texts are byte strings: each byte is one character of the ANSI code page,
// and a box hands back exactly the bytes it was given.
class Controls {
 public:
  virtual ~Controls() = default;

  virtual std::string GetText(int id) const = 0;
  virtual void SetText(int id, const std::string& text) = 0;
  // 0 removes the limit.
  virtual void SetTextLimit(int id, int limit) = 0;
  virtual void Show(int id, bool visible) = 0;
  virtual bool IsVisible(int id) const = 0;
  virtual bool IsChecked(int id) const = 0;
  virtual void SetChecked(int id, bool checked) = 0;
  virtual void Focus(int id) = 0;

  // Drop-down lists.
  virtual void ListClear(int id) = 0;
  virtual void ListAppend(int id, const std::string& text) = 0;
  virtual int ListCount(int id) const = 0;
  virtual std::string ListItemText(int id, int index) const = 0;
  // The selected entry, or -1.
  virtual int ListSelection(int id) const = 0;
  // -1 clears the selection.
  virtual void ListSelect(int id, int index) = 0;
  // Selects the first entry that begins with `prefix`, letter case ignored;
  // returns false and keeps the selection when there is none.
  virtual bool ListSelectPrefix(int id, const std::string& prefix) = 0;

  // Many controls shown or hidden at once (the font grid): they change together,
  // at the end, and reach the screen in one repaint.
  virtual void BeginUpdate() {}
  virtual void EndUpdate() {}
};

// Gathers the controls a page shows and hides into one change.
class UpdateBatch {
 public:
  explicit UpdateBatch(Controls& controls) : controls_(controls) { controls_.BeginUpdate(); }
  ~UpdateBatch() { controls_.EndUpdate(); }
  UpdateBatch(const UpdateBatch&) = delete;
  UpdateBatch& operator=(const UpdateBatch&) = delete;

 private:
  Controls& controls_;
};

}  // namespace ui
