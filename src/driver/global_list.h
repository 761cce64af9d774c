// The list of systems a global-list run measures: the global list file "SAP
// Tarnwick.Gbl" (many sensors, picked by the first word of the parameters) or
// the profile list file "Tarnwick.Prf" (the item from the command line).
#ifndef VAULTGAUGE_DRIVER_GLOBAL_LIST_H_
#define VAULTGAUGE_DRIVER_GLOBAL_LIST_H_

#include <string>

#include "driver/locate_profile.h"
#include "driver/parameters.h"
#include "driver/startup.h"
#include "profile/profile_reader.h"
#include "util/file_system.h"
#include "util/status.h"

namespace vaultgauge {

inline constexpr char kGlobalListFile[] = "SAP Tarnwick.Gbl";

inline constexpr size_t kListLineCapacity = 199;
inline constexpr size_t kServerListingCapacity = 2047;

struct SystemList {
  // Profile file names, each followed by "#", in file order.
  std::string server_listing;
  // The tablespace measured on every system.
  std::string item_name;
  // How each system is named in the output.
  LabelKind label_kind = LabelKind::kProfileName;
  // The parameters of the run: the global list's sensor line replaces the
  // command line's; the profile list keeps them.
  Parameters parameters;
};

// Reads the list file found at `location`.
Status ReadGlobalList(FileSystem& files, const ProfileLocation& location,
                      const CommandLine& command_line, SystemList* list);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_GLOBAL_LIST_H_
