#include "measure/number_format.h"

namespace vaultgauge {

std::string BytesToHex(std::span<const uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (uint8_t byte : bytes) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0x0F];
  }
  return hex;
}

std::string PackedToText(std::span<const uint8_t> field, unsigned decimals) {
  if (field.empty()) return std::string();
  std::string hex = BytesToHex(field);
  const size_t digit_count = hex.size() - 1;  // the last nibble is the sign
  if (decimals > digit_count) decimals = static_cast<unsigned>(digit_count);

  std::string text(1, hex.back() == 'D' ? '-' : '+');
  text.append(hex, 0, digit_count - decimals);
  if (decimals > 0) {
    text += '.';
    text.append(hex, digit_count - decimals, decimals);
  }
  return text;
}

void GroupThousands(std::string* digits) {
  const size_t length = digits->size();
  if (length <= 3) return;
  digits->insert(length - 3, ".");
  if (length >= 7) digits->insert(length - 6, ".");
}

}  // namespace vaultgauge
