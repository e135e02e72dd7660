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

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/CHeadlessEditor.h"
#include "rom/RomLayout.h"

namespace cli {

struct FieldText {
  std::string name;
  std::string text;
  int page = 0;
  // The bytes of the image the field shows.
  std::optional<rom::ByteSpan> bytes;
};

// What one selection of a page's lists shows: its boxes.
struct FieldView;

struct Assignment {
  std::string name;
  std::string text;
};

class CFieldCatalog {
 public:
  // The pages on the image in RomImage.
  CFieldCatalog();
  ~CFieldCatalog();

  // The fields whose names begin with `prefix`, page by page, with their texts as
  // the pages show them. What a page cannot show is left out, and its message
  // goes to `notes`, once.
  std::vector<FieldText> List(const std::string& prefix, std::vector<std::string>& notes);

  // The text of a field; a CliError when there is no such field or its page
  // cannot show it (a structure outside the image).
  std::string Get(const std::string& name);

  // Types `text` into the field and applies its page, as a user would. A text
  // the page refuses, and a hexadecimal text that is empty or no number, is a
  // CliError with the reason.
  void Set(const std::string& name, const std::string& text);

  // The assignments in order, each on the image as the ones before it left it:
  // the same bytes as one Set after another, each on a fresh load of the image.
  // Assignments to the boxes of one page and list selection are typed together
  // and applied once where that gives the same bytes.
  void SetAll(const std::vector<Assignment>& assignments);

  std::string PageCaption(int page);
  CHeadlessEditor& editor() { return *editor_; }

 private:
  struct Field;
  struct Index;

  // A new editor, as a fresh load of the image would show it.
  void Reset();
  // The views of group `g`, with the names of their fields in the index.
  const std::vector<FieldView>& Views(std::size_t g);
  Field Find(const std::string& name);
  std::vector<std::string> Activate(int page);
  std::vector<std::string> ShowView(int group, int view);
  // Why the command line does not take `text` for the field; empty when it does.
  std::string Check(const Field& field, const std::string& text);
  void Type(const Field& field, const std::string& text);
  void ApplyPage(const std::string& name);
  void SetOne(const Assignment& assignment);
  // The batch's texts typed into its page's boxes on show, then Apply.
  void TypeAndApply(const std::vector<Assignment>& batch);

  std::unique_ptr<CHeadlessEditor> editor_;
  std::unique_ptr<Index> index_;
  std::array<std::vector<std::string>, CPageSet::kPageCount> activation_;
  std::array<bool, CPageSet::kPageCount> activated_{};
  std::string layout_;
};

}  // namespace cli
