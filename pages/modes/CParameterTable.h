#pragma once
// The Parameter Table page: the VGA parameter record and the extended register
// record of each video mode, standard or extended.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pages/ShownBytes.h"
#include "pages/modes/CModeRowMaps.h"
#include "rom/RomLayout.h"
#include "ui/PropertyPage.h"

class CParameterTable : public ui::PropertyPage, public CShownBytes {
 public:
  CParameterTable();

  void LoadFromImage() override;
  void StoreToImage() override;
  void OnListCloseUp(int listId) override;
  std::optional<rom::ByteSpan> ShownBytes(int controlId) const override;

  // 64 x the record index of a standard mode's row text (exact, case significant), or 0xFFFF.
  static std::uint16_t FindStdModeOffset(const std::string& text);

  // The row maps of the image the list was built from.
  const CModeRowMaps& rowMaps() const { return m_rowMaps; }

 protected:
  void ExchangeFields(ui::DataExchange& dx) override;
  void InitControls() override;
  // Unlike the other pages, this one never starts the Open command on activation.
  void OnPageActivate() override;

 private:
  void OnModeCloseUp();
  void LoadRecords();
  // Keeps a problem of the load under way for its end, once whatever how many steps meet it.
  void Report(const std::string& problem);
  void ExchangeModeList(ui::DataExchange& dx);

  // The extended modes.
  void init_exmode_listbox();
  int ResolveParamIndex(std::uint8_t modeIndex) const;
  int JumpnEXMode();
  void LoadExRegFields();
  void StoreExRegFields();

  void AppendExRows(const std::vector<std::uint32_t>& records, std::uint32_t listOffset,
                    std::vector<std::string>& problems);
  void AppendStdRows();
  void ReselectRow(int previousRow, const std::string& previousText);
  void ForgetShownMode();
  rom::Located LocateParameterRecord(std::uint16_t offset) const;
  rom::Located LocateExRegRecord(int modeIndex) const;

  std::array<std::string, 63> m_strValue;
  // Byte offset of the shown record in the VideoParameterTable; none until a load showed one.
  std::optional<std::uint16_t> m_wRecordOffset;
  // Where in the image that record was read. Apply's own writes can move the table's pointer,
  // and a reload that fails keeps the values on show: they are never written anywhere else.
  std::uint32_t m_nRecordPosition = 0;
  int m_nExRegTable = -1;
  bool m_bExListBuilt = false;
  bool m_bExFieldsValid = false;
  std::string m_strMode = "Mode 0 - 40x25 Color Text (8x8 Cell)";
  int m_nPixelFormat = 0;
  std::string m_strParamIndex;
  std::string m_strClockWord;
  std::string m_strCrtc1B;

  // The row read with m_strMode: a load keeps this row even when another row has the same text.
  int m_nSelectedRow = 0;
  // The mode whose ExRegRecord the group shows: Apply writes the group there and nowhere else.
  int m_nShownModeIndex = -1;
  // The image the list, the maps and m_nExRegTable were built from.
  unsigned m_nListGeneration = 0;
  // Why there is no ExRegTable, when the chain to it is broken.
  std::string m_strExTableError;
  CModeRowMaps m_rowMaps;
  // What the load under way could not reach, shown when it ends.
  std::vector<std::string> m_problems;
};
