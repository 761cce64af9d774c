#include "driver/locate_profile.h"

#include <memory>
#include <string>

#include "driver/global_list.h"
#include "driver/startup.h"
#include "platform/platform.h"
#include "util/messages.h"
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
  return Status::Error(Message(MessageId::kProfileMissing, {name}));
}

// A separator at the very start names no folder: the name is kept whole.
void SplitFolder(ProfileLocation* location) {
  size_t last = location->name.find_last_of(kPathSeparator);
  if (last == std::string::npos || last == 0) return;
  location->folder = location->name.substr(0, last + 1);
  location->name.erase(0, last + 1);
}

// The path is never cut: a cut one would name another file.
Status SetProfilePath(ProfileLocation* location) {
  std::string path = location->folder + location->name;
  if (path.size() > kProfilePathCapacity) {
    return Status::Error(
        Message(MessageId::kProfilePathTooLong, {path, std::to_string(kProfilePathCapacity)}));
  }
  location->path = path;
  return Status::Ok();
}

// The profile in the folder of argument 1.
Status OpenInGivenFolder(FileSystem& files, ProfileLocation* location) {
  Status status = SetProfilePath(location);
  if (!status.ok()) return status;
  if (!files.Exists(location->path)) return ProfileMissing(location->path);
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
    return Status::Error(
        Message(MessageId::kPathFileFolderTooLong,
                {NativePath(kPathListFile), std::to_string(kProfileFolderCapacity)}));
  }
  return Status::Ok();
}

// The folder of PRTG's custom sensors of this kind ends in "ExeXml" and a
// separator, in any case of letters.
bool IsCustomSensorFolder(const std::string& folder) {
  return folder.size() >= 7 && UpperCase(folder.substr(folder.size() - 7, 6)) == "EXEXML";
}

Status SearchPrtgFolders(FileSystem& files, ProfileLocation* location) {
  const std::string& name = location->name;
  std::string& folder = location->folder;
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

  Status status = SetProfilePath(location);
  if (!status.ok()) return status;
  if (!IsCustomSensorFolder(folder)) return Status::Error(Message(MessageId::kInvalidPathUsage));
  return Status::Ok();
}

}  // namespace

Status LocateProfile(FileSystem& files, const std::string& profile_name, OutputMode selected_mode,
                     bool console, ProfileLocation* location) {
  ProfileLocation found;
  // The extension test looks at the whole argument, folder included.
  std::string& name = found.name;
  name = profile_name;
  if (name.size() < 4 || name[name.size() - 4] != '.') name += kProfileExtension;
  if (name.size() > kProfileNameCapacity) {
    return Status::Error(
        Message(MessageId::kProfileNameTooLong, {name, std::to_string(kProfileNameCapacity)}));
  }
  // The global name is recognised on the name without its folder, which is
  // also the whole name when there is no folder.
  SplitFolder(&found);
  if (UpperCase(name) == kGlobalProfileName) {
    found.global_list = true;
    name = kGlobalListFile;
  }

  // With "@" the sensor is run by hand on a console: it takes the profile
  // from where argument 1 says, as in the selected modes.
  Status status;
  if (selected_mode != OutputMode::kExeXml || console) {
    found.mode = selected_mode;
    status = OpenInGivenFolder(files, &found);
  } else {
    status = SearchPrtgFolders(files, &found);
  }
  if (status.ok()) *location = std::move(found);
  return status;
}

}  // namespace vaultgauge
