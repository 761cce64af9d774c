#include "rfc/classic_connection.h"

#include "measure/current_sizes.h"
#include "rfc/error_report.h"
#include "rfc/trace_file.h"
#include "util/messages.h"

namespace vaultgauge {

void ClassicConnection::InstallErrorReport(DocumentWriter& document) {
  InstallRfcErrorReport(session_, document);
}

Status ClassicConnection::Open(const ConnectionProfile& profile, const LogonOverrides& overrides,
                               const DestinationFileNotice& notice) {
  RFC_HANDLE handle = OpenConnection(session_, profile, overrides, notice, &records_);
  connection_.Set(handle);
  if (handle == RFC_HANDLE_NULL) {
    return Status::Error(Message(MessageId::kOpenFailed, {profile.destination}));
  }
  return Status::Ok();
}

Status ClassicConnection::ReadSystemInfo(SystemInfo* info) {
  return vaultgauge::ReadSystemInfo(session_, connection_.handle(), info);
}

Status ClassicConnection::MeasureCurrentSizes(MeasurementSink& sink) {
  return vaultgauge::MeasureCurrentSizes(session_, connection_.handle(), sink);
}

std::string ClassicConnection::FailureDetail(FileSystem& files) {
  return ScanTraceFile(files, LastErrorMessage(*library_));
}

void ClassicConnection::WriteErrorReport(DocumentWriter& document, std::string_view operation) {
  WriteRfcErrorReport(*library_, document, operation);
}

}  // namespace vaultgauge
