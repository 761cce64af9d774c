// For tests: rows of table TS (structure TABLE_XPC) as the classic RFC
// library lays them out.
#ifndef VAULTGAUGE_TESTS_SUPPORT_TABLE_ROWS_H_
#define VAULTGAUGE_TESTS_SUPPORT_TABLE_ROWS_H_

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "measure/tablespace_sums.h"

namespace vaultgauge {

// An 8-byte packed field: 15 digits and the sign nibble.
inline void PutPacked(std::vector<uint8_t>* row, size_t offset, uint64_t value,
                      uint8_t sign = 0xC) {
  uint8_t nibbles[16];
  nibbles[15] = sign;
  for (int i = 14; i >= 0; --i) {
    nibbles[i] = static_cast<uint8_t>(value % 10);
    value /= 10;
  }
  for (int i = 0; i < 8; ++i) {
    (*row)[offset + i] = static_cast<uint8_t>(nibbles[2 * i] << 4 | nibbles[2 * i + 1]);
  }
}

// A row with the name (blank-padded) and both sizes; the gaps and the fields
// the sensor does not read carry junk, as they may in an answer.
inline std::vector<uint8_t> TableXpcRow(const std::string& name, uint64_t size_kb, uint64_t free_kb,
                                        uint8_t sign = 0xC) {
  std::vector<uint8_t> row(kTableXpcRowLength, 0xEE);
  std::memset(row.data(), ' ', kTsNameLength);
  std::memcpy(row.data(), name.data(), std::min(name.size(), kTsNameLength));
  PutPacked(&row, kTsizeOffset, size_kb, sign);
  PutPacked(&row, kTfreeOffset, free_kb, sign);
  return row;
}

// Sets the STATUS field, blank-padded.
inline void PutStatus(std::vector<uint8_t>* row, const std::string& status) {
  std::memset(row->data() + kTsStatusOffset, ' ', kTsStatusLength);
  std::memcpy(row->data() + kTsStatusOffset, status.data(),
              std::min(status.size(), kTsStatusLength));
}

}  // namespace vaultgauge

#endif  // VAULTGAUGE_TESTS_SUPPORT_TABLE_ROWS_H_
