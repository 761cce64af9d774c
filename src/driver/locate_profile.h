// Turns argument 1 into a profile file name, decides between the single and
// the global-list form, and finds the profile (or list) file: in PRTG's custom
// sensor folders in mode "EXEXML", in the folder of argument 1 otherwise.
#ifndef VAULTGAUGE_DRIVER_LOCATE_PROFILE_H_
#define VAULTGAUGE_DRIVER_LOCATE_PROFILE_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/output_mode.h"
#include "util/file_system.h"
#include "util/status.h"

namespace vaultgauge {

// The path file as Windows spells it; NativePath() gives this platform's.
inline constexpr char kPathListFile[] = "C:\\PRTG_Path.Txt";

inline constexpr size_t kProfileFolderCapacity = 95;
inline constexpr size_t kProfilePathCapacity = 95;

// A folder that the search of mode "EXEXML" looked into, and what it found.
enum class FolderState {
  kMissing,  // the file is not there
  kPresent,  // the file is there, but another folder was taken
  kUsed,     // taken
  kRefused,  // taken, and refused: not PRTG's folder, or a path too long
};

struct TriedFolder {
  std::string folder;  // empty for the working folder
  FolderState state = FolderState::kMissing;
};

// Where the profile, or the list, was found.
struct ProfileLocation {
  std::string name;          // the file's name, without folder
  std::string folder;        // empty, or ending with a path separator
  std::string path;          // folder followed by name
  bool global_list = false;  // argument 1 named the global list
  OutputMode mode = OutputMode::kExeXml;
  // The folders the search of mode "EXEXML" tried, in order; set also when
  // the search fails, so that progress lines can name them.
  std::vector<TriedFolder> tried_folders = {};
};

// `profile_name` is argument 1 as start-up read it; `selected_mode` is the
// mode the installation's settings select; `console` ("@") takes the profile
// from where argument 1 says in every mode; `program_folder` (with its
// separator, or empty when unknown) is the last place mode "EXEXML" looks in.
// The file at the location's path existed when this returned Ok. On failure
// only the location's tried folders are set.
Status LocateProfile(FileSystem& files, const std::string& profile_name, OutputMode selected_mode,
                     bool console, const std::string& program_folder, ProfileLocation* location);

// The folder that the path file's bytes name when read as a person means
// them: UTF-16 with its byte-order mark (either order) or 8-bit text (a UTF-8
// mark skipped), each line without its surrounding blanks and then without a
// pair of double quotes around it. The last line that names a folder counts,
// by the same rule as the file's plain reading; nothing when no line does,
// when a character cannot be spelled as a path here, or when the folder is
// longer than a profile folder may be. Ends with a separator.
std::optional<std::string> PathFileFolderAsMeant(std::string_view bytes);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_LOCATE_PROFILE_H_
