#include "cli/CFieldCatalog.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <unordered_map>

#include "cli/ExitStatus.h"
#include "res/resource.h"
#include "rom/ImageMap.h"
#include "rom/RomImage.h"
#include "rom/ValueText.h"
#include "ui/DataExchange.h"
#include "ui/StandardPrompts.h"

namespace cli {

// An entry chosen in a list, and the list closed on it.
struct Pick {
  int listId;
  int row;
};
// How the command line takes the text of a box.
enum class Kind {
  kText,   // as typed (the sign-on text, a signature character)
  kHex,    // a hexadecimal number of 1 up to the box's limit of digits
  kCheck,  // a check box: 0 or 1
  kOther,  // as the page takes it (the pixel format, which the page checks itself)
};
struct Control {
  std::string suffix;
  int id;
  Kind kind = Kind::kHex;
};
// What one selection of a page's lists shows: its boxes.
struct FieldView {
  std::string name;
  std::vector<Pick> picks;
  std::vector<Control> controls;
};

namespace {

using View = FieldView;

using ViewsOf = std::vector<View> (*)(CHeadlessEditor&);
struct Group {
  const char* prefix;
  int page;
  ViewsOf views;
};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// A list entry as a name part: "Vendor ID" -> "vendor-id".
std::string NamePart(const std::string& entry) {
  std::string part = Lower(entry);
  std::replace(part.begin(), part.end(), ' ', '-');
  return part;
}

std::string Hex(int value) {
  return Lower(rom::HexText(static_cast<std::uint32_t>(value), 1));
}

std::vector<View> SignatureViews(CHeadlessEditor&) {
  View view;
  for (int k = 1; k <= 16; ++k) {
    view.controls.push_back({std::to_string(k), IDC_SIGNATURE_ASCII_FIRST + k - 1, Kind::kText});
  }
  for (int k = 1; k <= 16; ++k) view.controls.push_back({std::to_string(k) + ".hex", IDC_SIGNATURE_HEX_FIRST + k - 1});
  return {view};
}

std::vector<View> SignOnViews(CHeadlessEditor&) {
  return {{"", {}, {{"text", IDC_SIGN_ON_TEXT, Kind::kText}}}};
}

std::vector<View> SubVendorViews(CHeadlessEditor& editor) {
  std::vector<View> views;
  ui::HeadlessControls& controls = editor.activeControls();
  for (int row = 0; row < controls.ListCount(IDC_ID_KIND); ++row) {
    views.push_back({NamePart(controls.ListItemText(IDC_ID_KIND, row)), {{IDC_ID_KIND, row}}, {{"", IDC_ID_VALUE}}});
  }
  return views;
}

std::vector<View> MemoryViews(CHeadlessEditor&) {
  // The labels of the boxes on the page.
  static const char* const kLabels[] = {"PCIInit0", "MiscInit0", "MiscInit1", "DRAMInit0", "DRAMInit1",
                                        "AGPInit0", "PLLCtrl1",  "PLLCtrl2",  "SGRAMMode"};
  View view;
  for (int i = 0; i < 9; ++i) view.controls.push_back({Lower(kLabels[i]), IDC_MEMORY_REG_FIRST + i});
  return {view};
}

// The boxes of one mode, in the order of its parameter record.
std::vector<Control> ModeControls() {
  std::vector<Control> controls = {{"columns", IDC_PARAM_FIRST},
                                   {"rows", IDC_PARAM_FIRST + 1},
                                   {"char-height", IDC_PARAM_FIRST + 2},
                                   {"regen-length", IDC_PARAM_REGEN_LENGTH}};
  int id = IDC_PARAM_REGEN_LENGTH + 1;
  for (int i = 1; i <= 4; ++i) controls.push_back({"seq." + std::to_string(i), id++});
  controls.push_back({"misc", id++});
  for (int i = 0; i < 25; ++i) controls.push_back({"crtc." + Hex(i), id++});
  for (int i = 0; i < 20; ++i) controls.push_back({"attr." + Hex(i), id++});
  for (int i = 0; i < 9; ++i) controls.push_back({"gc." + Hex(i), id++});
  controls.insert(controls.end(), {{"pixel-format", IDC_PIXEL_FORMAT, Kind::kOther},
                                   {"param-index", IDC_PARAM_INDEX},
                                   {"clock-word", IDC_CLOCK_WORD},
                                   {"crtc-1b", IDC_CRTC_1B},
                                   {"native", IDC_NATIVE_MODE, Kind::kCheck},
                                   {"interlace", IDC_INTERLACE, Kind::kCheck},
                                   {"double-scan", IDC_NATIVE_DOUBLE_SCAN, Kind::kCheck}});
  return controls;
}

// "Mode 3* - 80x25 ..." -> "3star", "Mode 0+/1+ - ..." -> "0+1+", "Mode 101h - ..." -> "101h".
std::string ModeName(const std::string& row, int index) {
  const std::string lead = "Mode ";
  const std::size_t end = row.find(" - ");
  if (row.compare(0, lead.size(), lead) != 0 || end == std::string::npos || end <= lead.size()) {
    return "row" + std::to_string(index);
  }
  std::string name;
  for (const char c : Lower(row.substr(lead.size(), end - lead.size()))) {
    if (c == '*') {
      name += "star";
    } else if (c != '/' && c != ' ' && c != '.') {
      name += c;
    }
  }
  return name;
}

std::vector<View> ModeViews(CHeadlessEditor& editor) {
  std::vector<View> views;
  const std::vector<Control> controls = ModeControls();
  ui::HeadlessControls& list = editor.activeControls();
  for (int row = 0; row < list.ListCount(IDC_MODE_LIST); ++row) {
    views.push_back({ModeName(list.ListItemText(IDC_MODE_LIST, row), row), {{IDC_MODE_LIST, row}}, controls});
  }
  return views;
}

std::vector<View> FontViews(CHeadlessEditor& editor) {
  std::vector<View> views;
  ui::HeadlessControls& controls = editor.activeControls();
  for (int font = 0; font < controls.ListCount(IDC_FONT_LIST); ++font) {
    // "Font 9x14 Fix-up Table" -> "9x14"; the page shows the character list of the font it is on.
    const std::string entry = controls.ListItemText(IDC_FONT_LIST, font);
    const std::size_t from = entry.find(' ') + 1;
    const std::string fontName = Lower(entry.substr(from, entry.find(' ', from) - from));
    const int height = std::atoi(fontName.substr(fontName.find('x') + 1).c_str());
    editor.Pick(IDC_FONT_LIST, font);
    for (const int list : {IDC_CHAR_LIST_FULL, IDC_CHAR_LIST_9X16, IDC_CHAR_LIST_9X14}) {
      if (!controls.IsVisible(list)) continue;
      for (int row = 0; row < controls.ListCount(list); ++row) {
        std::string code = Lower(controls.ListItemText(list, row));
        if (!code.empty() && code.back() == 'h') code.pop_back();
        if (code.size() < 2) code.insert(0, 2 - code.size(), '0');
        View view{fontName + "." + code, {{IDC_FONT_LIST, font}, {list, row}}, {}};
        for (int r = 0; r < height && r < 16; ++r)
          view.controls.push_back({std::to_string(r), IDC_GLYPH_ROW_FIRST + r});
        views.push_back(std::move(view));
      }
      break;
    }
  }
  return views;
}

// In the order `fields` lists them.
const Group kGroups[] = {
    {"signature", CPageSet::kRomSignature, SignatureViews}, {"sign-on", CPageSet::kSignOnString, SignOnViews},
    {"sub-vendor", CPageSet::kSubVendorId, SubVendorViews}, {"memory", CPageSet::kMemoryConfig, MemoryViews},
    {"modes", CPageSet::kParameterTable, ModeViews},        {"fonts", CPageSet::kFontImages, FontViews},
};

// Two rows that read alike (two extended modes of one number) keep apart by a count.
void NameApart(std::vector<View>& views) {
  std::map<std::string, int> seen;
  for (View& view : views) {
    const int n = ++seen[view.name];
    if (n == 1) continue;
    view.name += '-';
    view.name += std::to_string(n);
  }
}

std::string FullName(const Group& group, const View& view, const Control& control) {
  std::string name = group.prefix;
  if (!view.name.empty()) name += "." + view.name;
  if (!control.suffix.empty()) name += "." + control.suffix;
  return name;
}

std::string Joined(const std::vector<std::string>& messages) {
  std::string text;
  for (const std::string& m : messages) text += (text.empty() ? "" : " / ") + m;
  return text;
}

std::string Read(ui::HeadlessControls& controls, const Control& control) {
  if (control.kind == Kind::kCheck) return controls.IsChecked(control.id) ? "1" : "0";
  return controls.GetText(control.id);
}

bool IsHexNumber(const std::string& text, std::size_t digits) {
  return !text.empty() && text.size() <= digits && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
  });
}

// Two boxes that show bits of the same byte: typed together, the page would pick
// one of them, where one after the other the second wins.
bool Overlap(const std::optional<rom::ByteSpan>& a, const std::optional<rom::ByteSpan>& b) {
  if (!a || !b || (a->mask & b->mask) == 0) return false;
  return a->offset < b->offset + b->length && b->offset < a->offset + a->length;
}

}  // namespace

// The views of each group of fields as the editor shows them now, and every name.
struct CFieldCatalog::Index {
  std::array<std::vector<View>, std::size(kGroups)> views;
  std::array<bool, std::size(kGroups)> built{};
  // Name -> group, view, control; made for a group when a name of it is looked up.
  std::array<bool, std::size(kGroups)> named{};
  std::unordered_map<std::string, std::array<int, 3>> names;
};

struct CFieldCatalog::Field {
  int group = 0;
  int view = 0;
  const Control* control = nullptr;
  std::string name;
  int page() const { return kGroups[group].page; }
};

CFieldCatalog::CFieldCatalog() {
  Reset();
}

CFieldCatalog::~CFieldCatalog() = default;

void CFieldCatalog::Reset() {
  editor_ = std::make_unique<CHeadlessEditor>();
  index_ = std::make_unique<Index>();
  activation_ = {};
  activated_ = {};
  layout_ = rom::LayoutKey();
}

std::string CFieldCatalog::PageCaption(int page) {
  return editor_->pages().Page(page).Caption();
}

std::vector<std::string> CFieldCatalog::Activate(int page) {
  const auto slot = static_cast<std::size_t>(page);
  if (editor_->ActivePageIndex() != page) {
    const std::size_t mark = editor_->Mark();
    editor_->SetActivePage(page);
    // A page whose boxes fail their checks keeps the focus, as it does in the window.
    if (editor_->ActivePageIndex() != page) {
      throw CliError(kRefused, PageCaption(editor_->ActivePageIndex()) + ": " + Joined(editor_->MessagesSince(mark)));
    }
    if (!activated_[slot]) activation_[slot] = editor_->MessagesSince(mark);
    activated_[slot] = true;
  }
  return activation_[slot];
}

std::vector<std::string> CFieldCatalog::ShowView(int group, int view) {
  const std::vector<std::string> activation = Activate(kGroups[group].page);
  const View& shown = index_->views[static_cast<std::size_t>(group)][static_cast<std::size_t>(view)];
  if (shown.picks.empty()) return activation;
  const std::size_t mark = editor_->Mark();
  for (const Pick& pick : shown.picks) editor_->Pick(pick.listId, pick.row);
  return editor_->MessagesSince(mark);
}

const std::vector<View>& CFieldCatalog::Views(std::size_t g) {
  std::vector<View>& views = index_->views[g];
  if (index_->built[g]) return views;
  const Group& group = kGroups[g];
  Activate(group.page);
  views = group.views(*editor_);
  NameApart(views);
  index_->built[g] = true;
  return views;
}

// The group of fields a name belongs to, by its first part; -1 for none.
static int GroupOf(const std::string& name) {
  const std::string prefix = Lower(name.substr(0, name.find('.')));
  for (std::size_t g = 0; g < std::size(kGroups); ++g) {
    if (prefix == kGroups[g].prefix) return static_cast<int>(g);
  }
  return -1;
}

CFieldCatalog::Field CFieldCatalog::Find(const std::string& name) {
  const std::string wanted = Lower(name);
  if (const int g = GroupOf(name); g >= 0) {
    const auto slot = static_cast<std::size_t>(g);
    const std::vector<View>& views = Views(slot);
    if (!index_->named[slot]) {
      for (std::size_t v = 0; v < views.size(); ++v) {
        for (std::size_t c = 0; c < views[v].controls.size(); ++c) {
          index_->names.emplace(FullName(kGroups[slot], views[v], views[v].controls[c]),
                                std::array<int, 3>{g, static_cast<int>(v), static_cast<int>(c)});
        }
      }
      index_->named[slot] = true;
    }
    const auto found = index_->names.find(wanted);
    if (found != index_->names.end()) {
      const auto [fg, fv, fc] = found->second;
      const View& view = index_->views[static_cast<std::size_t>(fg)][static_cast<std::size_t>(fv)];
      return {fg, fv, &view.controls[static_cast<std::size_t>(fc)], wanted};
    }
  }
  throw CliError(kUsage, "there is no field " + name + " (ombrix fields IMAGE lists them)");
}

std::vector<FieldText> CFieldCatalog::List(const std::string& prefix, std::vector<std::string>& notes) {
  const std::string wanted = Lower(prefix);
  std::vector<FieldText> fields;
  std::set<std::string> noted;
  for (std::size_t g = 0; g < std::size(kGroups); ++g) {
    const Group& group = kGroups[g];
    const std::string groupName = group.prefix;
    if (wanted.compare(0, groupName.size(), groupName) != 0 && groupName.compare(0, wanted.size(), wanted) != 0) {
      continue;
    }
    const std::vector<View>& views = Views(g);
    const CShownBytes& shownBytes = editor_->pages().ShownBytesOf(group.page);
    for (std::size_t v = 0; v < views.size(); ++v) {
      const std::vector<std::string> messages = ShowView(static_cast<int>(g), static_cast<int>(v));
      for (const std::string& m : messages) {
        if (noted.insert(m).second) notes.push_back(PageCaption(group.page) + ": " + m);
      }
      if (!messages.empty()) continue;
      ui::HeadlessControls& controls = editor_->activeControls();
      for (const Control& control : views[v].controls) {
        if (!controls.IsVisible(control.id)) continue;
        std::string name = FullName(group, views[v], control);
        if (name.compare(0, wanted.size(), wanted) != 0) continue;
        fields.push_back({std::move(name), Read(controls, control), group.page, shownBytes.ShownBytes(control.id)});
      }
    }
  }
  return fields;
}

std::string CFieldCatalog::Get(const std::string& name) {
  const Field field = Find(name);
  const std::vector<std::string> messages = ShowView(field.group, field.view);
  if (!messages.empty()) throw CliError(kRefused, field.name + ": " + Joined(messages));
  ui::HeadlessControls& controls = editor_->activeControls();
  if (!controls.IsVisible(field.control->id)) throw CliError(kRefused, field.name + ": lies outside the image");
  return Read(controls, *field.control);
}

std::string CFieldCatalog::Check(const Field& field, const std::string& text) {
  const ui::HeadlessControls& controls = editor_->activeControls();
  const int limit = controls.state(field.control->id).limit;
  if (text.find('\0') != std::string::npos) return "a box's text ends at a 00 byte";
  switch (field.control->kind) {
    case Kind::kCheck:
      if (text != "0" && text != "1") return "a check box takes 0 or 1";
      return {};
    case Kind::kHex:
      if (limit > 0 && text.size() > static_cast<std::size_t>(limit)) break;
      if (limit > 0 && !IsHexNumber(text, static_cast<std::size_t>(limit))) {
        return "\"" + text + "\" is not a hexadecimal number of 1 to " + std::to_string(limit) + " digits";
      }
      return {};
    default: break;
  }
  // The box takes no more than its limit, as its window would.
  if (limit > 0 && text.size() > static_cast<std::size_t>(limit)) {
    return ui::FormatPrompt(ui::kPromptMaxChars, std::to_string(limit));
  }
  return {};
}

void CFieldCatalog::Type(const Field& field, const std::string& text) {
  ui::HeadlessControls& controls = editor_->activeControls();
  if (field.control->kind == Kind::kCheck) {
    controls.SetChecked(field.control->id, text == "1");
  } else {
    controls.Type(field.control->id, text);
  }
}

void CFieldCatalog::ApplyPage(const std::string& name) {
  const std::size_t mark = editor_->Mark();
  editor_->Apply();
  const std::vector<std::string> refused = editor_->MessagesSince(mark);
  if (!refused.empty()) throw CliError(kRefused, name + ": " + Joined(refused));
}

void CFieldCatalog::Set(const std::string& name, const std::string& text) {
  SetAll({{name, text}});
}

void CFieldCatalog::SetOne(const Assignment& assignment) {
  if (rom::LayoutKey() != layout_) Reset();
  const Field field = Find(assignment.name);
  const std::vector<std::string> shown = ShowView(field.group, field.view);
  if (!shown.empty()) throw CliError(kRefused, field.name + ": " + Joined(shown));
  if (!editor_->activeControls().IsVisible(field.control->id)) {
    throw CliError(kRefused, field.name + ": lies outside the image");
  }
  if (const std::string problem = Check(field, assignment.text); !problem.empty()) {
    throw CliError(kRefused, field.name + ": " + problem);
  }
  Type(field, assignment.text);
  ApplyPage(field.name);
}

void CFieldCatalog::TypeAndApply(const std::vector<Assignment>& batch) {
  const std::string before = layout_;
  if (batch.size() == 1) {
    Type(Find(batch.front().name), batch.front().text);
    return ApplyPage(Lower(batch.front().name));
  }
  const std::vector<std::uint8_t> image(rom::RomImage.data(), rom::RomImage.data() + rom::kRomSize);
  bool same = false;
  try {
    for (const Assignment& a : batch) Type(Find(a.name), a.text);
    ApplyPage(Lower(batch.front().name));
    same = rom::LayoutKey() == before;
  } catch (const CliError&) {
    // Which assignment was refused, and its own message, come from going one at a time.
  }
  if (same) return;
  // An assignment of the batch moved what the ones after it write to, or one was refused.
  rom::RomImage.Assign(image.data(), rom::kRomSize);
  Reset();
  for (const Assignment& a : batch) SetOne(a);
}

void CFieldCatalog::SetAll(const std::vector<Assignment>& assignments) {
  std::size_t i = 0;
  while (i < assignments.size()) {
    if (rom::LayoutKey() != layout_) Reset();
    // A batch: the assignments after the first that go to other boxes of the same list selection
    // of the same page, each of them to bits of the image that no other one of them shows.
    std::vector<Assignment> batch = {assignments[i]};
    bool ready = false;
    try {
      const Field first = Find(assignments[i].name);
      const CShownBytes& shownBytes = editor_->pages().ShownBytesOf(first.page());
      ui::HeadlessControls& controls = editor_->activeControls();
      std::vector<int> ids = {first.control->id};
      std::vector<std::optional<rom::ByteSpan>> spans;
      if (ShowView(first.group, first.view).empty() && editor_->activeControls().IsVisible(first.control->id) &&
          Check(first, assignments[i].text).empty()) {
        ready = true;
        spans.push_back(shownBytes.ShownBytes(first.control->id));
      }
      for (std::size_t j = i + 1; ready && spans.front() && j < assignments.size(); ++j) {
        // Another page's field would have its page shown.
        if (GroupOf(assignments[j].name) != first.group) break;
        const Field next = Find(assignments[j].name);
        const int id = next.control->id;
        const std::optional<rom::ByteSpan> span = shownBytes.ShownBytes(id);
        if (next.group != first.group || next.view != first.view || !span ||
            std::find(ids.begin(), ids.end(), id) != ids.end() ||
            std::any_of(spans.begin(), spans.end(), [&](const auto& s) { return Overlap(s, span); }) ||
            !controls.IsVisible(id) || !Check(next, assignments[j].text).empty()) {
          break;
        }
        ids.push_back(id);
        spans.push_back(span);
        batch.push_back(assignments[j]);
      }
    } catch (const CliError&) {
      // Said when its turn comes, after the ones before it.
    }
    if (ready) {
      TypeAndApply(batch);
    } else {
      SetOne(assignments[i]);
    }
    i += batch.size();
  }
}

}  // namespace cli
