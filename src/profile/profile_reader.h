// Reads a connection profile file into the connection profile record, in the
// two forms the runs need: the single form reports the first failure as the
// error document's message; the global-list form marks the system instead.
#ifndef VAULTGAUGE_PROFILE_PROFILE_READER_H_
#define VAULTGAUGE_PROFILE_PROFILE_READER_H_

#include <cstddef>
#include <optional>
#include <string>

#include "profile/connection_profile.h"
#include "util/file_system.h"
#include "util/status.h"

namespace vaultgauge {

// How a system of the global list is named in the output.
enum class LabelKind : char {
  kProfileName = '1',  // the list entry: the profile file name
  kAlias = '2',        // the list entry without its extension
  kHost = '3',         // the profile's Hostname
  kSid = '4',          // the profile's Destination
};

// Whether a system of the global list passed its profile checks and logon.
enum class SystemMark : char {
  kGood = '.',
  kFailed = 'X',
};

// Longer lines continue as a further line.
inline constexpr size_t kSingleFormPieceLength = 159;
inline constexpr size_t kGlobalListFormPieceLength = 199;

// Single form. Reads the profile file at `path` into `profile`; a failure
// carries the message naming `profile_name`. On a failure `profile` holds what
// was read up to it, which the sensor never uses.
Status ReadProfile(FileSystem& files, const std::string& path, const std::string& profile_name,
                   ConnectionProfile* profile);

// A system of the global list as its profile describes it.
struct ListedProfile {
  ConnectionProfile profile;
  SystemMark mark = SystemMark::kGood;  // kFailed after a failed check
  std::string label;                    // the system's name in the output
};

// Global-list form: reads `profile_folder` + `entry`; nothing when the file
// cannot be opened. A value too long for its field is left out of the record
// rather than cut.
std::optional<ListedProfile> ReadListedProfile(FileSystem& files, const std::string& profile_folder,
                                               const std::string& entry, LabelKind label_kind);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_PROFILE_PROFILE_READER_H_
