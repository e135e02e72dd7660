#include "pages/fonts/CFontImage.h"

#include "res/resource.h"
#include "rom/FontLayout.h"
#include "rom/RomImage.h"
#include "rom/RomLayout.h"
#include "rom/ValueText.h"

namespace {

// One entry of the font list: the font it shows and its character list.
struct FontEntry {
  const char* name;
  const rom::FontKind& kind;
  int charListId;
};

// In the order of the font list's entries.
const FontEntry kFonts[] = {
    {"Font 8x8", rom::kFontKinds[0], IDC_CHAR_LIST_FULL},
    {"Font 8x14", rom::kFontKinds[1], IDC_CHAR_LIST_FULL},
    {"Font 8x16", rom::kFontKinds[2], IDC_CHAR_LIST_FULL},
    {"Font 9x14 Fix-up Table", rom::kFontKinds[3], IDC_CHAR_LIST_9X14},
    {"Font 9x16 Fix-up Table", rom::kFontKinds[4], IDC_CHAR_LIST_9X16},
};

constexpr int kCharLists[] = {IDC_CHAR_LIST_FULL, IDC_CHAR_LIST_9X16, IDC_CHAR_LIST_9X14};
using rom::kFullFontGlyphs;

int CellId(int row, int column) {
  return IDC_GRID_CELL_FIRST + CFontImage::kColumns * row + column;
}

bool InImage(std::uint32_t position) {
  return rom::ImageBuffer::Contains(position, 1);
}

// Rebuilds a list, keeping the entry that was selected when the new list still has it.
template <typename Fill>
void RebuildList(ui::Controls& controls, int id, Fill fill) {
  const int selected = controls.ListSelection(id);
  controls.ListClear(id);
  fill();
  controls.ListSelect(id, selected > 0 && selected < controls.ListCount(id) ? selected : 0);
}

}  // namespace

CFontImage::CFontImage() : ui::PropertyPage(IDD_FONT_IMAGES, "Font Images") {}

void CFontImage::InitControls() {
  controls().ListClear(IDC_FONT_LIST);
  for (const FontEntry& font : kFonts) controls().ListAppend(IDC_FONT_LIST, font.name);
  // A new dialog has empty character lists and controls in the template's state.
  m_bListsFilled = 0;
  m_knownShown.fill(-1);
}

void CFontImage::ExchangeFields(ui::DataExchange& dx) {
  dx.ListString(IDC_FONT_LIST, m_strFontName);
  if (m_bRowsBound == 0) return;
  for (int i = 0; i < kRows; ++i) dx.Text(IDC_GLYPH_ROW_FIRST + i, m_strRow[static_cast<std::size_t>(i)], 2);
}

void CFontImage::OnListCloseUp(int listId) {
  switch (listId) {
    case IDC_FONT_LIST:
    case IDC_CHAR_LIST_FULL:
    case IDC_CHAR_LIST_9X16:
    case IDC_CHAR_LIST_9X14: RefreshFromImage(); break;
    default: break;
  }
}

void CFontImage::LocateFont() {
  for (const FontEntry& font : kFonts) {
    if (m_strFontName != font.name) continue;
    m_nWidth = font.kind.width;
    m_nHeight = font.kind.height;
    m_nCharListId = font.charListId;
    for (int id : kCharLists) controls().Show(id, id == m_nCharListId);
    m_locateError.clear();
    if (!rom::FontWord(font.kind.entry, fontCursor, m_locateError)) fontCursor = 0;
    return;
  }
}

void CFontImage::FillCharLists() {
  RebuildList(controls(), IDC_CHAR_LIST_FULL, [this] {
    for (int code = 0; code < kFullFontGlyphs; ++code) {
      controls().ListAppend(IDC_CHAR_LIST_FULL, rom::HexText(static_cast<std::uint32_t>(code), 1) + "h");
    }
  });
  // Built from the image on show, so that each entry names a record of its table.
  for (const FontEntry& font : kFonts) {
    if (font.charListId == IDC_CHAR_LIST_FULL) continue;
    RebuildList(controls(), font.charListId, [&] {
      std::uint32_t table = 0;
      std::string error;
      if (!rom::FontWord(font.kind.entry, table, error)) return;
      rom::ScanFixups(table, font.kind.height, [&](std::uint32_t, std::uint32_t, std::uint8_t code) {
        controls().ListAppend(font.charListId, rom::HexText(code, 2) + "h");
        return true;
      });
    });
  }
  m_bListsFilled = 1;
  m_listsGeneration = rom::imageGeneration;
}

bool CFontImage::GlyphPosition(int s, std::uint32_t& firstRow, int& code) const {
  if (s < 0) return false;
  const std::uint32_t index = static_cast<std::uint32_t>(s);
  if (m_nCharListId == IDC_CHAR_LIST_FULL) {
    if (s >= kFullFontGlyphs) return false;
    firstRow = fontCursor + index * static_cast<std::uint32_t>(m_nHeight);
    code = s;
    return true;
  }
  // The entry must still name a record before the table's end in this image.
  bool found = false;
  rom::ScanFixups(fontCursor, m_nHeight, [&](std::uint32_t k, std::uint32_t record, std::uint8_t recordCode) {
    if (k < index) return true;
    firstRow = record + 1;
    code = recordCode;
    found = true;
    return false;
  });
  return found;
}

void CFontImage::LoadFromImage() {
  {
    // The cells of the new glyph appear together, in one repaint.
    ui::UpdateBatch batch(controls());
    if (m_bListsFilled == 0 || m_listsGeneration != rom::imageGeneration) FillCharLists();
    m_bRowsBound = 0;
    UpdateData(true);
    if (m_strFontName.empty()) {
      m_shown = ShownGlyph{};
      return;
    }
    LocateFont();
    for (std::string& row : m_strRow) row.clear();
    m_rowByte.fill(0);
    m_shown = ShownGlyph{};
    const int selected = controls().ListSelection(m_nCharListId);
    std::uint32_t firstRow = 0;
    if (m_locateError.empty() && GlyphPosition(selected < 0 ? 0 : selected, firstRow, m_glyphCode)) {
      m_shown.valid = true;
      m_shown.generation = rom::imageGeneration;
      m_shown.firstRow = firstRow;
      m_shown.height = m_nHeight;
      for (std::size_t i = 0; i < static_cast<std::size_t>(m_nHeight); ++i) {
        const std::uint32_t position = firstRow + static_cast<std::uint32_t>(i);
        if (!InImage(position)) continue;
        m_shown.rowInImage[i] = true;
        m_rowByte[i] = rom::RomImage.Byte(position);
        m_strRow[i] = rom::HexText(m_rowByte[i], 2);
      }
    }
    m_bRowsBound = 1;
    UpdateData(false);
    DrawGlyphGrid();
  }
  if (!m_locateError.empty()) ShowError(m_locateError);
}

void CFontImage::StoreToImage() {
  UpdateData(true);
  if (m_strFontName.empty()) return;
  // Only where the rows on show came from; a glyph read from an earlier image is not written.
  if (m_bRowsBound == 0 || !m_shown.valid || m_shown.generation != rom::imageGeneration) return;
  for (std::size_t i = 0; i < static_cast<std::size_t>(m_shown.height); ++i) {
    if (!m_shown.rowInImage[i]) continue;
    const std::uint16_t value = rom::HexTextToWord(m_strRow[i]);
    rom::RomImage.SetByte(m_shown.firstRow + static_cast<std::uint32_t>(i), static_cast<std::uint8_t>(value & 0xFF));
  }
}

void CFontImage::DrawGlyphGrid() {
  // A byte holds eight dots. For the ninth we do what a VGA does in 9-dot
  // character cells with line graphics enabled: codes C0h..DFh (the box
  // drawing characters) repeat their eighth dot so that lines join across
  // cells; every other code leaves the ninth dot blank.
  const bool repeatsEighthDot = m_nWidth == 9 && m_glyphCode >= 0xC0 && m_glyphCode <= 0xDF;
  for (int r = 0; r < kRows; ++r) {
    const std::size_t row = static_cast<std::size_t>(r);
    const bool shown = m_shown.valid && r < m_nHeight && m_shown.rowInImage[row];
    const std::uint8_t b = shown ? m_rowByte[row] : 0;
    SetShown(IDC_GLYPH_ROW_FIRST + r, shown);
    for (int c = 0; c < 8; ++c) SetShown(CellId(r, c), ((b >> (7 - c)) & 1) != 0);
    SetShown(CellId(r, 8), repeatsEighthDot && (b & 1) != 0);
  }
}

void CFontImage::SetShown(int id, bool visible) {
  std::size_t slot = m_knownShown.size();
  if (id >= IDC_GLYPH_ROW_FIRST && id < IDC_GLYPH_ROW_FIRST + kRows) {
    slot = static_cast<std::size_t>(id - IDC_GLYPH_ROW_FIRST);
  } else if (id >= IDC_GRID_CELL_FIRST && id < IDC_GRID_CELL_FIRST + kRows * kColumns) {
    slot = static_cast<std::size_t>(kRows + id - IDC_GRID_CELL_FIRST);
  }
  const signed char wanted = visible ? 1 : 0;
  if (slot < m_knownShown.size()) {
    if (m_knownShown[slot] == wanted) return;
    m_knownShown[slot] = wanted;
  }
  controls().Show(id, visible);
}

std::optional<rom::ByteSpan> CFontImage::ShownBytes(int controlId) const {
  const int row = controlId - IDC_GLYPH_ROW_FIRST;
  if (!m_shown.valid || row < 0 || row >= m_shown.height || !m_shown.rowInImage[static_cast<std::size_t>(row)]) {
    return std::nullopt;
  }
  return rom::ByteSpan{m_shown.firstRow + static_cast<std::uint32_t>(row), 1};
}
