#include "rfc/pe_width.h"

#include <cstdint>
#include <cstdio>

#include "util/file_system.h"

namespace vaultgauge {

namespace {

// Little-endian, as every PE field; false when the bytes lie beyond `head`.
bool ReadLittleEndian(std::string_view head, size_t at, size_t size, uint32_t* value) {
  if (at > head.size() || size > head.size() - at) return false;
  *value = 0;
  for (size_t i = size; i-- > 0;) *value = (*value << 8) | static_cast<unsigned char>(head[at + i]);
  return true;
}

}  // namespace

PeWidth PeWidthOf(std::string_view head) {
  // The DOS stub "MZ" holds at 0x3C where the "PE\0\0" signature stands; the
  // machine field follows the signature.
  constexpr size_t kPeOffsetField = 0x3C;
  uint32_t pe_offset = 0;
  if (head.substr(0, 2) != "MZ" || !ReadLittleEndian(head, kPeOffsetField, 4, &pe_offset)) {
    return PeWidth::kUnknown;
  }
  uint32_t machine = 0;
  if (pe_offset > head.size() || head.substr(pe_offset, 4) != std::string_view("PE\0\0", 4) ||
      !ReadLittleEndian(head, size_t{pe_offset} + 4, 2, &machine)) {
    return PeWidth::kUnknown;
  }
  switch (machine) {
    case 0x14c:
      return PeWidth::k32;
    case 0x8664:
      return PeWidth::k64;
    default:
      return PeWidth::kUnknown;
  }
}

PeWidth PeWidthOfFile(const std::string& path) {
  std::FILE* file = OpenBinaryFile(path);
  if (file == nullptr) return PeWidth::kUnknown;
  std::string head(kPeHeadSize, '\0');
  head.resize(std::fread(head.data(), 1, head.size(), file));
  std::fclose(file);
  return PeWidthOf(head);
}

}  // namespace vaultgauge
