// The one document the sensor writes on standard output, in the form of the
// output mode: one writer per mode behind the same small interface. The
// writer decides when what it was given reaches the stream; callers only say
// what the document holds.
#ifndef VAULTGAUGE_OUTPUT_DOCUMENT_WRITER_H_
#define VAULTGAUGE_OUTPUT_DOCUMENT_WRITER_H_

#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/output_mode.h"

namespace vaultgauge {

// "Ormilux" with "CH=": the one channel whose bare value the host asked for.
struct ChannelSelection {
  bool active = false;
  long long number = 0;  // counted from 1
};

// Texts that a channel carries are bounded like the fixed fields they come from.
inline constexpr size_t kChannelTextLimit = 123;

// How the host is to read a channel's value.
enum class ChannelKind {
  kCustom,   // the custom unit given
  kPercent,  // a per cent with one decimal
  kCount,    // a number of things
};

// When the host turns the channel yellow (above the warning limit) or red
// (above the error limit).
struct ChannelLimits {
  std::optional<unsigned> max_warning;
  unsigned max_error = 0;
};

// A channel with what it may carry besides name, value and unit. A custom
// channel without limits or warning is written as the plain channel.
struct ChannelDescription {
  std::string_view name;
  std::string_view value;
  std::string_view unit;  // the custom unit, and what the line modes show
  ChannelKind kind = ChannelKind::kCustom;
  std::optional<ChannelLimits> limits;
  bool warning = false;  // the channel in the host's warning state
};

class DocumentWriter {
 public:
  // A piece of the document never exceeds this many characters; the hosts'
  // side reads it into a buffer of 4096 with its terminator.
  static constexpr size_t kPieceLimit = 4095;

  explicit DocumentWriter(std::FILE* stream) : stream_(stream) {}
  virtual ~DocumentWriter() = default;
  DocumentWriter(const DocumentWriter&) = delete;
  DocumentWriter& operator=(const DocumentWriter&) = delete;

  // The document of one system: its head and summary text, a channel per
  // tablespace, its tail.
  void BeginSystem(std::string_view summary_text);
  void EndSystem();

  // The document of a global list: its head, a channel per system, then the
  // summary text and the tail.
  void BeginList();
  void EndList(std::string_view summary_text);

  // One result channel. Every call counts, written or not.
  void Channel(std::string_view name, std::string_view value, std::string_view unit);
  void Channel(const ChannelDescription& channel);

  // The error document carrying `message`, the same in every mode. A writer
  // that holds its document drops it for the error document; nothing is
  // written after it.
  void Error(std::string_view message);

  // The same, unless the document is complete already (the run is about to
  // end well) or an error was written: then nothing, and false.
  bool ErrorUnlessComplete(std::string_view message);

  // The library's fatal error report: in the XML modes inside the error
  // document, in the line modes as its lines. Nothing is written after it.
  void ErrorReport(std::string_view report);

  // Text besides the document, in its place among the pieces: progress lines.
  void Aside(std::string_view text);

  // Writes out what is held and flushes the stream. False when the stream
  // could not take everything written to it; `write_error` then tells why.
  bool Flush();
  int write_error() const { return write_error_; }

 protected:
  // Whether the document is held until its end, so that a failure before it
  // gives the error document alone: the XML modes, whose host reads the
  // whole output as one document.
  virtual bool HoldsDocument() const { return false; }

  // The pieces of the mode's form.
  virtual std::string Head() = 0;
  virtual std::string Text(std::string_view text) = 0;
  // Empty when the mode leaves the channel out.
  virtual std::string ChannelPiece(unsigned counter, std::string_view name, std::string_view value,
                                   std::string_view unit) = 0;
  virtual std::string Tail() = 0;
  // A described channel. The line hosts' forms have no place for kinds,
  // limits or warnings: by default it is the plain channel.
  virtual std::string DescribedChannelPiece(unsigned counter, const ChannelDescription& channel) {
    return ChannelPiece(counter, channel.name, channel.value, channel.unit);
  }

 private:
  struct Held {
    std::string text;
    bool document;  // a piece of the document, not text besides it
  };

  void Write(std::string piece);
  void Hold(std::string text, bool document);
  void WriteHeld(bool documents_too);
  void WriteError(std::string_view message);
  void Emit(std::string_view text);
  void Failed();

  // Every write is whole: a watchdog may end the run from another thread.
  std::recursive_mutex mutex_;
  std::FILE* stream_;
  unsigned channel_counter_ = 0;
  std::vector<Held> held_;
  bool ended_ = false;     // an error document or report was written
  bool complete_ = false;  // the document's tail was written
  bool failed_ = false;
  int write_error_ = 0;  // errno of the first failed write
};

// The writer of `mode`; the selection matters in "Ormilux" only.
std::unique_ptr<DocumentWriter> MakeDocumentWriter(OutputMode mode, ChannelSelection selection,
                                                   std::FILE* stream);

// The key that names a channel in "Halvenor" mode.
std::string ChannelKey(std::string_view name);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_OUTPUT_DOCUMENT_WRITER_H_
