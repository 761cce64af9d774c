// The trace-file scan: whatever the library wrote, the text appended to the
// error message is one of the fixed hints or " - " and one line of at most 87
// characters.
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "rfc/trace_file.h"
#include "util/file_system.h"
#include "util/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vaultgauge;
  MemoryFileSystem files;
  files.Add(kTraceFileName, std::string(reinterpret_cast<const char*>(data), size));
  std::string text = ScanTraceFile(files);
  FUZZ_CHECK(StartsWith(text, " - "));
  FUZZ_CHECK(text.size() <= 3 + 87);
  FUZZ_CHECK(text.find('\n') == std::string::npos);
  FUZZ_CHECK(text.find('\0') == std::string::npos);
  return 0;
}
