#include "measure/tablespace_sums.h"

#include <limits>

#include "measure/number_format.h"
#include "util/messages.h"
#include "util/text.h"

namespace vaultgauge {

namespace {

std::string Unsigned(uint64_t value) { return std::to_string(value); }

std::string Grouped(uint64_t value) {
  std::string digits = Unsigned(value);
  GroupThousands(&digits);
  return digits;
}

// The packed field as a number, or false when it is no sound size: a negative
// sign, or a digit nibble A to F, which the text form shows as a letter.
bool PackedSize(std::span<const uint8_t> field, int64_t* size) {
  std::string text = PackedToText(field, 0);
  if (text.empty() || text[0] == '-') return false;
  if (text.find_first_not_of("0123456789", 1) != std::string::npos) return false;
  *size = ParseDecimal(text);
  return true;
}

}  // namespace

Status DecodeTablespace(std::span<const uint8_t> row, unsigned row_number, Tablespace* tablespace) {
  std::string_view name(reinterpret_cast<const char*>(row.data()) + kTsNameOffset, kTsNameLength);
  name = name.substr(0, name.find('\0'));
  tablespace->name = std::string(TrimTrailingBlanks(name));
  if (!PackedSize(row.subspan(kTsizeOffset, kPackedSizeLength), &tablespace->size_kb) ||
      !PackedSize(row.subspan(kTfreeOffset, kPackedSizeLength), &tablespace->free_kb)) {
    return Status::Error(
        Message(MessageId::kInvalidSize, {std::to_string(row_number), tablespace->name}));
  }
  return Status::Ok();
}

Status TablespaceSums::Add(const Tablespace& tablespace) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  if (tablespace.size_kb > kMax - total_kb_ || tablespace.free_kb > kMax - free_kb_) {
    return Status::Error(Message(MessageId::kSizesBeyondRange));
  }
  ++count_;
  total_kb_ += tablespace.size_kb;
  free_kb_ += tablespace.free_kb;
  return Status::Ok();
}

int64_t TablespaceSums::UsagePercent() const {
  int64_t usage;
  if (total_kb_ >= 100) {
    usage = 100 - free_kb_ / (total_kb_ / 100);
  } else if (total_kb_ > 0 && free_kb_ < total_kb_) {
    // Whole hundreds would be 0 here: compute on the exact total instead.
    usage = 100 - free_kb_ * 100 / total_kb_;
  } else {
    usage = 0;
  }
  return usage < 0 ? 0 : usage;
}

std::string TablespaceSums::SummaryText(const std::string& destination) const {
  std::string text = "(" + destination + ") OraSizes: ";
  text += "NoSpc=" + Grouped(count_);
  text += ", DataSz=" + Grouped(static_cast<uint64_t>(total_kb_ / 1000));
  text += " MB, FreeSz=" + Grouped(static_cast<uint64_t>(free_kb_ / 1000));
  text += " MB, Usage=" + Grouped(static_cast<uint64_t>(UsagePercent()));
  text += "% ";
  return text;
}

ChannelValue SizeChannelValue(int64_t size_kb, bool gigabyte) {
  uint64_t size = static_cast<uint64_t>(size_kb);
  if (gigabyte) return {Unsigned(size / 1000000), "GByte"};
  return {Unsigned(size / 1000), "MByte"};
}

}  // namespace vaultgauge
