// One sensor start from command line to exit code.
#ifndef VAULTGAUGE_DRIVER_SENSOR_H_
#define VAULTGAUGE_DRIVER_SENSOR_H_

#include <cstdio>
#include <string>
#include <vector>

#include "output/output.h"

namespace vaultgauge {

// Runs the sensor with the command line's arguments (without the program
// name), writing the document to `stream`. Returns the exit code: 0 document
// written, 1 library error report, 2 error document.
int RunSensor(const std::vector<std::string>& arguments, std::FILE* stream);

// The driver's one fatal exit: the error document carrying `message` is
// printed. Returns the exit code 2.
int StopWithError(Output& output, const std::string& message);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_SENSOR_H_
