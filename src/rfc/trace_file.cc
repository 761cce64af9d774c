#include "rfc/trace_file.h"

#include "platform/platform.h"
#include "util/text.h"

namespace vaultgauge {

namespace {

// A line of up to 98 characters and its line feed make one piece.
constexpr size_t kPieceLimit = 99;
constexpr size_t kTakenLimit = 87;
constexpr size_t kLabelWidth = 12;

// A message as a section's text is taken: at most 87 characters.
std::string Taken(std::string_view message) {
  std::string taken(message.substr(0, kTakenLimit));
  while (!taken.empty() && (taken.back() == '\n' || taken.back() == '\r')) taken.pop_back();
  return taken;
}

}  // namespace

TraceFileMark MarkTraceFile(const std::string& path) {
  return TraceFileMark{RegularFileSize(path)};
}

std::string ScanTraceFile(FileSystem& files, std::string_view own_message,
                          const std::string& path) {
  std::unique_ptr<TextFile> file = files.Open(path);
  if (file == nullptr) return " - Look for Trace-File";
  // The library wrote this run's section with the message it keeps as its
  // last error; the last section of the file may be another run's.
  const std::string own = Taken(own_message);
  if (!own.empty()) return " - " + own;

  std::string taken;
  std::string piece;
  while (file->ReadPiece(kPieceLimit, &piece)) {
    if (StartsWith(piece, "**** ERROR ")) taken.clear();
    if (StartsWith(piece, "ERROR ")) {
      taken = piece.size() > kLabelWidth ? piece.substr(kLabelWidth) : std::string();
    }
    if (piece.size() >= 15 && piece.compare(7, 8, "======> ") == 0) taken = piece.substr(15);
    taken = Taken(taken);
  }
  if (taken.empty()) return " - Please Check Trace-File !";
  return " - " + taken;
}

void RemoveTraceFileUnlessWritten(const TraceFileMark& mark, const std::string& path) {
  std::optional<uint64_t> now = RegularFileSize(path);
  if (!now || now != mark.size) return;
  RemoveFile(path);
}

}  // namespace vaultgauge
