#include "driver/single_run.h"

#include "driver/progress.h"
#include "driver/rfc_steps.h"
#include "measure/current_sizes.h"
#include "platform/platform.h"
#include "rfc/error_report.h"
#include "rfc/trace_file.h"
#include "util/messages.h"

namespace vaultgauge {

namespace {

void WriteProgressHead(RunContext& run, const ConnectionProfile& profile) {
  const std::string time = LocalTimeOfDay();
  DocumentWriter& document = run.document;
  document.Aside(run.command_line.start_line + "\n");
  document.Aside(SystemProgressText(time, run.location.name, profile) + " State=Processing\n");
  document.Aside(ProgressText("* " + time + " " + kProgramWord + " - " +
                              ShownParameters(run.parameters.raw_text)) +
                 " State=Executing\n");
}

// PRTG reads no more channels than this of one sensor.
constexpr size_t kXmlChannelLimit = 50;

Status Measure(RunContext& run, const ConnectionProfile& profile, RFC_HANDLE handle) {
  const FullnessKeywords& fullness = run.parameters.fullness;
  if (!fullness.percent) {
    SizesReport report(run.document, profile.destination, run.parameters.gigabyte);
    return MeasureCurrentSizes(run.session, handle, report);
  }
  FullnessSettings settings;
  settings.limits = FullnessLimits(fullness);
  settings.skipped = fullness.skipped;
  settings.channel_limit = IsXmlMode(run.location.mode) ? kXmlChannelLimit : 0;
  FullnessReport report(run.document, profile.destination, std::move(settings));
  return MeasureCurrentSizes(run.session, handle, report);
}

}  // namespace

Status RunSingleSystem(RunContext& run, const ConnectionProfile& profile) {
  InstallRfcErrorReport(run.session, run.document);
  if (run.parameters.show_progress) WriteProgressHead(run, profile);

  RFC_HANDLE handle = OpenProfileConnection(run, profile);
  if (handle == RFC_HANDLE_NULL) {
    return Status::Error(Message(MessageId::kOpenFailed, {profile.destination}));
  }
  Status status = CheckOracleDatabase(run, handle);
  if (!status.ok()) return status;

  status = Measure(run, profile, handle);
  run.connection.Close();
  if (!status.ok()) return status;

  run.document.EndSystem();
  RemoveTraceFileUnlessWritten(run.session.trace_mark);
  if (run.parameters.show_progress) {
    run.document.Aside(ProcessedLine(LocalTimeOfDay()) + "\n");
  }
  return Status::Ok();
}

}  // namespace vaultgauge
