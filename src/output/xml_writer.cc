#include "output/xml_writer.h"

#include "util/text.h"

namespace vaultgauge {

namespace {

constexpr size_t kWhole = std::string_view::npos;

void AppendXml(std::string_view text, std::string* piece) { AppendEscapedXml(text, kWhole, piece); }

// No unit lines for an empty unit.
void AppendCustomUnit(std::string_view unit, std::string* piece) {
  unit = unit.substr(0, kChannelTextLimit);
  if (unit.empty()) return;
  piece->append("\n<Unit>Custom</Unit>\n<CustomUnit>");
  AppendXml(unit, piece);
  piece->append("</CustomUnit>");
}

void AppendChannelName(std::string_view name, std::string* piece) {
  piece->append("\n<Result><Channel>");
  AppendXml(name, piece);
  piece->append("</Channel>");
}

void AppendValue(std::string_view value, std::string* piece) {
  piece->append("\n<Value>");
  AppendXml(value.substr(0, kChannelTextLimit), piece);
  piece->append("</Value></Result>\n");
}

// Room for a channel's lines without growing.
constexpr size_t kChannelReserve = 160;

}  // namespace

std::string XmlWriter::Head() { return "\n<Prtg>\n"; }

std::string XmlWriter::Text(std::string_view text) {
  std::string piece = "\n<Text>";
  AppendXml(text, &piece);
  piece.append("</Text>\n");
  return piece;
}

std::string XmlWriter::ChannelPiece(unsigned /*counter*/, std::string_view name,
                                    std::string_view value, std::string_view unit) {
  std::string piece;
  piece.reserve(kChannelReserve + name.size() + unit.size() + value.size());
  AppendChannelName(name, &piece);
  AppendCustomUnit(unit, &piece);
  AppendValue(value, &piece);
  return piece;
}

std::string XmlWriter::DescribedChannelPiece(unsigned counter, const ChannelDescription& channel) {
  if (channel.kind == ChannelKind::kCustom && !channel.limits && !channel.warning) {
    return ChannelPiece(counter, channel.name, channel.value, channel.unit);
  }
  std::string piece;
  piece.reserve(kChannelReserve + channel.name.size() + channel.unit.size() + channel.value.size());
  AppendChannelName(channel.name, &piece);
  switch (channel.kind) {
    case ChannelKind::kPercent:
      piece.append("\n<Unit>Percent</Unit>\n<Float>1</Float>");
      break;
    case ChannelKind::kCount:
      piece.append("\n<Unit>Count</Unit>");
      break;
    case ChannelKind::kCustom:
      AppendCustomUnit(channel.unit, &piece);
      break;
  }
  if (channel.limits) {
    piece.append("\n<LimitMode>1</LimitMode>");
    if (channel.limits->max_warning) {
      piece.append("\n<LimitMaxWarning>")
          .append(std::to_string(*channel.limits->max_warning))
          .append("</LimitMaxWarning>");
    }
    piece.append("\n<LimitMaxError>")
        .append(std::to_string(channel.limits->max_error))
        .append("</LimitMaxError>");
  }
  if (channel.warning) piece.append("\n<Warning>1</Warning>");
  AppendValue(channel.value, &piece);
  return piece;
}

std::string XmlWriter::Tail() { return "\n</Prtg>\n"; }

}  // namespace vaultgauge
