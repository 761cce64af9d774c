// Start-up: the start line and the command line, read into the values every
// later step takes as input.
#ifndef VAULTGAUGE_DRIVER_STARTUP_H_
#define VAULTGAUGE_DRIVER_STARTUP_H_

#include <string>
#include <string_view>
#include <vector>

#include "driver/parameters.h"
#include "util/status.h"

namespace vaultgauge {

inline constexpr char kProgramWord[] = "Vaultgauge";
inline constexpr char kVersionNumber[] = "4.3";
inline constexpr char kVersionText[] = "Vers 4.3 / 29.08.22";
static_assert(std::string_view(kVersionText).substr(5, 3) == kVersionNumber,
              "the start line names the same version");
inline constexpr size_t kProfileNameCapacity = 63;

// The fixed name of the profile list that "ITEM=" selects, whatever argument
// 1 says: installed sensors are set up that way.
inline constexpr char kProfileListFile[] = "Tarnwick.Prf";

struct CommandLine {
  std::string start_time;    // "HH:MM:SS" of the start
  std::string start_line;    // the first progress line
  std::string profile_name;  // argument 1, or the profile list's name with "ITEM="
  std::string argument2;     // as entered: the global sensor's name in error 1030
  Parameters parameters;     // arguments 2 and 3 joined by a blank
};

// `arguments` are the command line's arguments without the program name;
// `time_of_day` is the local time as "HH:MM:SS".
Status ReadCommandLine(const std::vector<std::string>& arguments, const std::string& time_of_day,
                       CommandLine* command_line);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_STARTUP_H_
