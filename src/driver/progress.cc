#include "driver/progress.h"

#include "driver/startup.h"
#include "platform/platform.h"
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

namespace {

const char* FolderStateText(FolderState state) {
  switch (state) {
    case FolderState::kPresent:
      return "Present";
    case FolderState::kUsed:
      return "Used";
    case FolderState::kRefused:
      return "Refused";
    default:
      return "Missing";
  }
}

}  // namespace

std::string TriedFolderLines(const std::vector<TriedFolder>& tried_folders) {
  std::string lines;
  for (const TriedFolder& tried : tried_folders) {
    const std::string folder = tried.folder.empty() ? CurrentFolder() : tried.folder;
    lines += ProgressText("* Profile-Folder...: " + folder) +
             " State=" + FolderStateText(tried.state) + "\n";
  }
  return lines;
}

std::string ProcessedLine(const std::string& time) {
  return ProgressText("\n* " + time + " SAP " + kProgramWord + " now processed...");
}

}  // namespace vaultgauge
