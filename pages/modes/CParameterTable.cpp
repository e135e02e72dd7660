#include "pages/modes/CParameterTable.h"

#include <algorithm>

#include "pages/modes/CExModeList.h"
#include "pages/modes/ModeNames.h"
#include "res/resource.h"
#include "rom/RomImage.h"
#include "rom/ValueText.h"

namespace {

using rom::kParameterRecordSize;
constexpr std::uint16_t kNoStdMode = 0xFFFF;
constexpr int kMaxPixelFormat = 7;
// The bits of the flags byte that each control of the group shows.
constexpr std::uint8_t kNativeBit = 0x01;
constexpr std::uint8_t kInterlaceBit = 0x02;
constexpr std::uint8_t kDoubleScanBit = 0x04;
constexpr int kPixelFormatShift = 3;
constexpr std::uint8_t kPixelFormatBits = 0x38;
constexpr const char* kInitExModeError = "Error in CParameterTable::init_exmode_listbox()";
constexpr const char* kJumpExModeError = "Error occur in CParameterTable::JumpnEXMode()";

std::string& ValueOf(std::array<std::string, 63>& values, int id) {
  return values[static_cast<std::size_t>(id - IDC_PARAM_FIRST)];
}

rom::Located Refused(const std::string& error) {
  rom::Located none;
  none.error = error;
  return none;
}

// Where the value of box `id` lies in its parameter record; the regen length box holds a word.
rom::ByteSpan RecordBytesOf(int id) {
  const auto index = static_cast<std::uint32_t>(id - IDC_PARAM_FIRST);
  if (id < IDC_PARAM_REGEN_LENGTH) return {index, 1};
  if (id == IDC_PARAM_REGEN_LENGTH) return {index, 2};
  return {index + 1, 1};
}

}  // namespace

CParameterTable::CParameterTable() : ui::PropertyPage(IDD_PARAMETER_TABLE, "Parameter Table") {}

void CParameterTable::InitControls() {
  controls().ListClear(IDC_MODE_LIST);
  AppendStdRows();
  // A new list has only the standard rows; the next load appends the extended ones.
  m_bExListBuilt = false;
}

void CParameterTable::AppendStdRows() {
  for (const int record : kStdRowModeIndex) {
    controls().ListAppend(IDC_MODE_LIST, StdModeNames[static_cast<std::size_t>(record)]);
  }
}

void CParameterTable::ExchangeModeList(ui::DataExchange& dx) {
  if (dx.Storing()) {
    dx.ListString(IDC_MODE_LIST, m_strMode);
    m_nSelectedRow = controls().ListSelection(IDC_MODE_LIST);
    return;
  }
  // The row goes back by its index, not by its text: two extended rows may read alike.
  if (m_nSelectedRow >= 0 && m_nSelectedRow < controls().ListCount(IDC_MODE_LIST) &&
      controls().ListItemText(IDC_MODE_LIST, m_nSelectedRow) == m_strMode) {
    controls().ListSelect(IDC_MODE_LIST, m_nSelectedRow);
    return;
  }
  dx.ListString(IDC_MODE_LIST, m_strMode);
  m_nSelectedRow = controls().ListSelection(IDC_MODE_LIST);
}

void CParameterTable::ExchangeFields(ui::DataExchange& dx) {
  ExchangeModeList(dx);
  if (!m_bExFieldsValid) return;
  dx.BoundedInt(IDC_PIXEL_FORMAT, m_nPixelFormat, 0, kMaxPixelFormat);
  dx.Text(IDC_PARAM_INDEX, m_strParamIndex, 2);
  dx.Text(IDC_CLOCK_WORD, m_strClockWord, 4);
  dx.Text(IDC_CRTC_1B, m_strCrtc1B, 2);
  for (int id = IDC_PARAM_FIRST; id <= IDC_PARAM_LAST; ++id) {
    dx.Text(id, ValueOf(m_strValue, id), id == IDC_PARAM_REGEN_LENGTH ? 4 : 2);
  }
}

std::uint16_t CParameterTable::FindStdModeOffset(const std::string& text) {
  for (std::size_t i = 0; i < StdModeNames.size(); ++i) {
    if (text == StdModeNames[i]) return static_cast<std::uint16_t>(kParameterRecordSize * i);
  }
  return kNoStdMode;
}

rom::Located CParameterTable::LocateParameterRecord(std::uint16_t offset) const {
  return rom::ParameterRecord(static_cast<int>(offset / kParameterRecordSize));
}

rom::Located CParameterTable::LocateExRegRecord(int modeIndex) const {
  if (m_nExRegTable < 0) {
    return Refused(m_strExTableError.empty() ? "The extended register table has not been found." : m_strExTableError);
  }
  if (modeIndex < 0) return Refused("The selected row has no extended register record.");
  return rom::ExRegRecord(static_cast<std::uint32_t>(m_nExRegTable), modeIndex);
}

void CParameterTable::LoadFromImage() {
  if (!ImageLoaded()) return;
  UpdateData(true);
  if (m_strMode.empty()) return;
  LoadRecords();
  // The list and both records may meet the same damaged structure: it is reported once.
  std::vector<std::string> problems;
  problems.swap(m_problems);
  for (const std::string& problem : problems) ShowError(problem);
}

void CParameterTable::Report(const std::string& problem) {
  if (std::find(m_problems.begin(), m_problems.end(), problem) == m_problems.end()) m_problems.push_back(problem);
}

void CParameterTable::LoadRecords() {
  // Another image has been opened since the list was built: its tables replace the old ones.
  if (!m_bExListBuilt || m_nListGeneration != rom::imageGeneration) init_exmode_listbox();

  std::uint16_t offset = FindStdModeOffset(m_strMode);
  if (offset == kNoStdMode) {
    const int exOffset = JumpnEXMode();
    if (exOffset < 0) return;
    offset = static_cast<std::uint16_t>(exOffset);
  }
  // Both records are checked before anything of either is shown.
  const rom::Located record = LocateParameterRecord(offset);
  if (!record) {
    Report(record.error);
    return;
  }
  const rom::Located exReg = LocateExRegRecord(m_rowMaps.ModeIndexOfRow(m_nSelectedRow));
  if (!exReg) {
    Report(exReg.error);
    return;
  }

  m_wRecordOffset = offset;
  m_nRecordPosition = record.offset;
  std::uint32_t p = record.offset;
  for (int id = IDC_PARAM_FIRST; id <= IDC_PARAM_LAST; ++id) {
    if (id == IDC_PARAM_REGEN_LENGTH) {
      ValueOf(m_strValue, id) = rom::HexText(rom::ReadWordLE(p, p + 1), 4);
      p += 2;
    } else {
      ValueOf(m_strValue, id) = rom::HexText(rom::RomImage.Byte(p), 2);
      p += 1;
    }
  }
  LoadExRegFields();
  UpdateData(false);
}

void CParameterTable::StoreToImage() {
  // Values shown from an earlier image are never written into this one.
  if (!ImageLoaded() || !m_wRecordOffset || m_nListGeneration != rom::imageGeneration) return;
  UpdateData(true);
  if (m_strMode.empty()) return;

  // The record the last load showed, whatever row the list shows now.
  const rom::Located record = LocateParameterRecord(*m_wRecordOffset);
  if (!record) {
    ShowError(record.error);
    return;
  }
  if (record.offset != m_nRecordPosition) {
    ShowError("The video parameter record " + std::to_string(*m_wRecordOffset / kParameterRecordSize) +
              " now lies at offset " + rom::HexText(record.offset, 4) +
              "h, but the values on show were read at offset " + rom::HexText(m_nRecordPosition, 4) +
              "h. Nothing was written: show the mode again before editing it.");
    return;
  }
  std::uint32_t p = record.offset;
  for (int id = IDC_PARAM_FIRST; id <= IDC_PARAM_LAST; ++id) {
    const std::uint16_t v = rom::HexTextToWord(ValueOf(m_strValue, id));
    if (id == IDC_PARAM_REGEN_LENGTH) {
      rom::RomImage.SetWord(p, v);
      p += 2;
    } else {
      rom::RomImage.SetByte(p, static_cast<std::uint8_t>(v & 0xFF));
      p += 1;
    }
  }
  StoreExRegFields();
}

void CParameterTable::OnPageActivate() {
  if (ImageLoaded()) LoadFromImage();
}

void CParameterTable::OnListCloseUp(int listId) {
  if (listId == IDC_MODE_LIST) OnModeCloseUp();
}

void CParameterTable::OnModeCloseUp() {
  RefreshFromImage();
}

void CParameterTable::ForgetShownMode() {
  m_wRecordOffset.reset();
  m_nShownModeIndex = -1;
  m_bExFieldsValid = false;
  for (std::string& value : m_strValue) value.clear();
  m_nPixelFormat = 0;
  m_strParamIndex.clear();
  m_strClockWord.clear();
  m_strCrtc1B.clear();
  ui::UpdateBatch batch(controls());
  for (int id = IDC_PARAM_FIRST; id <= IDC_CRTC_1B; ++id) controls().SetText(id, {});
  for (const int id : {IDC_NATIVE_MODE, IDC_INTERLACE, IDC_NATIVE_DOUBLE_SCAN}) controls().SetChecked(id, false);
}

void CParameterTable::init_exmode_listbox() {
  const int previousRow = m_nSelectedRow;
  const std::string previousText = m_strMode;
  ForgetShownMode();
  m_rowMaps.Reset();
  m_nExRegTable = -1;
  m_strExTableError.clear();
  m_bExListBuilt = true;
  m_nListGeneration = rom::imageGeneration;

  // The messages wait until the list is complete.
  std::vector<std::string>& problems = m_problems;
  {
    ui::UpdateBatch batch(controls());
    controls().ListClear(IDC_MODE_LIST);
    AppendStdRows();
    CExModeList list;
    std::vector<std::uint32_t> records;
    if (!list.Locate()) {
      m_strExTableError = list.error();
      problems.push_back(list.error());
    } else {
      m_nExRegTable = static_cast<int>(list.exRegTable());
      if (list.Scan(records)) {
        AppendExRows(records, list.exModeList(), problems);
      } else {
        problems.push_back(list.error());
      }
    }
    ReselectRow(previousRow, previousText);
  }
}

void CParameterTable::AppendExRows(const std::vector<std::uint32_t>& records, std::uint32_t listOffset,
                                   std::vector<std::string>& problems) {
  const std::size_t listed = std::min<std::size_t>(records.size(), CModeRowMaps::kMaxExRows);
  for (std::size_t i = 0; i < listed; ++i) {
    const std::uint32_t p = records[i];
    const std::uint8_t modeIndex = CExModeList::ModeIndex(p);
    int paramIndex = 0;
    const rom::Located exReg = LocateExRegRecord(modeIndex);
    if (!exReg) {
      problems.push_back(exReg.error);
    } else {
      paramIndex = ResolveParamIndex(modeIndex);
      if (paramIndex == 0) problems.push_back(kInitExModeError);
    }
    const int model = CExModeList::MemoryModel(p);
    if (model >= CExModeList::kMemoryModelCount) {
      problems.push_back("The extended mode record at offset " + rom::HexText(p, 4) + "h has memory model " +
                         std::to_string(model) + "; only 0 to 10 are known.");
    }
    m_rowMaps.AppendExRow(modeIndex, paramIndex);
    controls().ListAppend(IDC_MODE_LIST, CExModeList::RowText(p));
  }
  if (records.size() > listed) {
    problems.push_back("The extended mode list at offset " + rom::HexText(listOffset, 4) + "h holds " +
                       std::to_string(records.size()) + " modes; only the first " +
                       std::to_string(CModeRowMaps::kMaxExRows) + " are listed.");
  }
}

void CParameterTable::ReselectRow(int previousRow, const std::string& previousText) {
  const int count = controls().ListCount(IDC_MODE_LIST);
  int row = -1;
  if (previousRow >= 0 && previousRow < count && controls().ListItemText(IDC_MODE_LIST, previousRow) == previousText) {
    row = previousRow;
  }
  for (int i = 0; row < 0 && i < count; ++i) {
    if (controls().ListItemText(IDC_MODE_LIST, i) == previousText) row = i;
  }
  if (row < 0) row = 0;
  controls().ListSelect(IDC_MODE_LIST, row);
  m_nSelectedRow = row;
  m_strMode = controls().ListItemText(IDC_MODE_LIST, row);
}

int CParameterTable::ResolveParamIndex(std::uint8_t modeIndex) const {
  if (m_nExRegTable < 0) return 0;
  return rom::ResolveParamIndex(static_cast<std::uint32_t>(m_nExRegTable), modeIndex);
}

int CParameterTable::JumpnEXMode() {
  const int paramIndex = m_rowMaps.ParamIndexOfExRow(m_nSelectedRow - kStdRowCount);
  if (paramIndex > 0) return paramIndex * static_cast<int>(kParameterRecordSize);
  Report(kJumpExModeError);
  return -1;
}

void CParameterTable::LoadExRegFields() {
  const int modeIndex = m_rowMaps.ModeIndexOfRow(m_nSelectedRow);
  const rom::Located record = LocateExRegRecord(modeIndex);
  if (!record) {
    Report(record.error);
    return;
  }
  const std::uint32_t r = record.offset;
  const std::uint8_t flags = rom::RomImage.Byte(r);
  controls().SetChecked(IDC_NATIVE_MODE, (flags & kNativeBit) != 0);
  controls().SetChecked(IDC_INTERLACE, (flags & kInterlaceBit) != 0);
  controls().SetChecked(IDC_NATIVE_DOUBLE_SCAN, (flags & kDoubleScanBit) != 0);
  m_nPixelFormat = (flags & kPixelFormatBits) >> kPixelFormatShift;
  m_strParamIndex = rom::HexText(rom::RomImage.Byte(r + 2), 2);
  m_strClockWord = rom::HexText(rom::ReadWordLE(r + 3, r + 4), 4);
  m_strCrtc1B = rom::HexText(rom::RomImage.Byte(r + 1), 2);
  m_nShownModeIndex = modeIndex;
  m_bExFieldsValid = true;
}

void CParameterTable::StoreExRegFields() {
  // The record of the mode whose values are shown, even after the row was changed with the keyboard.
  const rom::Located record = LocateExRegRecord(m_nShownModeIndex);
  if (!record) {
    ShowError(record.error);
    return;
  }
  if (m_nPixelFormat < 0 || m_nPixelFormat > kMaxPixelFormat) {
    // The load after Apply then reads only the list, so the bad value raises no second prompt.
    m_bExFieldsValid = false;
    return;
  }
  const std::uint32_t r = record.offset;
  // Bits 6 and 7 have no control; a store keeps them.
  const int flags = (rom::RomImage.Byte(r) & rom::kUnusedExFlagBits) | (m_nPixelFormat << kPixelFormatShift) |
                    (controls().IsChecked(IDC_NATIVE_DOUBLE_SCAN) ? kDoubleScanBit : 0) |
                    (controls().IsChecked(IDC_INTERLACE) ? kInterlaceBit : 0) |
                    (controls().IsChecked(IDC_NATIVE_MODE) ? kNativeBit : 0);
  rom::RomImage.SetByte(r, static_cast<std::uint8_t>(flags));
  rom::RomImage.SetByte(r + 1, static_cast<std::uint8_t>(rom::HexTextToWord(m_strCrtc1B) & 0xFF));
  rom::RomImage.SetByte(r + 2, static_cast<std::uint8_t>(rom::HexTextToWord(m_strParamIndex) & 0xFF));
  rom::RomImage.SetWord(r + 3, rom::HexTextToWord(m_strClockWord));
}

std::optional<rom::ByteSpan> CParameterTable::ShownBytes(int controlId) const {
  if (controlId >= IDC_PARAM_FIRST && controlId <= IDC_PARAM_LAST) {
    if (!m_wRecordOffset) return std::nullopt;
    rom::ByteSpan span = RecordBytesOf(controlId);
    span.offset += m_nRecordPosition;
    return span;
  }
  if (!m_bExFieldsValid || m_nExRegTable < 0 || m_nShownModeIndex < 0) return std::nullopt;
  // Asked for every box of every row: the record's place without the message a refusal would carry.
  const std::uint32_t r = static_cast<std::uint32_t>(m_nExRegTable) +
                          rom::kExRegRecordSize * static_cast<std::uint32_t>(m_nShownModeIndex);
  if (!rom::ImageBuffer::Contains(r, rom::kExRegRecordSize)) return std::nullopt;
  switch (controlId) {
    case IDC_NATIVE_MODE: return rom::ByteSpan{r, 1, kNativeBit};
    case IDC_INTERLACE: return rom::ByteSpan{r, 1, kInterlaceBit};
    case IDC_NATIVE_DOUBLE_SCAN: return rom::ByteSpan{r, 1, kDoubleScanBit};
    case IDC_PIXEL_FORMAT: return rom::ByteSpan{r, 1, kPixelFormatBits};
    case IDC_CRTC_1B: return rom::ByteSpan{r + 1, 1};
    case IDC_PARAM_INDEX: return rom::ByteSpan{r + 2, 1};
    case IDC_CLOCK_WORD: return rom::ByteSpan{r + 3, 2};
    default: return std::nullopt;
  }
}
