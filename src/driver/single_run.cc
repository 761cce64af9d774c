#include "driver/single_run.h"

#include "driver/progress.h"
#include "driver/rfc_steps.h"
#include "platform/platform.h"
#include "rfc/trace_file.h"

namespace vaultgauge {

namespace {

void WriteProgressHead(RunContext& run, const ConnectionProfile& profile) {
  const std::string time = LocalTimeOfDay();
  DocumentWriter& document = run.document;
  document.Aside(run.command_line.start_line + "\n");
  document.Aside(TriedFolderLines(run.location.tried_folders));
  document.Aside(SystemProgressText(time, run.location.name, profile) + " State=Processing\n");
  document.Aside(ProgressText("* " + time + " " + kProgramWord + " - " +
                              ShownParameters(run.parameters.raw_text)) +
                 " State=Executing\n");
}

}  // namespace

Status RunSingleSystem(RunContext& run, const ConnectionProfile& profile) {
  run.connection.InstallErrorReport(run.document);
  run.WorkingOn(profile.destination);
  if (run.parameters.show_progress) WriteProgressHead(run, profile);

  Status status = OpenProfileConnection(run, profile);
  if (!status.ok()) return status;
  status = CheckOracleDatabase(run);
  if (!status.ok()) return status;

  SizesReport report(run.document, profile.destination, run.parameters.gigabyte);
  status = run.connection.MeasureCurrentSizes(report);
  run.connection.Close();
  if (!status.ok()) return status;

  run.document.EndSystem();
  RemoveTraceFileUnlessWritten(run.trace_mark);
  if (run.parameters.show_progress) {
    run.document.Aside(ProcessedLine(LocalTimeOfDay()) + "\n");
  }
  return Status::Ok();
}

}  // namespace vaultgauge
