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

void CheckStartUp(const SensorState& state) {
  FUZZ_CHECK(!state.ProfileName.empty() && state.ProfileName.size() <= kProfileNameCapacity);
  FUZZ_CHECK(state.RawParameterText.size() <= kParameterTextCapacity);
  FUZZ_CHECK(state.ParameterText == UpperCase(state.RawParameterText));
  FUZZ_CHECK(state.ItemName.size() <= kItemNameCapacity);
  FUZZ_CHECK(state.ClientOverride.size() <= 3);
  FUZZ_CHECK(state.ShowProgress ==
             (state.ParameterText.find_first_of("#@$%") != std::string::npos));
  FUZZ_CHECK(state.StartLine.size() <= kStartLineCapacity);
}

// `prtg_search`: the profile was searched in PRTG's folders, not taken from
// the folder of argument 1.
void CheckLocation(const SensorState& state, bool prtg_search, FileSystem& files) {
  FUZZ_CHECK(state.ProfileName.size() <= kProfileNameCapacity);
  FUZZ_CHECK(state.ProfileFolder.size() <= kProfileFolderCapacity);
  FUZZ_CHECK(state.ProfilePath.size() <= kProfilePathCapacity);
  FUZZ_CHECK(state.ProfilePath == state.ProfileFolder + state.ProfileName);
  FUZZ_CHECK(state.ProfileFolder.empty() || state.ProfileFolder.back() == kPathSeparator);
  FUZZ_CHECK(files.Exists(state.ProfilePath));
  if (prtg_search) {
    const std::string& folder = state.ProfileFolder;
    FUZZ_CHECK(folder.size() >= 7 && UpperCase(folder.substr(folder.size() - 7, 6)) == "EXEXML");
  }
  if (state.ItemMode) {
    FUZZ_CHECK(state.ProfileName == "SAP Tarnwick.Gbl" || state.ProfileName == "Tarnwick.Prf");
  }
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

  SensorState state;
  Status status = StartUp(arguments, "03:15:07", &state);
  if (!status.ok()) {
    FUZZ_CHECK(StartsWith(status.message(), "Error 10"));
    return 0;
  }
  CheckStartUp(state);

  OutputMode selected;
  status = ReadOutputModeSetting(files, settings, &selected);
  if (!status.ok()) {
    FUZZ_CHECK(StartsWith(status.message(), "Error 1053: Invalid OutputMode \""));
    return 0;
  }
  OutputMode mode;
  status = LocateProfile(files, selected, &state, &mode);
  if (!status.ok()) {
    FUZZ_CHECK(StartsWith(status.message(), "Error 10") ||
               status.message() == "Sorry, invalid Path-Usage...");
    return 0;
  }
  FUZZ_CHECK(mode == selected);
  const bool by_hand = Contains(state.ParameterText, "@");
  CheckLocation(state, !by_hand && selected == OutputMode::kExeXml, files);
  return 0;
}
