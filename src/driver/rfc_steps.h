// The RFC steps both runs take for a system: logon with the profile, and
// system information with the database check.
#ifndef VAULTGAUGE_DRIVER_RFC_STEPS_H_
#define VAULTGAUGE_DRIVER_RFC_STEPS_H_

#include "driver/run_context.h"
#include "profile/connection_profile.h"
#include "util/status.h"

namespace vaultgauge {

// Opens the run's connection to the system of `profile` with the logon
// values of the parameters; error 1011 when none was opened. A destination
// file used is told to `notice`, by default through WriteDestinationNotice.
Status OpenProfileConnection(RunContext& run, const ConnectionProfile& profile,
                             const DestinationFileNotice& notice = {});

// The line of a destination file used: a diagnostic, never part of the
// document: among the progress lines when they are asked for, else on
// standard error.
void WriteDestinationNotice(RunContext& run, const std::string& destination);

// RFC_SYSTEM_INFO on the open connection, then the check that the database
// is Oracle (the first three characters of its name are "ORA").
Status CheckOracleDatabase(RunContext& run);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_RFC_STEPS_H_
