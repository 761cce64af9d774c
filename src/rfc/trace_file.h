// The library's trace file "Dev_Rfc.Trc": the library's own words for a failed
// RFC step. Many sensors run at once in one folder and share the file, so a
// run reads the section of its own failure and deletes the file only when no
// other run has written to it.
#ifndef VAULTGAUGE_RFC_TRACE_FILE_H_
#define VAULTGAUGE_RFC_TRACE_FILE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "util/file_system.h"

namespace vaultgauge {

inline constexpr char kTraceFileName[] = "Dev_Rfc.Trc";

// The trace file as a run found it when it loaded the library.
struct TraceFileMark {
  std::optional<uint64_t> size;  // none when there was no trace file
};

TraceFileMark MarkTraceFile(const std::string& path = kTraceFileName);

// The text to append to the failed step's error text: " - Look for
// Trace-File" when there is no trace file to read; else " - " and
// `own_message`, the library's last error in this process, which is the
// message of this run's own section (the file's last section may be another
// run's); without it, " - " and the message of the last section, or " -
// Please Check Trace-File !" when that holds none. Messages are cut to 87
// characters, as a section's line holds them.
std::string ScanTraceFile(FileSystem& files, std::string_view own_message = {},
                          const std::string& path = kTraceFileName);

// After a successful run: deletes the trace file unless another run has
// written to it since `mark` (its message would be lost to that run).
void RemoveTraceFileUnlessWritten(const TraceFileMark& mark,
                                  const std::string& path = kTraceFileName);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_TRACE_FILE_H_
