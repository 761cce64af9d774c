#include "driver/sensor.h"

#include "driver/sensor_state.h"
#include "driver/settings.h"
#include "driver/startup.h"
#include "platform/platform.h"
#include "util/file_system.h"

namespace vaultgauge {

int StopWithError(Output& output, const std::string& message) {
  output.OutputError(message);
  output.PrintBuffer();
  return 2;
}

int RunSensor(const std::vector<std::string>& arguments, std::FILE* stream) {
  SensorState state;
  Output output(stream, state.ParameterText);

  Status status = StartUp(arguments, LocalTimeOfDay(), &state);
  if (!status.ok()) return StopWithError(output, status.message());

  RealFileSystem files;
  OutputMode mode;
  status = ReadOutputModeSetting(files, ProgramFolder() + kSettingsFileName, &mode);
  if (!status.ok()) return StopWithError(output, status.message());
  output.set_mode(mode);

  return StopWithError(output, "Error 1002: Profile " + state.ProfileName + " is missing...");
}

}  // namespace vaultgauge
