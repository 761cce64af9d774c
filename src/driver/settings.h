// The installation's settings file "vaultgauge.ini" beside the program: it
// selects the output mode.
#ifndef VAULTGAUGE_DRIVER_SETTINGS_H_
#define VAULTGAUGE_DRIVER_SETTINGS_H_

#include <string>

#include "output/output_mode.h"
#include "util/file_system.h"
#include "util/status.h"

namespace vaultgauge {

inline constexpr char kSettingsFileName[] = "vaultgauge.ini";

// Reads the output mode from the settings file at `path`. A missing file, or
// one without an "OutputMode=" line, means "EXEXML".
Status ReadOutputModeSetting(FileSystem& files, const std::string& path, OutputMode* mode);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_SETTINGS_H_
