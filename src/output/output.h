// The one document the sensor writes: assembled in the output buffer and
// written to standard output in pieces, in the form of the output mode.
#ifndef VAULTGAUGE_OUTPUT_OUTPUT_H_
#define VAULTGAUGE_OUTPUT_OUTPUT_H_

#include <cstdio>
#include <string>
#include <string_view>

#include "output/output_mode.h"

namespace vaultgauge {

// A text of at most 4095 characters (4096 with the C terminator the host's
// side counts). An append that would pass the capacity is cut there.
class OutputBuffer {
 public:
  static constexpr size_t kCapacity = 4096;
  static constexpr size_t kMaxLength = kCapacity - 1;

  void Append(std::string_view text);
  void Assign(std::string_view text);
  void Clear() { text_.clear(); }
  const std::string& text() const { return text_; }
  bool empty() const { return text_.empty(); }

 private:
  std::string text_;
};

// The key that names a channel in "Halvenor" mode.
std::string ChannelKey(std::string_view name);

class Output {
 public:
  // `parameter_text` is the upper-cased parameter text; "CH=" is looked up in
  // it at every use, as the global list may replace it during the run.
  Output(std::FILE* stream, const std::string& parameter_text)
      : stream_(stream), parameter_text_(parameter_text) {}

  void set_mode(OutputMode mode) { mode_ = mode; }
  OutputMode mode() const { return mode_; }

  // The frame of the document.
  void OutputHead();
  void OutputTextOpen();
  void AppendText(std::string_view text);  // a piece of the text section
  void OutputTextClose();
  void OutputTail();

  // One result channel; counts every call, written or not.
  void OutputChannel(std::string_view name, std::string_view value, std::string_view unit);
  unsigned ChannelCounter() const { return channel_counter_; }

  // Replaces the buffer by the error document carrying `message`; the message
  // may be the buffer's own text.
  void OutputError(std::string_view message);

  // Writes the buffer out and empties it.
  void OutputFlush();
  // The driver's final print: writes the buffer out and keeps it.
  void PrintBuffer();

  // Text outside the frame: the error text of a failed step.
  void Append(std::string_view text) { buffer_.Append(text); }
  void Clear() { buffer_.Clear(); }
  const OutputBuffer& buffer() const { return buffer_; }

  // Lines that bypass the buffer: progress lines and the like, "%s\n".
  void PrintLine(std::string_view line);
  void Print(std::string_view text);

 private:
  // Text that the XML modes escape and the line modes write as it is.
  std::string DocumentText(std::string_view text) const;
  // "Ormilux" with "CH=": one channel is selected, by its number.
  bool SelectsChannel() const;
  long long SelectedChannel() const;

  std::FILE* stream_;
  const std::string& parameter_text_;
  OutputMode mode_ = OutputMode::kExeXml;
  OutputBuffer buffer_;
  unsigned channel_counter_ = 0;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_OUTPUT_OUTPUT_H_
