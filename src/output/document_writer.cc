#include "output/document_writer.h"

#include "output/line_writers.h"
#include "output/xml_writer.h"
#include "util/text.h"

namespace vaultgauge {

namespace {

constexpr std::string_view kErrorHead = "<Prtg>\n<Error>1</Error>\n<Text>";
constexpr std::string_view kErrorTail = "</Text>\n</Prtg>\n";

}  // namespace

void DocumentWriter::BeginSystem(std::string_view summary_text) {
  Write(Head() + Text(summary_text));
}

void DocumentWriter::EndSystem() { Write(Tail()); }

void DocumentWriter::BeginList() {
  Write(Head());
  Aside("\n");
}

void DocumentWriter::EndList(std::string_view summary_text) {
  Write(Text(summary_text) + Tail());
  Aside("\n");
}

void DocumentWriter::Channel(std::string_view name, std::string_view value, std::string_view unit) {
  ++channel_counter_;
  Write(ChannelPiece(channel_counter_, name, value, unit));
}

void DocumentWriter::Channel(const ChannelDescription& channel) {
  ++channel_counter_;
  Write(DescribedChannelPiece(channel_counter_, channel));
}

void DocumentWriter::Error(std::string_view message) {
  // A long message is cut so that the document keeps its closing lines.
  const size_t room = kPieceLimit - kErrorHead.size() - kErrorTail.size();
  std::string document(kErrorHead);
  size_t used = 0;
  for (char c : message) {
    std::string piece = EscapeXml(std::string_view(&c, 1));
    if (used + piece.size() > room) break;
    document += piece;
    used += piece.size();
  }
  document += kErrorTail;
  Write(document);
}

void DocumentWriter::Aside(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream_);
}

void DocumentWriter::Write(std::string_view piece) { Aside(piece.substr(0, kPieceLimit)); }

std::unique_ptr<DocumentWriter> MakeDocumentWriter(OutputMode mode, ChannelSelection selection,
                                                   std::FILE* stream) {
  switch (mode) {
    case OutputMode::kHalvenor:
      return std::make_unique<HalvenorWriter>(stream);
    case OutputMode::kOrmilux:
      return std::make_unique<OrmiluxWriter>(stream, selection);
    default:
      return std::make_unique<XmlWriter>(stream);
  }
}

std::string ChannelKey(std::string_view name) {
  std::string key(name.substr(0, kChannelTextLimit));
  for (char& c : key) {
    if (std::string_view(" /\\[]*():-").find(c) != std::string_view::npos) c = '_';
  }
  size_t point = key.find('.');
  if (point != std::string::npos) key[point] = '_';
  return key;
}

}  // namespace vaultgauge
