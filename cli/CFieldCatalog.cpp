#include "cli/CFieldCatalog.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "cli/ExitStatus.h"
#include "res/resource.h"
#include "rom/ValueText.h"
#include "ui/DataExchange.h"
#include "ui/StandardPrompts.h"

namespace cli {
namespace {

// An entry chosen in a list, and the list closed on it.
struct Pick {
  int listId;
  int row;
};
struct Control {
  std::string suffix;
  int id;
  bool check = false;
};
// What one selection of a page's lists shows: its boxes.
struct View {
  std::string name;
  std::vector<Pick> picks;
  std::vector<Control> controls;
};
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

std::string Hex(int value) { return Lower(rom::HexText(static_cast<std::uint32_t>(value), 1)); }

std::vector<View> SignatureViews(CHeadlessEditor&) {
  View view;
  for (int k = 1; k <= 16; ++k) view.controls.push_back({std::to_string(k), IDC_SIGNATURE_ASCII_FIRST + k - 1});
  for (int k = 1; k <= 16; ++k) view.controls.push_back({std::to_string(k) + ".hex", IDC_SIGNATURE_HEX_FIRST + k - 1});
  return {view};
}

std::vector<View> SignOnViews(CHeadlessEditor&) { return {{"", {}, {{"text", IDC_SIGN_ON_TEXT}}}}; }

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
  static const char* const kLabels[] = {"PCIInit0",  "MiscInit0", "MiscInit1", "DRAMInit0", "DRAMInit1",
                                        "AGPInit0",  "PLLCtrl1",  "PLLCtrl2",  "SGRAMMode"};
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
  controls.insert(controls.end(), {{"pixel-format", IDC_PIXEL_FORMAT},
                                   {"param-index", IDC_PARAM_INDEX},
                                   {"clock-word", IDC_CLOCK_WORD},
                                   {"crtc-1b", IDC_CRTC_1B},
                                   {"native", IDC_NATIVE_MODE, true},
                                   {"interlace", IDC_INTERLACE, true},
                                   {"double-scan", IDC_NATIVE_DOUBLE_SCAN, true}});
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
        for (int r = 0; r < height && r < 16; ++r) view.controls.push_back({std::to_string(r), IDC_GLYPH_ROW_FIRST + r});
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
  if (control.check) return controls.IsChecked(control.id) ? "1" : "0";
  return controls.GetText(control.id);
}

}  // namespace

struct CFieldCatalog::Located {
  const Group* group = nullptr;
  View view;
  Control control;
  std::string name;
};

std::vector<std::string> CFieldCatalog::Activate(int page) {
  if (editor_.ActivePageIndex() != page) {
    const std::size_t mark = editor_.Mark();
    editor_.SetActivePage(page);
    // A page whose boxes fail their checks keeps the focus, as it does in the window.
    if (editor_.ActivePageIndex() != page) {
      throw CliError(kRefused, PageCaption(editor_.ActivePageIndex()) + ": " + Joined(editor_.MessagesSince(mark)));
    }
    if (!activated_[page]) activation_[page] = editor_.MessagesSince(mark);
    activated_[page] = true;
  }
  return activation_[page];
}

std::vector<std::string> CFieldCatalog::ShowView(const Located& field) {
  if (field.view.picks.empty()) return activation_[field.group->page];
  const std::size_t mark = editor_.Mark();
  for (const Pick& pick : field.view.picks) editor_.Pick(pick.listId, pick.row);
  return editor_.MessagesSince(mark);
}

CFieldCatalog::Located CFieldCatalog::Find(const std::string& name) {
  const std::string wanted = Lower(name);
  const std::string prefix = wanted.substr(0, wanted.find('.'));
  for (const Group& group : kGroups) {
    if (prefix != group.prefix) continue;
    Activate(group.page);
    std::vector<View> views = group.views(editor_);
    NameApart(views);
    for (const View& view : views) {
      for (const Control& control : view.controls) {
        if (FullName(group, view, control) == wanted) return {&group, view, control, wanted};
      }
    }
  }
  throw CliError(kUsage, "there is no field " + name + " (ombrix fields IMAGE lists them)");
}

std::vector<FieldText> CFieldCatalog::List(const std::string& prefix, std::vector<std::string>& notes) {
  const std::string wanted = Lower(prefix);
  std::vector<FieldText> fields;
  std::set<std::string> noted;
  for (const Group& group : kGroups) {
    const std::string groupName = group.prefix;
    if (wanted.compare(0, groupName.size(), groupName) != 0 && groupName.compare(0, wanted.size(), wanted) != 0) {
      continue;
    }
    Activate(group.page);
    std::vector<View> views = group.views(editor_);
    NameApart(views);
    for (const View& view : views) {
      const Located shown{&group, view, {}, {}};
      const std::vector<std::string> messages = ShowView(shown);
      for (const std::string& m : messages) {
        if (noted.insert(m).second) notes.push_back(PageCaption(group.page) + ": " + m);
      }
      if (!messages.empty()) continue;
      ui::HeadlessControls& controls = editor_.activeControls();
      for (const Control& control : view.controls) {
        if (!controls.IsVisible(control.id)) continue;
        std::string name = FullName(group, view, control);
        if (name.compare(0, wanted.size(), wanted) != 0) continue;
        fields.push_back({std::move(name), Read(controls, control), group.page});
      }
    }
  }
  return fields;
}

std::string CFieldCatalog::Get(const std::string& name) {
  const Located field = Find(name);
  const std::vector<std::string> messages = ShowView(field);
  if (!messages.empty()) throw CliError(kRefused, field.name + ": " + Joined(messages));
  ui::HeadlessControls& controls = editor_.activeControls();
  if (!controls.IsVisible(field.control.id)) throw CliError(kRefused, field.name + ": lies outside the image");
  return Read(controls, field.control);
}

void CFieldCatalog::Set(const std::string& name, const std::string& text) {
  const Located field = Find(name);
  const std::vector<std::string> shown = ShowView(field);
  if (!shown.empty()) throw CliError(kRefused, field.name + ": " + Joined(shown));
  ui::HeadlessControls& controls = editor_.activeControls();
  const int id = field.control.id;
  if (!controls.IsVisible(id)) throw CliError(kRefused, field.name + ": lies outside the image");
  if (field.control.check) {
    if (text != "0" && text != "1") throw CliError(kRefused, field.name + ": a check box takes 0 or 1");
    controls.SetChecked(id, text == "1");
  } else {
    // The box takes no more than its limit, as its window would.
    const int limit = controls.state(id).limit;
    if (limit > 0 && text.size() > static_cast<std::size_t>(limit)) {
      throw CliError(kRefused, field.name + ": " + ui::FormatPrompt(ui::kPromptMaxChars, std::to_string(limit)));
    }
    controls.Type(id, text);
  }
  const std::size_t mark = editor_.Mark();
  editor_.Apply();
  const std::vector<std::string> refused = editor_.MessagesSince(mark);
  if (!refused.empty()) throw CliError(kRefused, field.name + ": " + Joined(refused));
}

}  // namespace cli
