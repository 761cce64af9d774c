#include "output/output_mode.h"

namespace vaultgauge {

namespace {
constexpr struct {
  OutputMode mode;
  std::string_view keyword;
} kModes[] = {
    {OutputMode::kExeXml, "EXEXML"},     {OutputMode::kGlimora, "Glimora"},
    {OutputMode::kHalvenor, "Halvenor"}, {OutputMode::kOrmilux, "Ormilux"},
    {OutputMode::kTessvar, "Tessvar"},
};
}  // namespace

std::string_view OutputModeKeyword(OutputMode mode) {
  for (const auto& entry : kModes) {
    if (entry.mode == mode) return entry.keyword;
  }
  return "EXEXML";
}

std::optional<OutputMode> ParseOutputMode(std::string_view keyword) {
  for (const auto& entry : kModes) {
    if (entry.keyword == keyword) return entry.mode;
  }
  return std::nullopt;
}

}  // namespace vaultgauge
