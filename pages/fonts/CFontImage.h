#pragma once
// The Font Images page: one glyph of one of the five fonts, as row bytes and as a pixel grid.

#include <array>
#include <cstdint>
#include <string>

#include "pages/ShownBytes.h"
#include "ui/PropertyPage.h"

class CFontImage : public ui::PropertyPage, public CShownBytes {
 public:
  static constexpr int kRows = 16;
  static constexpr int kColumns = 9;

  CFontImage();

  void LoadFromImage() override;
  void StoreToImage() override;
  void OnListCloseUp(int listId) override;
  std::optional<rom::ByteSpan> ShownBytes(int controlId) const override;

 protected:
  void ExchangeFields(ui::DataExchange& dx) override;
  void InitControls() override;

 private:
  // The glyph whose rows the boxes show: Apply writes there and nowhere else,
  // whatever the lists have been turned to since.
  struct ShownGlyph {
    bool valid = false;
    unsigned generation = 0;
    std::uint32_t firstRow = 0;
    int height = 0;
    std::array<bool, kRows> rowInImage{};
  };

  void LocateFont();
  void FillCharLists();
  void DrawGlyphGrid();
  // Where the rows of entry `s` of the character list in use begin; false when
  // the entry names no glyph of the current image.
  bool GlyphPosition(int s, std::uint32_t& firstRow, int& code) const;
  // Shows or hides a control of the glyph, skipping calls that change nothing.
  void SetShown(int id, bool visible);

  std::array<std::string, kRows> m_strRow;
  int m_nWidth = 9;
  int m_nHeight = 16;
  int m_nCharListId = 219;
  int m_bRowsBound = 0;
  int m_bListsFilled = 0;
  std::string m_strFontName = "Font 8x8";

  // The position F of the selected font, as LocateFont found it.
  std::uint32_t fontCursor = 0;
  // Why LocateFont could not find the font word; empty when it could.
  std::string m_locateError;
  unsigned m_listsGeneration = 0;
  ShownGlyph m_shown;
  std::array<std::uint8_t, kRows> m_rowByte{};
  int m_glyphCode = 0;
  // What the page last made of each row box and grid cell: -1 unknown, 0 hidden, 1 shown.
  std::array<signed char, kRows + kRows * kColumns> m_knownShown{};
};
