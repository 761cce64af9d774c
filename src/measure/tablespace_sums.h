// What the sensor makes of the rows of table TS: each tablespace's name and
// sizes, the sums over all rows, the usage and the summary text.
#ifndef VAULTGAUGE_MEASURE_TABLESPACE_SUMS_H_
#define VAULTGAUGE_MEASURE_TABLESPACE_SUMS_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "util/status.h"

namespace vaultgauge {

// The row of table TS as the RFC library lays out TABLE_XPC: 4-byte integers
// at multiples of 4, other fields at the next free byte.
inline constexpr unsigned kTableXpcRowLength = 112;
inline constexpr size_t kTsNameOffset = 0, kTsNameLength = 30;
inline constexpr size_t kTsStatusOffset = 52, kTsStatusLength = 9;
inline constexpr size_t kTsizeOffset = 61, kTfreeOffset = 69, kPackedSizeLength = 8;

struct Tablespace {
  std::string name;  // blank padding removed
  int64_t size_kb = 0;
  int64_t free_kb = 0;
  std::string status;  // STATUS, blank padding removed: "ONLINE", "OFFLINE", "READ ONLY"

  bool online() const { return status == "ONLINE"; }
};

// Decodes one row. A size whose packed sign is negative, or whose digits are
// not decimal, is a corrupt answer: Status::Error names the row.
Status DecodeTablespace(std::span<const uint8_t> row, unsigned row_number, Tablespace* tablespace);

// Decodes one row that a library hands over as texts: the name, the sizes as
// decimal numbers with an optional sign ("412876800") and the status. A
// negative size, or one that is no such number (empty: unreadable), is the
// same corrupt answer.
Status DecodeTablespaceTexts(std::string_view name, std::string_view size_text,
                             std::string_view free_text, std::string_view status_text,
                             unsigned row_number, Tablespace* tablespace);

// Sums over all rows, in kilobytes.
class TablespaceSums {
 public:
  // Fails when the sums would leave the 64-bit range.
  Status Add(const Tablespace& tablespace);

  uint64_t count() const { return count_; }
  int64_t total_kb() const { return total_kb_; }
  int64_t free_kb() const { return free_kb_; }

  // Per cent of the total in use, cut down to a whole per cent against the
  // total cut down to whole hundreds of kilobytes. Totals below 100 KB, an
  // empty table and free space above the total are handled soundly.
  int64_t UsagePercent() const;

  // "(PRD) OraSizes: NoSpc=3, DataSz=63.717 MB, FreeSz=19.506 MB, Usage=70% "
  std::string SummaryText(const std::string& destination) const;

 private:
  uint64_t count_ = 0;
  int64_t total_kb_ = 0;
  int64_t free_kb_ = 0;
};

// A channel's value and unit for a tablespace size: MB, or GB with "GIGABYTE".
struct ChannelValue {
  std::string value;
  const char* unit;
};
ChannelValue SizeChannelValue(int64_t size_kb, bool gigabyte);

// A tablespace's used share in tenths of a per cent, (size - free) x 1000 /
// size cut down, so that 1000 means full; 0 for a size of 0 and for free
// space above the size. Exact for every size, without overflow.
int64_t UsedPerMille(int64_t size_kb, int64_t free_kb);

// Tenths of a per cent with their one decimal: 834 gives "83.4".
std::string PercentText(int64_t per_mille);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_MEASURE_TABLESPACE_SUMS_H_
