// The RFC steps both runs take for a system: logon with the profile, and
// system information with the database check.
#ifndef VAULTGAUGE_DRIVER_RFC_STEPS_H_
#define VAULTGAUGE_DRIVER_RFC_STEPS_H_

#include "driver/run_context.h"
#include "profile/connection_profile.h"
#include "util/status.h"

namespace vaultgauge {

// Opens the run's connection to the system of `profile` with the logon
// values of the parameters; error 1011 when none was opened.
Status OpenProfileConnection(RunContext& run, const ConnectionProfile& profile);

// RFC_SYSTEM_INFO on the open connection, then the check that the database
// is Oracle (the first three characters of its name are "ORA").
Status CheckOracleDatabase(RunContext& run);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_RFC_STEPS_H_
