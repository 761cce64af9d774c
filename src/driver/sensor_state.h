// The run-wide state of one sensor start, set up at start-up and completed by
// the location of the profile.
#ifndef VAULTGAUGE_DRIVER_SENSOR_STATE_H_
#define VAULTGAUGE_DRIVER_SENSOR_STATE_H_

#include <string>

#include "profile/connection_profile.h"

namespace vaultgauge {

inline constexpr char kProgramWord[] = "Vaultgauge";
inline constexpr char kVersionText[] = "Vers 4.3 / 29.08.22";

// Capacities of the fixed texts, in characters.
inline constexpr size_t kProfileNameCapacity = 63;
inline constexpr size_t kParameterTextCapacity = 127;
inline constexpr size_t kItemNameCapacity = 90;
inline constexpr size_t kStartLineCapacity = 123;
inline constexpr size_t kProfileFolderCapacity = 95;
inline constexpr size_t kProfilePathCapacity = 95;

struct SensorState {
  std::string StartTime;         // "HH:MM:SS" of the start
  std::string StartLine;         // the first progress line
  std::string ProfileName;       // the profile file's name, without folder once located
  std::string ParameterText;     // arguments 2 and 3, upper-cased: searched for keywords
  std::string RawParameterText;  // the same as entered, at the same positions
  std::string ClientOverride;    // the characters after "CLIENT="
  bool ItemMode = false;         // the global-list form
  std::string ItemName;          // the tablespace measured in the global-list form
  bool ShowProgress = false;     // print progress lines besides the document
  std::string Argument2;         // command-line argument 2 as entered

  std::string ProfileFolder;  // empty, or ending with a path separator
  std::string ProfilePath;    // ProfileFolder followed by ProfileName

  ConnectionProfile Profile;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_SENSOR_STATE_H_
