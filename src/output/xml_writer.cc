#include "output/xml_writer.h"

#include "util/text.h"

namespace vaultgauge {

std::string XmlWriter::Head() { return "\n<Prtg>\n"; }

std::string XmlWriter::Text(std::string_view text) {
  return "\n<Text>" + EscapeXml(text) + "</Text>\n";
}

std::string XmlWriter::ChannelPiece(unsigned /*counter*/, std::string_view name,
                                    std::string_view value, std::string_view unit) {
  std::string piece = "\n<Result><Channel>";
  piece.append(EscapeXml(name)).append("</Channel>");
  unit = unit.substr(0, kChannelTextLimit);
  if (!unit.empty()) {
    piece.append("\n<Unit>Custom</Unit>\n<CustomUnit>").append(EscapeXml(unit));
    piece.append("</CustomUnit>");
  }
  piece.append("\n<Value>").append(EscapeXml(value.substr(0, kChannelTextLimit)));
  piece.append("</Value></Result>\n");
  return piece;
}

std::string XmlWriter::Tail() { return "\n</Prtg>\n"; }

}  // namespace vaultgauge
