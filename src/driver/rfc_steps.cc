#include "driver/rfc_steps.h"

#include "util/messages.h"
#include "util/text.h"

namespace vaultgauge {

Status OpenProfileConnection(RunContext& run, const ConnectionProfile& profile) {
  DocumentWriter& document = run.document;
  auto notice = [&document](const std::string& destination) {
    document.Aside("* SapRfc.Ini.......: " + destination + "<\n");
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
