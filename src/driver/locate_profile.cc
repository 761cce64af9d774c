#include "driver/locate_profile.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

bool NamesFolder(std::string_view line) {
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

// A path file is a line or two; a bigger one is no path file to read again.
constexpr size_t kPathFileByteLimit = 64 * 1024;

// One line of the path file as a person means it.
std::string_view Unwrapped(std::string_view line) {
  constexpr std::string_view kBlanks = " \t";
  size_t first = line.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return std::string_view();
  line = line.substr(first, line.find_last_not_of(kBlanks) - first + 1);
  if (line.size() >= 2 && line.front() == '"' && line.back() == '"') {
    line = line.substr(1, line.size() - 2);
  }
  return line;
}

// The lines of a text, each without its line end and cut at a NUL, as the
// plain reading cuts them.
template <typename Char>
std::vector<std::basic_string_view<Char>> TextLines(std::basic_string_view<Char> text) {
  std::vector<std::basic_string_view<Char>> lines;
  while (!text.empty()) {
    size_t end = text.find(Char('\n'));
    std::basic_string_view<Char> line = text.substr(0, end);
    text.remove_prefix(end == text.npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == Char('\r')) line.remove_suffix(1);
    line = line.substr(0, line.find(Char('\0')));
    lines.push_back(line);
  }
  return lines;
}

// The lines of the path file's bytes as this platform spells paths; a line
// that cannot be spelled so is left out.
std::vector<std::string> PathFileLines(std::string_view bytes) {
  std::vector<std::string> lines;
  const bool little_endian = StartsWith(bytes, "\xFF\xFE");
  if (little_endian || StartsWith(bytes, "\xFE\xFF")) {
    std::u16string units;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      unsigned char low = static_cast<unsigned char>(bytes[little_endian ? i : i + 1]);
      unsigned char high = static_cast<unsigned char>(bytes[little_endian ? i + 1 : i]);
      units.push_back(static_cast<char16_t>(high << 8 | low));
    }
    for (std::u16string_view line : TextLines(std::u16string_view(units))) {
      std::string spelled;
      if (PathFromUtf16(line, &spelled)) lines.push_back(std::move(spelled));
    }
    return lines;
  }
  if (StartsWith(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
  for (std::string_view line : TextLines(bytes)) lines.emplace_back(line);
  return lines;
}

// The search of mode "EXEXML": the folders it looks into, each once, in order.
class FolderSearch {
 public:
  FolderSearch(FileSystem& files, const std::string& name) : files_(files), name_(name) {}

  // Whether `folder` holds the file.
  bool Holds(const std::string& folder) {
    bool present = files_.Exists(folder + name_);
    bool seen = false;
    for (const TriedFolder& tried : tried_) seen = seen || tried.folder == folder;
    if (!seen) {
      tried_.push_back({folder, present ? FolderState::kPresent : FolderState::kMissing});
    }
    return present;
  }

  // Takes the file from `folder`, which holds it: its path must fit and the
  // folder must be PRTG's.
  Status Take(const std::string& folder, ProfileLocation* location) {
    location->folder = folder;
    Status status = SetProfilePath(location);
    if (status.ok() && !IsCustomSensorFolder(folder)) {
      status = Status::Error(Message(MessageId::kInvalidPathUsage));
    }
    for (TriedFolder& tried : tried_) {
      if (tried.folder == folder) {
        tried.state = status.ok() ? FolderState::kUsed : FolderState::kRefused;
      }
    }
    return status;
  }

  std::vector<TriedFolder> TakeTried() { return std::move(tried_); }

 private:
  FileSystem& files_;
  const std::string& name_;
  std::vector<TriedFolder> tried_;
};

// The sub-folders below the path file's folder, then that folder: the one
// that holds the file, a later sub-folder over an earlier one.
std::optional<std::string> FindBelowPathFileFolder(FolderSearch& search, std::string folder) {
  for (const char* sub_folder : kPathFileSubFolders) {
    std::string below = folder + NativePath(sub_folder);
    if (search.Holds(below)) folder = below;
  }
  if (!search.Holds(folder)) return std::nullopt;
  return folder;
}

// Without a path file: the working folder, then where PRTG installs itself.
std::optional<std::string> FindInFixedFolders(FolderSearch& search) {
  if (search.Holds("")) return std::string();
  for (const char* fixed_folder : kFixedFolders) {
    std::string folder = NativePath(fixed_folder);
    if (search.Holds(folder)) return folder;
  }
  return std::nullopt;
}

// The path file's folder as a person means it, where it differs from the
// folder of the plain reading (`plain`, when that reading succeeded).
std::optional<std::string> MeantFolder(FileSystem& files, const std::optional<std::string>& plain) {
  std::unique_ptr<TextFile> path_file = files.Open(NativePath(kPathListFile));
  if (!path_file) return std::nullopt;
  std::string bytes;
  bool too_long;
  path_file->ReadBytes(kPathFileByteLimit, &bytes, &too_long);
  if (too_long) return std::nullopt;
  std::optional<std::string> meant = PathFileFolderAsMeant(bytes);
  if (meant == plain) return std::nullopt;
  return meant;
}

Status SearchPrtgFolders(FileSystem& files, const std::string& program_folder,
                         ProfileLocation* location) {
  FolderSearch search(files, location->name);
  Status status = ProfileMissing(location->name);
  std::optional<std::string> found;
  std::optional<std::string> meant_folder;

  // The places installed sensors rely on, in their order.
  if (std::unique_ptr<TextFile> path_file = files.Open(NativePath(kPathListFile))) {
    std::string folder;
    Status read = ReadPathFile(*path_file, &folder);
    std::optional<std::string> plain;
    if (read.ok()) {
      plain = folder;
      found = FindBelowPathFileFolder(search, folder);
    } else {
      status = read;
    }
    meant_folder = MeantFolder(files, plain);
  } else {
    found = FindInFixedFolders(search);
  }
  if (found) status = search.Take(*found, location);

  // Only where those fail: the path file read as a person means it, and the
  // program's own folder, where PRTG starts it.
  if (!status.ok()) {
    found.reset();
    if (meant_folder) found = FindBelowPathFileFolder(search, *meant_folder);
    if (!found && !program_folder.empty() && search.Holds(program_folder)) found = program_folder;
    if (found) status = search.Take(*found, location);
  }
  location->tried_folders = search.TakeTried();
  return status;
}

}  // namespace

std::optional<std::string> PathFileFolderAsMeant(std::string_view bytes) {
  std::optional<std::string> folder;
  for (const std::string& line : PathFileLines(bytes)) {
    std::string_view meant = Unwrapped(line);
    if (NamesFolder(meant)) folder = meant;
  }
  if (!folder) return std::nullopt;
  if (folder->back() != kPathSeparator) *folder += kPathSeparator;
  if (folder->size() > kProfileFolderCapacity) return std::nullopt;
  return folder;
}

Status LocateProfile(FileSystem& files, const std::string& profile_name, OutputMode selected_mode,
                     bool console, const std::string& program_folder, ProfileLocation* location) {
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
    status = SearchPrtgFolders(files, program_folder, &found);
  }
  if (status.ok()) {
    *location = std::move(found);
  } else {
    location->tried_folders = std::move(found.tried_folders);
  }
  return status;
}

}  // namespace vaultgauge
