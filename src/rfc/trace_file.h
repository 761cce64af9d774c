// Completes the error text of a failed RFC step with the library's own
// message from its trace file.
#ifndef VAULTGAUGE_RFC_TRACE_FILE_H_
#define VAULTGAUGE_RFC_TRACE_FILE_H_

#include <string>

#include "util/file_system.h"

namespace vaultgauge {

inline constexpr char kTraceFileName[] = "Dev_Rfc.Trc";

// The text to append to the failed step's error text: " - " and the message
// of the trace file's last error section, " - Please Check Trace-File !" when
// that section holds none, or " - Look for Trace-File" without a trace file.
std::string ScanTraceFile(FileSystem& files, const std::string& path = kTraceFileName);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_TRACE_FILE_H_
