#include "output/document_writer.h"

#include <cerrno>

#include "output/line_writers.h"
#include "output/xml_writer.h"
#include "util/text.h"

namespace vaultgauge {

namespace {

constexpr std::string_view kErrorHead = "<Prtg>\n<Error>1</Error>\n<Text>";
constexpr std::string_view kErrorTail = "</Text>\n</Prtg>\n";

}  // namespace

void DocumentWriter::BeginSystem(std::string_view summary_text) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Write(Head() + Text(summary_text));
}

void DocumentWriter::EndSystem() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Write(Tail());
  WriteHeld(true);
  complete_ = true;
}

void DocumentWriter::BeginList() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Write(Head());
  Hold("\n", true);
}

void DocumentWriter::EndList(std::string_view summary_text) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Write(Text(summary_text) + Tail());
  Hold("\n", true);
  WriteHeld(true);
  complete_ = true;
}

void DocumentWriter::Channel(std::string_view name, std::string_view value, std::string_view unit) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  ++channel_counter_;
  Write(ChannelPiece(channel_counter_, name, value, unit));
}

void DocumentWriter::Channel(const ChannelDescription& channel) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  ++channel_counter_;
  Write(DescribedChannelPiece(channel_counter_, channel));
}

void DocumentWriter::Error(std::string_view message) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (ended_) return;
  WriteHeld(false);
  WriteError(message);
  ended_ = true;
}

bool DocumentWriter::ErrorUnlessComplete(std::string_view message) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (ended_ || complete_) return false;
  Error(message);
  return true;
}

void DocumentWriter::ErrorReport(std::string_view report) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (ended_) return;
  if (HoldsDocument()) {
    WriteHeld(false);
    WriteError(report);
  } else {
    Emit(report);
  }
  ended_ = true;
}

void DocumentWriter::Aside(std::string_view text) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Hold(std::string(text), false);
}

bool DocumentWriter::Flush() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  WriteHeld(true);
  if (std::fflush(stream_) != 0 || std::ferror(stream_)) Failed();
  return !failed_;
}

void DocumentWriter::Write(std::string piece) {
  if (piece.size() > kPieceLimit) piece.resize(kPieceLimit);
  Hold(std::move(piece), true);
}

void DocumentWriter::Hold(std::string text, bool document) {
  if (ended_ || text.empty()) return;
  if (HoldsDocument()) {
    held_.push_back(Held{std::move(text), document});
  } else {
    Emit(text);
  }
}

void DocumentWriter::WriteHeld(bool documents_too) {
  for (const Held& held : held_) {
    if (documents_too || !held.document) Emit(held.text);
  }
  held_.clear();
}

void DocumentWriter::WriteError(std::string_view message) {
  // A long message is cut so that the document keeps its closing lines.
  const size_t room = kPieceLimit - kErrorHead.size() - kErrorTail.size();
  std::string document(kErrorHead);
  document += EscapeXml(message, room);
  document += kErrorTail;
  Emit(document);
}

void DocumentWriter::Failed() {
  // Taken at once: later calls may change errno.
  if (!failed_) write_error_ = errno;
  failed_ = true;
}

void DocumentWriter::Emit(std::string_view text) {
  if (std::fwrite(text.data(), 1, text.size(), stream_) != text.size()) Failed();
}

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
