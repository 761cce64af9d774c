// Trace points of the RFC steps: one line "%d %s %s\n" per step (handle, step,
// detail), written to standard error and flushed at once, so that they never
// mix with the document on standard output. Written only while the parameter
// text holds ",SYSLOG".
#ifndef VAULTGAUGE_RFC_TRACE_POINTS_H_
#define VAULTGAUGE_RFC_TRACE_POINTS_H_

#include <cstdio>
#include <string>
#include <string_view>

#include "rfc/rfc_abi.h"

namespace vaultgauge {

class TracePoints {
 public:
  // `parameter_text` is the upper-cased parameter text; it is looked at at
  // every trace point, as the global list may replace it during the run.
  TracePoints(const std::string& parameter_text, std::FILE* stream = stderr)
      : parameter_text_(&parameter_text), stream_(stream) {}

  void Trace(RFC_HANDLE handle, std::string_view step, std::string_view detail = {}) const;

 private:
  const std::string* parameter_text_;
  std::FILE* stream_;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_TRACE_POINTS_H_
