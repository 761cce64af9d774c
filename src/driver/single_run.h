// The run of the ordinary sensor: one profile, one SAP system, one document.
#ifndef VAULTGAUGE_DRIVER_SINGLE_RUN_H_
#define VAULTGAUGE_DRIVER_SINGLE_RUN_H_

#include "driver/run_context.h"
#include "profile/connection_profile.h"
#include "util/status.h"

namespace vaultgauge {

// Logs on with `profile`, checks that the database is Oracle and measures. On
// success the whole document is written and the library's trace file
// deleted; a failure is returned for the driver to report.
Status RunSingleSystem(RunContext& run, const ConnectionProfile& profile);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_SINGLE_RUN_H_
