// Trace points of the RFC steps: one line "%d %s %s\n" per step (handle, step,
// detail), written to standard error and flushed at once, so that they never
// mix with the document on standard output. Written only when the parameters
// ask for them (",SYSLOG").
#ifndef VAULTGAUGE_RFC_TRACE_POINTS_H_
#define VAULTGAUGE_RFC_TRACE_POINTS_H_

#include <cstdio>
#include <string>
#include <string_view>

#include "rfc/rfc_abi.h"

namespace vaultgauge {

class TracePoints {
 public:
  explicit TracePoints(bool enabled, std::FILE* stream = stderr)
      : enabled_(enabled), stream_(stream) {}

  void Trace(RFC_HANDLE handle, std::string_view step, std::string_view detail = {}) const;

 private:
  bool enabled_;
  std::FILE* stream_;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_TRACE_POINTS_H_
