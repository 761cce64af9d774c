#include "output/xml_writer.h"

#include "util/text.h"

namespace vaultgauge {

namespace {

// No unit lines for an empty unit.
std::string CustomUnitLines(std::string_view unit) {
  unit = unit.substr(0, kChannelTextLimit);
  if (unit.empty()) return std::string();
  return "\n<Unit>Custom</Unit>\n<CustomUnit>" + EscapeXml(unit) + "</CustomUnit>";
}

}  // namespace

std::string XmlWriter::Head() { return "\n<Prtg>\n"; }

std::string XmlWriter::Text(std::string_view text) {
  return "\n<Text>" + EscapeXml(text) + "</Text>\n";
}

std::string XmlWriter::ChannelPiece(unsigned /*counter*/, std::string_view name,
                                    std::string_view value, std::string_view unit) {
  std::string piece = "\n<Result><Channel>";
  piece.append(EscapeXml(name)).append("</Channel>");
  piece.append(CustomUnitLines(unit));
  piece.append("\n<Value>").append(EscapeXml(value.substr(0, kChannelTextLimit)));
  piece.append("</Value></Result>\n");
  return piece;
}

std::string XmlWriter::DescribedChannelPiece(unsigned counter, const ChannelDescription& channel) {
  if (channel.kind == ChannelKind::kCustom && !channel.limits && !channel.warning) {
    return ChannelPiece(counter, channel.name, channel.value, channel.unit);
  }
  std::string piece = "\n<Result><Channel>";
  piece.append(EscapeXml(channel.name)).append("</Channel>");
  switch (channel.kind) {
    case ChannelKind::kPercent:
      piece.append("\n<Unit>Percent</Unit>\n<Float>1</Float>");
      break;
    case ChannelKind::kCount:
      piece.append("\n<Unit>Count</Unit>");
      break;
    case ChannelKind::kCustom:
      piece.append(CustomUnitLines(channel.unit));
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
  piece.append("\n<Value>").append(EscapeXml(channel.value.substr(0, kChannelTextLimit)));
  piece.append("</Value></Result>\n");
  return piece;
}

std::string XmlWriter::Tail() { return "\n</Prtg>\n"; }

}  // namespace vaultgauge
