// One sensor start from command line to exit code.
#ifndef VAULTGAUGE_DRIVER_SENSOR_H_
#define VAULTGAUGE_DRIVER_SENSOR_H_

#include <cstdio>
#include <string>
#include <vector>

namespace vaultgauge {

// Runs the sensor with the command line's arguments (without the program
// name), writing the document to `stream`. Returns the exit code: 0 document
// written, 1 library error report, 2 error document.
int RunSensor(const std::vector<std::string>& arguments, std::FILE* stream);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_SENSOR_H_
