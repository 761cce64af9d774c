#include "rfc/trace_file.h"

#include "util/text.h"

namespace vaultgauge {

namespace {

// A line of up to 98 characters and its line feed make one piece.
constexpr size_t kPieceLimit = 99;
constexpr size_t kTakenLimit = 87;
constexpr size_t kLabelWidth = 12;

}  // namespace

std::string ScanTraceFile(FileSystem& files, const std::string& path) {
  std::unique_ptr<TextFile> file = files.Open(path);
  if (file == nullptr) return " - Look for Trace-File";

  std::string taken;
  std::string piece;
  while (file->ReadPiece(kPieceLimit, &piece)) {
    if (StartsWith(piece, "**** ERROR ")) taken.clear();
    if (StartsWith(piece, "ERROR ")) {
      taken = piece.size() > kLabelWidth ? piece.substr(kLabelWidth) : std::string();
    }
    if (piece.size() >= 15 && piece.compare(7, 8, "======> ") == 0) taken = piece.substr(15);
    if (taken.size() > kTakenLimit) taken.resize(kTakenLimit);
    if (!taken.empty() && taken.back() == '\n') taken.pop_back();
    if (!taken.empty() && taken.back() == '\r') taken.pop_back();
  }
  if (taken.empty()) return " - Please Check Trace-File !";
  return " - " + taken;
}

}  // namespace vaultgauge
