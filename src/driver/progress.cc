#include "driver/progress.h"

#include "driver/startup.h"
#include "util/text.h"

namespace vaultgauge {

std::string ProgressText(const std::string& text) { return text.substr(0, kProgressLineLimit); }

std::string SystemProgressText(const std::string& time, const std::string& name,
                               const ConnectionProfile& profile) {
  return ProgressText("* " + time + " " + name + ", " + profile.display_host + ", " +
                      profile.destination + ", " + profile.sysnr + ", " + profile.client);
}

std::string ShownParameters(const std::string& raw_parameter_text) {
  std::string shown = raw_parameter_text;
  CutAt(&shown, "#");
  CutAt(&shown, "@");
  if (shown == "(Parameters " || shown == "(No ") shown.clear();
  if (shown.empty()) shown = "(No Parameters)";
  return shown;
}

std::string ProcessedLine(const std::string& time) {
  return ProgressText("\n* " + time + " SAP " + kProgramWord + " now processed...");
}

}  // namespace vaultgauge
