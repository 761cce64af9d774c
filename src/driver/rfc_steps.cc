#include "driver/rfc_steps.h"

#include <cstdio>

#include "util/messages.h"
#include "util/text.h"

namespace vaultgauge {

void WriteDestinationNotice(RunContext& run, const std::string& destination) {
  const std::string line = "* SapRfc.Ini.......: " + destination + "<\n";
  if (run.command_line.parameters.show_progress) {
    run.document.Aside(line);
  } else {
    std::fputs(line.c_str(), stderr);
  }
}

Status OpenProfileConnection(RunContext& run, const ConnectionProfile& profile,
                             const DestinationFileNotice& notice) {
  if (notice) return run.connection.Open(profile, run.parameters.logon, notice);
  return run.connection.Open(profile, run.parameters.logon, [&run](const std::string& destination) {
    WriteDestinationNotice(run, destination);
  });
}

Status CheckOracleDatabase(RunContext& run) {
  SystemInfo info;
  Status status = run.connection.ReadSystemInfo(&info);
  if (!status.ok()) return status;
  if (!StartsWith(info.database_system, "ORA")) {
    return Status::Error(Message(MessageId::kDatabaseMismatch));
  }
  return Status::Ok();
}

}  // namespace vaultgauge
