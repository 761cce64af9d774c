#include "driver/rfc_steps.h"

#include <cstdio>

#include "rfc/system_info.h"
#include "util/messages.h"
#include "util/text.h"

namespace vaultgauge {

RFC_HANDLE OpenProfileConnection(RunContext& run, const ConnectionProfile& profile) {
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
  RFC_HANDLE handle =
      OpenConnection(run.session, profile, run.parameters.logon, notice, &run.records);
  run.connection.Set(handle);
  return handle;
}

Status CheckOracleDatabase(RunContext& run, RFC_HANDLE handle) {
  SystemInfo info;
  Status status = ReadSystemInfo(run.session, handle, &info);
  if (!status.ok()) return status;
  if (!StartsWith(info.database_system, "ORA")) {
    return Status::Error(Message(MessageId::kDatabaseMismatch));
  }
  return Status::Ok();
}

}  // namespace vaultgauge
