#include "rfc/trace_points.h"

namespace vaultgauge {

void TracePoints::Trace(RFC_HANDLE handle, std::string_view step, std::string_view detail) const {
  if (stream_ == nullptr || !enabled_) return;
  std::fprintf(stream_, "%d %.*s %.*s\n", static_cast<int>(handle), static_cast<int>(step.size()),
               step.data(), static_cast<int>(detail.size()), detail.data());
  std::fflush(stream_);
}

}  // namespace vaultgauge
