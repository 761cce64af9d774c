// The number conversions that the sizes pass through: packed decimal to a
// number, and thousands separators for the summary line.
#ifndef VAULTGAUGE_MEASURE_NUMBER_FORMAT_H_
#define VAULTGAUGE_MEASURE_NUMBER_FORMAT_H_

#include <cstdint>
#include <span>
#include <string>

namespace vaultgauge {

// A packed-decimal field (ABAP type P) without decimals as a number that is
// not negative: false for sign nibble D (minus) or a digit nibble above 9, or
// a value beyond 64 bits; any other sign nibble counts as plus.
bool PackedWholeNumber(std::span<const uint8_t> field, int64_t* value);

// Inserts "." between groups of three digits counted from the right, at most
// two of them: "1234567" becomes "1.234.567", ten digits keep four in front.
void GroupThousands(std::string* digits);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_MEASURE_NUMBER_FORMAT_H_
