// Start-up and the location of the profile on arbitrary command lines, path
// file contents and settings files, through the file-system seam. Whatever
// the input, an accepted run holds texts that fit their capacities, a profile
// path made of its folder and name, and a file that is there; in mode EXEXML
// that file lies in PRTG's ExeXml folder.
//
// The input: the arguments, each ended by a NUL byte (a command line holds
// none), an empty one ending the list; then the settings file
// "vaultgauge.ini", ended by two NUL bytes; then the path file. A file whose
// part is missing is not there.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "driver/locate_profile.h"
#include "driver/progress.h"
#include "driver/settings.h"
#include "driver/startup.h"
#include "fuzz_check.h"
#include "platform/platform.h"
#include "util/text.h"

namespace {

using namespace vaultgauge;

// The path file and the settings file as the input gives them; any other path
// exists or not by a hash salted by the input, so that the search finds
// profiles in some of the places it tries.
class FuzzFileSystem : public FileSystem {
 public:
  explicit FuzzFileSystem(uint32_t salt) : salt_(salt) {}
  void Add(const std::string& path, std::string contents) {
    given_.Add(path, std::move(contents));
    known_.push_back(path);
  }
  std::unique_ptr<TextFile> Open(const std::string& path) override {
    for (const std::string& known : known_) {
      if (known == path) return given_.Open(path);
    }
    if (((std::hash<std::string>{}(path) ^ salt_) & 3) != 0) return nullptr;
    others_.Add(path, std::string());
    return others_.Open(path);
  }

 private:
  uint32_t salt_;
  MemoryFileSystem given_, others_;
  std::vector<std::string> known_;
};

void CheckStartUp(const CommandLine& command_line) {
  const Parameters& parameters = command_line.parameters;
  FUZZ_CHECK(!command_line.profile_name.empty() &&
             command_line.profile_name.size() <= kProfileNameCapacity);
  FUZZ_CHECK(parameters.raw_text.size() <= kParameterTextCapacity);
  FUZZ_CHECK(parameters.text == UpperCase(parameters.raw_text));
  FUZZ_CHECK(parameters.item_name.size() <= kItemNameCapacity);
  FUZZ_CHECK(parameters.logon.client.size() <= 3);
  FUZZ_CHECK(parameters.show_progress ==
             (parameters.text.find_first_of("#@$%") != std::string::npos));
  FUZZ_CHECK(command_line.start_line.size() <= kProgressLineLimit);
}

// `prtg_search`: the profile was searched in PRTG's folders, not taken from
// the folder of argument 1.
void CheckLocation(const ProfileLocation& location, bool item_given, bool prtg_search,
                   FileSystem& files) {
  FUZZ_CHECK(location.name.size() <= kProfileNameCapacity);
  FUZZ_CHECK(location.folder.size() <= kProfileFolderCapacity);
  FUZZ_CHECK(location.path.size() <= kProfilePathCapacity);
  FUZZ_CHECK(location.path == location.folder + location.name);
  FUZZ_CHECK(location.folder.empty() || location.folder.back() == kPathSeparator);
  FUZZ_CHECK(files.Exists(location.path));
  if (prtg_search) {
    const std::string& folder = location.folder;
    FUZZ_CHECK(folder.size() >= 7 && UpperCase(folder.substr(folder.size() - 7, 6)) == "EXEXML");
  }
  if (location.global_list) FUZZ_CHECK(location.name == "SAP Tarnwick.Gbl");
  if (item_given) FUZZ_CHECK(location.name == "Tarnwick.Prf");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> arguments;
  size_t end;
  while ((end = input.find('\0')) != std::string_view::npos && end > 0) {
    arguments.emplace_back(input.substr(0, end));
    input.remove_prefix(end + 1);
  }
  const bool files_given = end != std::string_view::npos;
  if (files_given) input.remove_prefix(1);

  uint32_t salt = 0;
  for (const std::string& argument : arguments) {
    salt = salt * 31 + static_cast<uint32_t>(std::hash<std::string>{}(argument));
  }
  FuzzFileSystem files(salt);
  const std::string settings = ProgramFolder() + kSettingsFileName;
  if (files_given) {
    end = input.find(std::string_view("\0\0", 2));
    files.Add(settings, std::string(input.substr(0, end)));
    if (end != std::string_view::npos) {
      files.Add(NativePath(kPathListFile), std::string(input.substr(end + 2)));
    }
  }

  CommandLine command_line;
  Status status = ReadCommandLine(arguments, "03:15:07", &command_line);
  if (!status.ok()) {
    FUZZ_CHECK(StartsWith(status.message(), "Error 10"));
    return 0;
  }
  CheckStartUp(command_line);

  OutputMode selected;
  status = ReadOutputModeSetting(files, settings, &selected);
  if (!status.ok()) {
    // OutputMode=, RfcLibrary= or Parallel= of another value.
    FUZZ_CHECK(StartsWith(status.message(), "Error 1053: Invalid OutputMode \"") ||
               StartsWith(status.message(), "Error 1054: Invalid RfcLibrary \"") ||
               StartsWith(status.message(), "Error 1058: Invalid Parallel \""));
    return 0;
  }
  const Parameters& parameters = command_line.parameters;
  ProfileLocation location;
  // A program folder in PRTG's ExeXml folder, the last place of the search.
  status = LocateProfile(files, command_line.profile_name, selected, parameters.console,
                         NativePath("C:\\PRTG\\Custom Sensors\\ExeXml\\"), &location);
  // Every folder is named once; at most one is taken, and only it in success.
  unsigned taken = 0;
  for (size_t i = 0; i < location.tried_folders.size(); ++i) {
    const TriedFolder& tried = location.tried_folders[i];
    for (size_t j = 0; j < i; ++j) FUZZ_CHECK(location.tried_folders[j].folder != tried.folder);
    if (tried.state == FolderState::kUsed) {
      ++taken;
      FUZZ_CHECK(status.ok() && tried.folder == location.folder);
    }
  }
  FUZZ_CHECK(taken == (status.ok() && !location.tried_folders.empty() ? 1u : 0u));
  if (!status.ok()) {
    FUZZ_CHECK(StartsWith(status.message(), "Error 10") ||
               status.message() == "Sorry, invalid Path-Usage...");
    return 0;
  }
  FUZZ_CHECK(location.mode == selected);
  CheckLocation(location, parameters.item_given,
                !parameters.console && selected == OutputMode::kExeXml, files);
  return 0;
}
