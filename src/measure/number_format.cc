#include "measure/number_format.h"

#include <limits>

namespace vaultgauge {

bool PackedWholeNumber(std::span<const uint8_t> field, int64_t* value) {
  if (field.empty() || (field.back() & 0x0F) == 0x0D) return false;
  constexpr uint64_t kMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  constexpr uint64_t kLimit = kMax / 10, kLastDigit = kMax % 10;
  uint64_t number = 0;
  // Every nibble but the last (the sign) is a digit, the high one first.
  for (size_t nibble = 0; nibble + 1 < field.size() * 2; ++nibble) {
    const uint8_t byte = field[nibble / 2];
    const unsigned digit = nibble % 2 == 0 ? byte >> 4 : byte & 0x0F;
    if (digit > 9 || number > kLimit || (number == kLimit && digit > kLastDigit)) return false;
    number = number * 10 + digit;
  }
  *value = static_cast<int64_t>(number);
  return true;
}

void GroupThousands(std::string* digits) {
  const size_t length = digits->size();
  if (length <= 3) return;
  digits->insert(length - 3, ".");
  if (length >= 7) digits->insert(length - 6, ".");
}

}  // namespace vaultgauge
