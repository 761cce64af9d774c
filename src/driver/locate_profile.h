// Turns argument 1 into a profile file name, decides between the single and
// the global-list form, and finds the profile (or list) file: in PRTG's custom
// sensor folders in mode "EXEXML", in the folder of argument 1 otherwise.
#ifndef VAULTGAUGE_DRIVER_LOCATE_PROFILE_H_
#define VAULTGAUGE_DRIVER_LOCATE_PROFILE_H_

#include "driver/sensor_state.h"
#include "output/output_mode.h"
#include "util/file_system.h"
#include "util/status.h"

namespace vaultgauge {

// The path file as Windows spells it; NativePath() gives this platform's.
inline constexpr char kPathListFile[] = "C:\\PRTG_Path.Txt";

// `selected_mode` is the mode the installation's settings select. Sets
// ProfileName, ProfileFolder, ProfilePath and, for the global name, ItemMode
// in `state`, and the run's output mode in `mode`. The file at ProfilePath
// existed when this returned Ok.
Status LocateProfile(FileSystem& files, OutputMode selected_mode, SensorState* state,
                     OutputMode* mode);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_LOCATE_PROFILE_H_
