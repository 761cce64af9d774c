// The text conversions that the sizes pass through: packed decimal to signed
// decimal text, and thousands separators for the summary line.
#ifndef VAULTGAUGE_MEASURE_NUMBER_FORMAT_H_
#define VAULTGAUGE_MEASURE_NUMBER_FORMAT_H_

#include <cstdint>
#include <span>
#include <string>

namespace vaultgauge {

// Two upper-case hexadecimal characters per byte, in order.
std::string BytesToHex(std::span<const uint8_t> bytes);

// A packed-decimal field (ABAP type P) as text: "-" for sign nibble D, "+" for
// any other, the digit nibbles with leading zeros kept, and with `decimals` > 0
// a full stop before the last `decimals` digits. Digit nibbles are not checked.
// `decimals` is bounded by the number of digit nibbles.
std::string PackedToText(std::span<const uint8_t> field, unsigned decimals);

// Inserts "." between groups of three digits counted from the right, at most
// two of them: "1234567" becomes "1.234.567", ten digits keep four in front.
void GroupThousands(std::string* digits);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_MEASURE_NUMBER_FORMAT_H_
