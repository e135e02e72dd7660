#pragma once
// Moves values between a page's controls and its members, with entry checks.

#include <string>

#include "ui/Controls.h"
#include "ui/Prompts.h"

namespace ui {

// One call per control, in the page's order. Loading writes members into the
// controls (and sets text limits); storing reads them back and checks them.
// The first failed check shows its prompt, puts the focus on that control and
// turns every later call of the same exchange into a no-op.
class DataExchange {
 public:
  DataExchange(Controls& controls, Prompts& prompts, bool storing);

  bool Storing() const { return storing_; }
  bool Failed() const { return failed_; }

  // A text box; `limit` > 0 caps its length (the box refuses longer typing).
  void Text(int id, std::string& member, int limit = 0);
  // A drop-down list by string: loading selects the first entry that begins
  // with the member (case ignored); storing takes the selected entry's text.
  void ListString(int id, std::string& member);
  // A decimal integer with blanks around it allowed, then checked against
  // [min, max]. A value out of range has been stored when the check fails.
  void BoundedInt(int id, int& member, int min, int max);

 private:
  void Fail(int id, const std::string& prompt);

  Controls& controls_;
  Prompts& prompts_;
  bool storing_;
  bool failed_ = false;
};

// Replaces %1 and %2 in a standard prompt.
std::string FormatPrompt(const std::string& pattern, const std::string& first, const std::string& second = "");

}  // namespace ui
