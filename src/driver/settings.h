// The installation's settings file "vaultgauge.ini" beside the program: it
// selects the output mode and may force one of the two RFC libraries.
#ifndef VAULTGAUGE_DRIVER_SETTINGS_H_
#define VAULTGAUGE_DRIVER_SETTINGS_H_

#include <string>

#include "output/output_mode.h"
#include "rfc/sap_connection.h"
#include "util/file_system.h"
#include "util/status.h"

namespace vaultgauge {

inline constexpr char kSettingsFileName[] = "vaultgauge.ini";

struct Settings {
  OutputMode output_mode = OutputMode::kExeXml;
  RfcLibraryChoice rfc_library = RfcLibraryChoice::kAny;
  // "Parallel=N" (2 to 32): every global-list run measures N systems at
  // once; 0 for one after another.
  unsigned parallel = 0;
};

// Reads the settings file at `path`. A missing file, or one without an
// "OutputMode=" line, means "EXEXML"; without an "RfcLibrary=" line
// ("classic" or "netweaver", any letter case) the classic library is tried
// first. Any other value is refused: errors 1053 and 1054.
Status ReadSettings(FileSystem& files, const std::string& path, Settings* settings);

// The output mode alone.
Status ReadOutputModeSetting(FileSystem& files, const std::string& path, OutputMode* mode);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_SETTINGS_H_
