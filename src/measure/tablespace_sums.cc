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

// A size given as text: an optional sign, then decimal digits only. False
// for a negative sign, or a character that is no digit (a packed digit
// nibble A to F shows as a letter). Beyond 64 bits it stays at the largest
// value, which the sums then refuse.
bool SizeFromText(std::string_view text, int64_t* size) {
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return false;
  *size = ParseDecimal(text);
  return true;
}

// A character field without what pads it: cut at a zero, trailing blanks removed.
std::string PaddedText(std::string_view name) {
  return std::string(TrimTrailingBlanks(name.substr(0, name.find('\0'))));
}

Status InvalidSize(unsigned row_number, const std::string& name) {
  return Status::Error(Message(MessageId::kInvalidSize, {std::to_string(row_number), name}));
}

}  // namespace

Status DecodeTablespace(std::span<const uint8_t> row, unsigned row_number, Tablespace* tablespace) {
  const char* characters = reinterpret_cast<const char*>(row.data());
  tablespace->name = PaddedText(std::string_view(characters + kTsNameOffset, kTsNameLength));
  tablespace->status = PaddedText(std::string_view(characters + kTsStatusOffset, kTsStatusLength));
  if (!PackedWholeNumber(row.subspan(kTsizeOffset, kPackedSizeLength), &tablespace->size_kb) ||
      !PackedWholeNumber(row.subspan(kTfreeOffset, kPackedSizeLength), &tablespace->free_kb)) {
    return InvalidSize(row_number, tablespace->name);
  }
  return Status::Ok();
}

Status DecodeTablespaceTexts(std::string_view name, std::string_view size_text,
                             std::string_view free_text, std::string_view status_text,
                             unsigned row_number, Tablespace* tablespace) {
  tablespace->name = PaddedText(name);
  tablespace->status = PaddedText(status_text);
  if (!SizeFromText(size_text, &tablespace->size_kb) ||
      !SizeFromText(free_text, &tablespace->free_kb)) {
    return InvalidSize(row_number, tablespace->name);
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

int64_t UsedPerMille(int64_t size_kb, int64_t free_kb) {
  if (size_kb <= 0 || free_kb >= size_kb) return 0;
  const uint64_t size = static_cast<uint64_t>(size_kb);
  uint64_t remainder = static_cast<uint64_t>(size_kb - (free_kb < 0 ? 0 : free_kb));
  if (remainder == size) return 1000;
  // Long division, one decimal digit at a time: ten times the remainder is
  // built by adding, so that no product leaves 64 bits (both stay below the
  // size, and twice the size fits).
  int64_t per_mille = 0;
  for (int digit_place = 0; digit_place < 3; ++digit_place) {
    uint64_t times_ten = 0;
    int digit = 0;
    for (int i = 0; i < 10; ++i) {
      times_ten += remainder;
      if (times_ten >= size) {
        times_ten -= size;
        ++digit;
      }
    }
    per_mille = per_mille * 10 + digit;
    remainder = times_ten;
  }
  return per_mille;
}

std::string PercentText(int64_t per_mille) {
  return std::to_string(per_mille / 10) + "." + std::to_string(per_mille % 10);
}

}  // namespace vaultgauge
