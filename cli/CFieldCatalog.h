#pragma once
// Every field the pages show, by a stable name (page.field), read and written
// only through the pages: a list entry chosen, a box read or typed into, Apply.
//
// Names: sign-on.text, signature.<1..16> (the character) and signature.<n>.hex,
// sub-vendor.vendor-id, sub-vendor.device-id, memory.<register label>,
// modes.<mode>.<register> (columns, rows, char-height, regen-length, seq.<1..4>,
// misc, crtc.<0..18>, attr.<0..13>, gc.<0..8>, with register numbers in hex as
// the page labels them; and pixel-format, param-index, clock-word, crtc-1b, native,
// interlace, double-scan), fonts.<font>.<code>.<row>. Names are lower case and
// matched ignoring case.

#include <string>
#include <vector>

#include "cli/CHeadlessEditor.h"

namespace cli {

struct FieldText {
  std::string name;
  std::string text;
  int page = 0;
};

class CFieldCatalog {
 public:
  explicit CFieldCatalog(CHeadlessEditor& editor) : editor_(editor) {}

  // The fields whose names begin with `prefix`, page by page, with their texts as
  // the pages show them. What a page cannot show is left out, and its message
  // goes to `notes`, once.
  std::vector<FieldText> List(const std::string& prefix, std::vector<std::string>& notes);

  // The text of a field; a CliError when there is no such field or its page
  // cannot show it (a structure outside the image).
  std::string Get(const std::string& name);

  // Types `text` into the field and applies its page, as a user would. A text
  // the page refuses is a CliError with the page's own message.
  void Set(const std::string& name, const std::string& text);

  std::string PageCaption(int page) { return editor_.pages().Page(page).Caption(); }

 private:
  struct Located;
  Located Find(const std::string& name);
  std::vector<std::string> Activate(int page);
  std::vector<std::string> ShowView(const Located& field);

  CHeadlessEditor& editor_;
  std::vector<std::string> activation_[CPageSet::kPageCount];
  bool activated_[CPageSet::kPageCount] = {};
};

}  // namespace cli
