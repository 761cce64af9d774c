#include "output/line_writers.h"

namespace vaultgauge {

std::string_view UnitDisplayForm(std::string_view unit) {
  if (unit.empty()) return "#";
  if (unit == "PerCent") return "%";
  if (unit == "TimeResponse") return "mSec";
  return unit;
}

std::string HalvenorWriter::ChannelPiece(unsigned counter, std::string_view name,
                                         std::string_view value, std::string_view unit) {
  if (counter > kChannelLimit) return std::string();
  // In item mode the name is the system's label, so the key is made from it.
  std::string key = ChannelKey(name);
  std::string piece = "\n\nMessage.";
  piece.append(key).append(": ").append(name).append(" (");
  piece.append(UnitDisplayForm(unit.substr(0, kChannelTextLimit)));
  piece.append(")\nStatistic.").append(key).append(": ");
  piece.append(value.substr(0, kChannelTextLimit));
  return piece;
}

// A host that asked for one bare value gets neither head nor text.
std::string OrmiluxWriter::Text(std::string_view text) {
  if (selection_.active) return std::string();
  return LineWriter::Text(text);
}

std::string OrmiluxWriter::ChannelPiece(unsigned counter, std::string_view name,
                                        std::string_view value, std::string_view unit) {
  value = value.substr(0, kChannelTextLimit);
  if (selection_.active) {
    return selection_.number == static_cast<long long>(counter) ? std::string(value)
                                                                : std::string();
  }
  std::string piece = "\n> ";
  piece.append(name).append(": ").append(value).append(" ");
  piece.append(UnitDisplayForm(unit.substr(0, kChannelTextLimit)));
  return piece;
}

}  // namespace vaultgauge
