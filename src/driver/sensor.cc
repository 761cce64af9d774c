#include "driver/sensor.h"

#include "driver/locate_profile.h"
#include "driver/sensor_state.h"
#include "driver/settings.h"
#include "driver/startup.h"
#include "platform/platform.h"
#include "profile/profile_reader.h"
#include "util/file_system.h"

namespace vaultgauge {

namespace {

// Interim ends of the two runs, until the RFC layer and the global list exist.
int RunGlobalList(Output& output) {
  return StopWithError(output, "Error 1099: Global-list run not available yet");
}

int RunSingleSystem(Output& output) {
  return StopWithError(output, "Error 1098: RFC layer not available yet");
}

}  // namespace

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
  OutputMode selected_mode;
  status = ReadOutputModeSetting(files, ProgramFolder() + kSettingsFileName, &selected_mode);
  if (!status.ok()) return StopWithError(output, status.message());

  OutputMode mode;
  status = LocateProfile(files, selected_mode, &state, &mode);
  if (!status.ok()) return StopWithError(output, status.message());
  output.set_mode(mode);

  if (state.ItemMode) return RunGlobalList(output);

  status = ReadProfile(files, state.ProfilePath, state.ProfileName, &state.Profile);
  if (!status.ok()) return StopWithError(output, status.message());
  return RunSingleSystem(output);
}

}  // namespace vaultgauge
