// Turns argument 1 into a profile file name, decides between the single and
// the global-list form, and finds the profile (or list) file: in PRTG's custom
// sensor folders in mode "EXEXML", in the folder of argument 1 otherwise.
#ifndef VAULTGAUGE_DRIVER_LOCATE_PROFILE_H_
#define VAULTGAUGE_DRIVER_LOCATE_PROFILE_H_

#include <string>

#include "output/output_mode.h"
#include "util/file_system.h"
#include "util/status.h"

namespace vaultgauge {

// The path file as Windows spells it; NativePath() gives this platform's.
inline constexpr char kPathListFile[] = "C:\\PRTG_Path.Txt";

inline constexpr size_t kProfileFolderCapacity = 95;
inline constexpr size_t kProfilePathCapacity = 95;

// Where the profile, or the list, was found.
struct ProfileLocation {
  std::string name;          // the file's name, without folder
  std::string folder;        // empty, or ending with a path separator
  std::string path;          // folder followed by name
  bool global_list = false;  // argument 1 named the global list
  OutputMode mode = OutputMode::kExeXml;
};

// `profile_name` is argument 1 as start-up read it; `selected_mode` is the
// mode the installation's settings select; `console` ("@") takes the profile
// from where argument 1 says in every mode. The file at the location's path
// existed when this returned Ok.
Status LocateProfile(FileSystem& files, const std::string& profile_name, OutputMode selected_mode,
                     bool console, ProfileLocation* location);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_LOCATE_PROFILE_H_
