#include "driver/rfc_steps.h"

#include "rfc/system_info.h"
#include "util/messages.h"
#include "util/text.h"

namespace vaultgauge {

RFC_HANDLE OpenProfileConnection(RunContext& run, const ConnectionProfile& profile) {
  DocumentWriter& document = run.document;
  auto notice = [&document](const std::string& destination) {
    document.Aside("* SapRfc.Ini.......: " + destination + "<\n");
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
