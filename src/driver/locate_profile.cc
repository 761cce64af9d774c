#include "driver/locate_profile.h"

#include <memory>
#include <string>

#include "driver/global_list.h"
#include "platform/platform.h"
#include "util/text.h"

namespace vaultgauge {

namespace {

constexpr char kProfileExtension[] = ".P00";
constexpr char kGlobalProfileName[] = "GLOBAL.P00";

// Tried below the folder that the path file names, in this order.
constexpr const char* kPathFileSubFolders[] = {
    "PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "Custom Sensors\\ExeXml\\",
};

// Where PRTG installs itself, tried after the path file's folder.
constexpr const char* kFixedFolders[] = {
    "\\Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
};

constexpr size_t kPathFileLineLimit = 99;

Status ProfileMissing(const std::string& name) {
  return Status::Error("Error 1002: Profile " + name + " is missing...");
}

void ApplyGlobalName(SensorState* state) {
  if (UpperCase(state->ProfileName) == kGlobalProfileName) {
    state->ItemMode = true;
    state->ProfileName = kGlobalListFile;
  }
}

// A separator at the very start names no folder: the name is kept whole.
void SplitFolder(SensorState* state) {
  size_t last = state->ProfileName.find_last_of(kPathSeparator);
  if (last == std::string::npos || last == 0) return;
  state->ProfileFolder = state->ProfileName.substr(0, last + 1);
  state->ProfileName.erase(0, last + 1);
}

// The path is never cut: a cut one would name another file.
Status SetProfilePath(SensorState* state) {
  std::string path = state->ProfileFolder + state->ProfileName;
  if (path.size() > kProfilePathCapacity) {
    return Status::Error("Error 1057: Profile-Path " + path + " is too long (more than " +
                         std::to_string(kProfilePathCapacity) + " characters) !");
  }
  state->ProfilePath = path;
  return Status::Ok();
}

// The profile in the folder of argument 1.
Status OpenInGivenFolder(FileSystem& files, SensorState* state) {
  Status status = SetProfilePath(state);
  if (!status.ok()) return status;
  if (!files.Exists(state->ProfilePath)) return ProfileMissing(state->ProfilePath);
  return Status::Ok();
}

bool NamesFolder(const std::string& line) {
  return (line.size() > 0 && line[0] == kPathSeparator) ||
         (line.size() > 2 && line[2] == kPathSeparator) || (line.size() > 1 && line[1] == ':');
}

// The folder that the path file names: its last line that looks like one,
// with a separator at its end.
Status ReadPathFile(TextFile& path_file, std::string* folder) {
  folder->clear();
  bool too_long = false;
  std::string line;
  bool line_too_long;
  while (path_file.ReadLine(kPathFileLineLimit, &line, &line_too_long)) {
    if (!NamesFolder(line)) continue;
    *folder = line;
    too_long = line_too_long;
  }
  if (folder->empty() || folder->back() != kPathSeparator) *folder += kPathSeparator;
  if (too_long || folder->size() > kProfileFolderCapacity) {
    return Status::Error("Error 1056: Folder in " + NativePath(kPathListFile) +
                         " is too long (more than " + std::to_string(kProfileFolderCapacity) +
                         " characters) !");
  }
  return Status::Ok();
}

// The folder of PRTG's custom sensors of this kind ends in "ExeXml" and a
// separator, in any case of letters.
bool IsCustomSensorFolder(const std::string& folder) {
  return folder.size() >= 7 && UpperCase(folder.substr(folder.size() - 7, 6)) == "EXEXML";
}

Status SearchPrtgFolders(FileSystem& files, SensorState* state) {
  const std::string& name = state->ProfileName;
  std::string& folder = state->ProfileFolder;
  folder.clear();

  if (std::unique_ptr<TextFile> path_file = files.Open(NativePath(kPathListFile))) {
    Status status = ReadPathFile(*path_file, &folder);
    if (!status.ok()) return status;
    for (const char* sub_folder : kPathFileSubFolders) {
      std::string below = folder + NativePath(sub_folder);
      if (files.Exists(below + name)) folder = below;
    }
    if (!files.Exists(folder + name)) return ProfileMissing(name);
  }

  bool found = files.Exists(folder + name);
  for (const char* fixed_folder : kFixedFolders) {
    if (found) break;
    folder = NativePath(fixed_folder);
    found = files.Exists(folder + name);
  }
  if (!found) return ProfileMissing(name);

  Status status = SetProfilePath(state);
  if (!status.ok()) return status;
  if (!IsCustomSensorFolder(folder)) return Status::Error("Sorry, invalid Path-Usage...");
  return Status::Ok();
}

}  // namespace

Status LocateProfile(FileSystem& files, OutputMode selected_mode, SensorState* state,
                     OutputMode* mode) {
  // The extension test looks at the whole argument, folder included.
  std::string& name = state->ProfileName;
  if (name.size() < 4 || name[name.size() - 4] != '.') name += kProfileExtension;
  if (name.size() > kProfileNameCapacity) {
    return Status::Error("Error 1055: Profile-Name " + name + " is too long (more than " +
                         std::to_string(kProfileNameCapacity) + " characters) !");
  }
  ApplyGlobalName(state);
  *mode = OutputMode::kExeXml;
  state->ProfileFolder.clear();
  SplitFolder(state);
  ApplyGlobalName(state);

  // With "@" the sensor is run by hand on a console: it takes the profile
  // from where argument 1 says, as in the selected modes.
  if (selected_mode != OutputMode::kExeXml || Contains(state->ParameterText, "@")) {
    *mode = selected_mode;
    return OpenInGivenFolder(files, state);
  }
  return SearchPrtgFolders(files, state);
}

}  // namespace vaultgauge
