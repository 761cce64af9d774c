#include "driver/rfc_steps.h"

#include <cstdio>

#include "util/messages.h"
#include "util/text.h"

namespace vaultgauge {

Status OpenProfileConnection(RunContext& run, const ConnectionProfile& profile) {
  // A diagnostic line, never part of the document: among the progress lines
  // when they are asked for, else on standard error.
  DocumentWriter& document = run.document;
  const bool show_progress = run.command_line.parameters.show_progress;
  auto notice = [&document, show_progress](const std::string& destination) {
    const std::string line = "* SapRfc.Ini.......: " + destination + "<\n";
    if (show_progress) {
      document.Aside(line);
    } else {
      std::fputs(line.c_str(), stderr);
    }
  };
  return run.connection.Open(profile, run.parameters.logon, notice);
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
