#include "output/output.h"

#include <algorithm>

#include "util/text.h"

namespace vaultgauge {

namespace {

// Texts that a channel carries are bounded like the fixed fields they come from.
constexpr size_t kChannelTextLimit = 123;

// The unit as the line modes write it.
std::string_view UnitDisplayForm(std::string_view unit) {
  if (unit.empty()) return "#";
  if (unit == "PerCent") return "%";
  if (unit == "TimeResponse") return "mSec";
  return unit;
}

constexpr std::string_view kErrorHead = "<Prtg>\n<Error>1</Error>\n<Text>";
constexpr std::string_view kErrorTail = "</Text>\n</Prtg>\n";

}  // namespace

void OutputBuffer::Append(std::string_view text) {
  size_t room = kMaxLength - text_.size();
  text_.append(text.substr(0, room));
}

void OutputBuffer::Assign(std::string_view text) { text_.assign(text.substr(0, kMaxLength)); }

std::string ChannelKey(std::string_view name) {
  std::string key(name.substr(0, kChannelTextLimit));
  for (char& c : key) {
    if (std::string_view(" /\\[]*():-").find(c) != std::string_view::npos) c = '_';
  }
  size_t point = key.find('.');
  if (point != std::string::npos) key[point] = '_';
  return key;
}

std::string Output::DocumentText(std::string_view text) const {
  return IsXmlMode(mode_) ? EscapeXml(text) : std::string(text);
}

void Output::OutputHead() {
  if (IsXmlMode(mode_)) {
    buffer_.Assign("\n<Prtg>\n");
  } else {
    buffer_.Clear();
  }
}

void Output::OutputTextOpen() { buffer_.Append(IsXmlMode(mode_) ? "\n<Text>" : "\n# "); }

void Output::AppendText(std::string_view text) { buffer_.Append(DocumentText(text)); }

void Output::OutputTextClose() {
  if (IsXmlMode(mode_)) {
    buffer_.Append("</Text>\n");
  } else if (SelectsChannel()) {
    // A host that asked for one bare value must not get the head and text.
    buffer_.Clear();
  }
}

void Output::OutputTail() { buffer_.Append(IsXmlMode(mode_) ? "\n</Prtg>\n" : "\n"); }

bool Output::SelectsChannel() const {
  return mode_ == OutputMode::kOrmilux && Contains(parameter_text_, "CH=");
}

long long Output::SelectedChannel() const {
  // At most three characters after "CH=", ending early at a comma. The digits
  // are read from the text that was searched: upper-casing leaves them as they
  // are, and the position stays valid after the progress line cut the raw text.
  size_t at = parameter_text_.find("CH=") + 3;
  std::string_view number = std::string_view(parameter_text_).substr(at, 3);
  number = number.substr(0, number.find(','));
  return ParseDecimal(number);
}

void Output::OutputChannel(std::string_view name, std::string_view value, std::string_view unit) {
  ++channel_counter_;
  if (mode_ == OutputMode::kHalvenor && channel_counter_ > 10) return;
  value = value.substr(0, kChannelTextLimit);
  unit = unit.substr(0, kChannelTextLimit);

  switch (mode_) {
    case OutputMode::kHalvenor: {
      // In item mode the caller passes the system label as the name, so the
      // key is made from the label there.
      std::string key = ChannelKey(name);
      std::string text = "\n\nMessage.";
      text.append(key).append(": ").append(name).append(" (").append(UnitDisplayForm(unit));
      text.append(")\nStatistic.").append(key).append(": ").append(value);
      buffer_.Append(text);
      break;
    }
    case OutputMode::kOrmilux:
      if (SelectsChannel()) {
        if (SelectedChannel() == static_cast<long long>(channel_counter_)) buffer_.Append(value);
      } else {
        std::string text = "\n> ";
        text.append(name).append(": ").append(value).append(" ").append(UnitDisplayForm(unit));
        buffer_.Append(text);
      }
      break;
    default: {
      std::string text = "\n<Result><Channel>";
      text.append(EscapeXml(name)).append("</Channel>");
      if (!unit.empty()) {
        text.append("\n<Unit>Custom</Unit>\n<CustomUnit>").append(EscapeXml(unit));
        text.append("</CustomUnit>");
      }
      text.append("\n<Value>").append(EscapeXml(value)).append("</Value></Result>\n");
      buffer_.Append(text);
      break;
    }
  }
}

void Output::OutputError(std::string_view message) {
  // The message may be the buffer's own text: compose aside, then replace.
  // A long message is cut so that the document keeps its closing lines.
  const size_t room = OutputBuffer::kMaxLength - kErrorHead.size() - kErrorTail.size();
  std::string document(kErrorHead);
  size_t used = 0;
  for (char c : message) {
    std::string piece = EscapeXml(std::string_view(&c, 1));
    if (used + piece.size() > room) break;
    document += piece;
    used += piece.size();
  }
  document += kErrorTail;
  buffer_.Assign(document);
}

void Output::OutputFlush() {
  PrintBuffer();
  buffer_.Clear();
}

void Output::PrintBuffer() { std::fputs(buffer_.text().c_str(), stream_); }

void Output::PrintLine(std::string_view line) {
  Print(line);
  Print("\n");
}

void Output::Print(std::string_view text) { std::fputs(std::string(text).c_str(), stream_); }

}  // namespace vaultgauge
