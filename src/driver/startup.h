// Start-up: the start line, the command line, and the keywords the driver
// itself takes from the parameter text.
#ifndef VAULTGAUGE_DRIVER_STARTUP_H_
#define VAULTGAUGE_DRIVER_STARTUP_H_

#include <string>
#include <vector>

#include "driver/sensor_state.h"
#include "util/status.h"

namespace vaultgauge {

// `arguments` are the command line's arguments without the program name;
// `time_of_day` is the local time as "HH:MM:SS".
Status StartUp(const std::vector<std::string>& arguments, const std::string& time_of_day,
               SensorState* state);

// Evaluates "CLIENT=" in the parameter text: the (up to) three characters after it.
void EvaluateClientOverride(SensorState* state);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_STARTUP_H_
