// The list of systems a global-list run measures: the global list file "SAP
// Tarnwick.Gbl" (many sensors, picked by the first word of the parameters) or
// the profile list file "Tarnwick.Prf" (the item from the command line).
#ifndef VAULTGAUGE_DRIVER_GLOBAL_LIST_H_
#define VAULTGAUGE_DRIVER_GLOBAL_LIST_H_

#include <string>

#include "driver/sensor_state.h"
#include "profile/profile_reader.h"
#include "util/file_system.h"
#include "util/status.h"

namespace vaultgauge {

inline constexpr char kGlobalListFile[] = "SAP Tarnwick.Gbl";
inline constexpr char kProfileListFile[] = "Tarnwick.Prf";

inline constexpr size_t kListLineCapacity = 199;
inline constexpr size_t kServerListingCapacity = 2047;

struct GlobalList {
  // Profile file names, each followed by "#", in file order.
  std::string ServerListing;
  // How each system is named in the output.
  vaultgauge::LabelKind LabelKind = vaultgauge::LabelKind::kProfileName;
};

// Reads the list file at `state->ProfilePath`. Fills `list` and the item name;
// with the global list the sensor line's text replaces the parameter text.
Status ReadGlobalList(FileSystem& files, SensorState* state, GlobalList* list);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_GLOBAL_LIST_H_
