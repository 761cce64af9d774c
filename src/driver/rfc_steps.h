// The RFC steps both runs take for a system: logon with the profile, system
// information with the database check, and what the measurement is asked.
#ifndef VAULTGAUGE_DRIVER_RFC_STEPS_H_
#define VAULTGAUGE_DRIVER_RFC_STEPS_H_

#include "driver/run_context.h"
#include "measure/current_sizes.h"
#include "util/status.h"

namespace vaultgauge {

// Opens a connection to the system of the profile read, with the logon
// values of the parameter text; 0 when none was opened.
RFC_HANDLE OpenProfileConnection(RunContext& run);

// RFC_SYSTEM_INFO on the open connection, then the check that the database
// is Oracle (the first three characters of its name are "ORA").
Status CheckOracleDatabase(RunContext& run, RFC_HANDLE handle);

// The measurement's request for the profile read and the parameter text.
MeasureRequest RequestForProfile(const SensorState& state);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_RFC_STEPS_H_
