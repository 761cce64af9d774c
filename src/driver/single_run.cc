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

// PRTG reads no more channels than this of one sensor.
constexpr size_t kXmlChannelLimit = 50;

Status Measure(RunContext& run, const ConnectionProfile& profile) {
  const FullnessKeywords& fullness = run.parameters.fullness;
  if (!fullness.percent) {
    SizesReport report(run.document, profile.destination, run.parameters.gigabyte);
    return run.connection.MeasureCurrentSizes(report);
  }
  FullnessSettings settings;
  settings.limits = FullnessLimits(fullness);
  settings.skipped = fullness.skipped;
  settings.channel_limit = IsXmlMode(run.location.mode) ? kXmlChannelLimit : 0;
  FullnessReport report(run.document, profile.destination, std::move(settings));
  return run.connection.MeasureCurrentSizes(report);
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

  status = Measure(run, profile);
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
