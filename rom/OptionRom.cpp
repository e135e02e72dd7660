#include "rom/OptionRom.h"

#include "rom/RomFile.h"
#include "rom/ValueText.h"

namespace rom {

std::string OptionRom::LengthProblem() const {
  if (!HasSignature()) return "not a VGA BIOS ROM image: it does not begin with 55 AA";
  if (DeclaredLength() == 0) return "its header declares no length: byte 2 is 00h";
  if (file_.size() < DeclaredLength()) {
    return "only " + std::to_string(file_.size()) + " bytes long; its header declares " +
           std::to_string(DeclaredLength()) + " (" + HexText(DeclaredBlocks(), 2) + "h blocks of 512)";
  }
  return {};
}

std::string OptionRom::Problem() const {
  std::string problem = LengthProblem();
  if (problem.empty() && StoredChecksum() != ComputedChecksum()) {
    problem = "wrong checksum: the " + std::to_string(DeclaredLength()) + " bytes do not add up to 0";
  }
  return problem;
}

std::uint8_t OptionRom::ComputedChecksum() const {
  return ChecksumByteFor(file_.data(), DeclaredLength());
}

}  // namespace rom
