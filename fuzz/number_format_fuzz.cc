// The number formats and the tablespace rows they serve: PackedToText keeps
// its length rule and marks only sign nibble D as negative; GroupThousands
// puts at most two separators into a digit string and takes nothing away; a
// row of TS decodes to a sound size or to the error that names it, and the
// sums never give a usage outside 0 to 100.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "measure/number_format.h"
#include "measure/tablespace_sums.h"
#include "util/text.h"

namespace {

using namespace vaultgauge;

void CheckPacked(const std::vector<uint8_t>& field, unsigned decimals) {
  std::string hex = BytesToHex(field);
  FUZZ_CHECK(hex.size() == 2 * field.size());
  std::string text = PackedToText(field, decimals);
  if (field.empty()) {
    FUZZ_CHECK(text.empty());
    return;
  }
  const size_t digits = 2 * field.size() - 1;
  const size_t places = decimals > digits ? digits : decimals;
  FUZZ_CHECK(text.size() == (places == 0 ? 2 * field.size() : 2 * field.size() + 1));
  FUZZ_CHECK(text[0] == ((field.back() & 0x0F) == 0x0D ? '-' : '+'));
  // The digit nibbles as they are, the point before the last `places` of them.
  std::string nibbles = text.substr(1);
  if (places > 0) {
    FUZZ_CHECK(nibbles[digits - places] == '.');
    nibbles.erase(digits - places, 1);
  }
  FUZZ_CHECK(nibbles == hex.substr(0, digits));
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
  const unsigned decimals = input.ConsumeIntegralInRange<unsigned>(0, 1100);
  std::vector<uint8_t> field = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange(0, 511));
  CheckPacked(field, decimals);

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
