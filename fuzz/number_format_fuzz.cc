// The number formats and the tablespace rows they serve: a packed field reads
// as the number its digit nibbles spell, refused for sign nibble D, a nibble
// that is no digit, or more than 64 bits; GroupThousands
// puts at most two separators into a digit string and takes nothing away; a
// row of TS decodes to a sound size or to the error that names it, and the
// sums never give a usage outside 0 to 100.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "measure/number_format.h"
#include "measure/tablespace_sums.h"
#include "util/text.h"

namespace {

using namespace vaultgauge;

// The field read as its hexadecimal digits would be by hand: the digit
// nibbles a decimal number without its leading zeros, the last nibble the sign.
void CheckPacked(const std::vector<uint8_t>& field) {
  int64_t value = -1;
  const bool valid = PackedWholeNumber(field, &value);
  if (field.empty()) {
    FUZZ_CHECK(!valid);
    return;
  }
  std::string digits;
  for (uint8_t byte : field) {
    digits += "0123456789ABCDEF"[byte >> 4];
    digits += "0123456789ABCDEF"[byte & 0x0F];
  }
  const char sign = digits.back();
  digits.pop_back();
  bool expected = sign != 'D' && digits.find_first_not_of("0123456789") == std::string::npos;
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
  unsigned __int128 number = 0;
  if (digits.size() > 19) {
    expected = false;
  } else if (expected) {
    for (char c : digits) number = number * 10 + static_cast<unsigned>(c - '0');
    expected = number <= static_cast<unsigned __int128>(INT64_MAX);
  }
  FUZZ_CHECK(valid == expected);
  if (valid) FUZZ_CHECK(static_cast<unsigned __int128>(value) == number);
}

void CheckGrouping(const std::string& digits) {
  std::string grouped = digits;
  GroupThousands(&grouped);
  std::string without = grouped;
  size_t separators = 0;
  for (size_t at; (at = without.find('.')) != std::string::npos; ++separators) without.erase(at, 1);
  FUZZ_CHECK(without == digits);
  const size_t length = digits.size();
  FUZZ_CHECK(separators == (length <= 3 ? 0u : length <= 6 ? 1u : 2u));
  if (separators >= 1) FUZZ_CHECK(grouped[grouped.size() - 4] == '.');
  if (separators == 2) FUZZ_CHECK(grouped[grouped.size() - 8] == '.');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  std::vector<uint8_t> field = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange(0, 511));
  CheckPacked(field);

  std::string digits;
  for (char c : input.ConsumeRandomLengthString(16)) {
    digits += static_cast<char>('0' + static_cast<unsigned char>(c) % 10);
  }
  CheckGrouping(digits);

  // Rows of TS as the library hands them out, summed as the measurement does.
  TablespaceSums sums;
  unsigned number = 0;
  while (input.remaining_bytes() >= kTableXpcRowLength) {
    std::vector<uint8_t> row = input.ConsumeBytes<uint8_t>(kTableXpcRowLength);
    Tablespace tablespace;
    Status status = DecodeTablespace(row, ++number, &tablespace);
    FUZZ_CHECK(tablespace.name.size() <= kTsNameLength);
    FUZZ_CHECK(tablespace.name.find('\0') == std::string::npos);
    FUZZ_CHECK(tablespace.name.empty() || tablespace.name.back() != ' ');
    if (!status.ok()) {
      FUZZ_CHECK(StartsWith(status.message(), "Error 1016: Invalid size in row "));
      break;
    }
    FUZZ_CHECK(tablespace.size_kb >= 0 && tablespace.free_kb >= 0);
    FUZZ_CHECK(tablespace.status.size() <= kTsStatusLength);
    // The used share: within 0 to 100.0 per cent, and exact.
    int64_t per_mille = UsedPerMille(tablespace.size_kb, tablespace.free_kb);
    FUZZ_CHECK(per_mille >= 0 && per_mille <= 1000);
    if (tablespace.free_kb < tablespace.size_kb) {
      unsigned __int128 used =
          static_cast<unsigned __int128>(tablespace.size_kb - tablespace.free_kb);
      FUZZ_CHECK(per_mille == static_cast<int64_t>(used * 1000 / tablespace.size_kb));
    } else {
      FUZZ_CHECK(per_mille == 0);
    }
    if (!sums.Add(tablespace).ok()) break;
  }
  int64_t usage = sums.UsagePercent();
  FUZZ_CHECK(usage >= 0 && usage <= 100);
  std::string text = sums.SummaryText("PRD");
  FUZZ_CHECK(StartsWith(text, "(PRD) OraSizes: NoSpc="));
  FUZZ_CHECK(text.size() >= 2 && text.substr(text.size() - 2) == "% ");
  return 0;
}
