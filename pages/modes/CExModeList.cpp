#include "pages/modes/CExModeList.h"

#include <cstdio>

#include "pages/modes/ModeNames.h"
#include "rom/RomImage.h"

std::string CExModeList::RowText(std::uint32_t record) {
  const int model = MemoryModel(record);
  const std::string modelName = model < kMemoryModelCount ? MemoryModelNames[static_cast<std::size_t>(model)]
                                                          : "memory model " + std::to_string(model);
  char text[128];
  std::snprintf(text, sizeof text, "Mode %Xh - %ux%u %s (8x%u)",
                static_cast<unsigned>(rom::ReadWordLE(record + 2, record + 3)),
                static_cast<unsigned>(rom::ReadWordLE(record + 7, record + 8)),
                static_cast<unsigned>(rom::ReadWordLE(record + 9, record + 10)), modelName.c_str(),
                static_cast<unsigned>(rom::RomImage.Byte(record + 13)));
  return text;
}
