#include "driver/sensor.h"

#include <exception>

#include "driver/global_list.h"
#include "driver/global_run.h"
#include "driver/locate_profile.h"
#include "driver/run_context.h"
#include "driver/sensor_state.h"
#include "driver/settings.h"
#include "driver/single_run.h"
#include "driver/startup.h"
#include "platform/platform.h"
#include "profile/profile_reader.h"
#include "rfc/error_report.h"
#include "rfc/rfc_library.h"
#include "rfc/trace_file.h"
#include "util/file_system.h"

namespace vaultgauge {

int StopWithError(Output& output, const std::string& message) {
  output.OutputError(message);
  output.PrintBuffer();
  return 2;
}

namespace {

// Start-up, the output mode, the profile or the list: everything read from
// files comes before the library.
Status Prepare(const std::vector<std::string>& arguments, FileSystem& files, SensorState* state,
               GlobalList* list, Output* output) {
  Status status = StartUp(arguments, LocalTimeOfDay(), state);
  if (!status.ok()) return status;

  OutputMode selected_mode;
  status = ReadOutputModeSetting(files, ProgramFolder() + kSettingsFileName, &selected_mode);
  if (!status.ok()) return status;

  OutputMode mode;
  status = LocateProfile(files, selected_mode, state, &mode);
  if (!status.ok()) return status;
  output->set_mode(mode);

  if (state->ItemMode) return ReadGlobalList(files, state, list);
  return ReadProfile(files, state->ProfilePath, state->ProfileName, &state->Profile);
}

// The one place where a run ends: the error document or the library's error
// report is printed, the connection closed, the exit code chosen.
int Finish(const Status& status, Output& output, FileSystem& files, RfcApi& api,
           RfcConnection& connection) {
  if (status.ok()) return 0;
  if (status.is_library_error()) {
    PrintRfcErrorReport(api, output, status.message());
    return kErrorReportExitCode;
  }
  std::string message = status.message();
  // A failed remote call is completed by the library's own words.
  if (status.is_rfc_failure()) message += ScanTraceFile(files);
  int code = StopWithError(output, message);
  connection.Close();
  return code;
}

int Run(const std::vector<std::string>& arguments, SensorState& state, Output& output) {
  RealFileSystem files;

  GlobalList list;
  Status status = Prepare(arguments, files, &state, &list, &output);
  if (!status.ok()) return StopWithError(output, status.message());

  std::unique_ptr<RfcLibrary> library;
  status = RfcLibrary::Load(&library);
  if (!status.ok()) return StopWithError(output, status.message());

  RfcSession session(*library, TracePoints(state.ParameterText));
  session.trace.Trace(RFC_HANDLE_NULL, "program started", ProgramPath());
  RfcConnection connection(*library);
  ConnectionRecords records;
  RunContext run{state, output, files, session, connection, records};
  status = state.ItemMode ? RunGlobalList(run, list) : RunSingleSystem(run);
  return Finish(status, output, files, *library, connection);
}

}  // namespace

int RunSensor(const std::vector<std::string>& arguments, std::FILE* stream) {
  SensorState state;
  Output output(stream, state.ParameterText);
  try {
    return Run(arguments, state, output);
  } catch (const std::exception& failure) {
    // Running out of memory, say: the host still gets a document it can read.
    return StopWithError(output,
                         std::string("Error 1090: Internal failure (") + failure.what() + ") !");
  }
}

}  // namespace vaultgauge
