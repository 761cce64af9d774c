#include "driver/single_run.h"

#include "driver/progress.h"
#include "driver/rfc_steps.h"
#include "measure/current_sizes.h"
#include "platform/platform.h"
#include "rfc/error_report.h"
#include "rfc/trace_file.h"
#include "util/text.h"

namespace vaultgauge {

namespace {

void PrintProgressHead(RunContext& run) {
  SensorState& state = run.state;
  const std::string time = LocalTimeOfDay();
  run.output.PrintLine(state.StartLine);
  run.output.PrintLine(SystemProgressText(time, state.ProfileName, state.Profile) +
                       " State=Processing");
  run.output.PrintLine(ProgressText("* " + time + " " + kProgramWord + " - " +
                                    ShownParameters(state.RawParameterText)) +
                       " State=Executing");
}

}  // namespace

Status RunSingleSystem(RunContext& run) {
  SensorState& state = run.state;
  const ConnectionProfile& profile = state.Profile;

  InstallRfcErrorReport(run.session, run.output);
  run.output.Clear();
  if (state.ShowProgress) PrintProgressHead(run);

  RFC_HANDLE handle = OpenProfileConnection(run);
  if (handle == RFC_HANDLE_NULL) {
    return Status::Error("Error 1011: RFC-Open for " + profile.Destination + " failed !");
  }
  Status status = CheckOracleDatabase(run, handle);
  if (!status.ok()) return status;

  MeasureRequest request = RequestForProfile(state);
  bool item_found = false;
  status = MeasureCurrentSizes(run.session, handle, request, run.output, &item_found);
  run.connection.Close();
  if (!status.ok()) return status;

  run.output.PrintBuffer();
  RemoveFile(kTraceFileName);
  if (state.ShowProgress) run.output.PrintLine(ProcessedLine(LocalTimeOfDay()));
  return Status::Ok();
}

}  // namespace vaultgauge
