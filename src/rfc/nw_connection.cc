#include "rfc/nw_connection.h"

#include <climits>
#include <cstdio>

#include "rfc/error_report.h"
#include "util/file_system.h"
#include "util/messages.h"

namespace vaultgauge {

namespace {

// Table TS as the NetWeaver library holds it. The report asks for the row
// count without a status: a failure to count is kept and given back as the
// next row's, so that nothing of a half-read table is reported.
class NwTable : public TablespaceTable {
 public:
  explicit NwTable(NwSizesTable& table) : table_(table) {}

  unsigned RowCount() override {
    if (!failure_.ok()) return UINT_MAX;
    unsigned count = 0;
    failure_ = table_.RowCount(&count);
    return failure_.ok() ? count : UINT_MAX;
  }

  Status ReadRow(unsigned number, Tablespace* tablespace) override {
    if (!failure_.ok()) return failure_;
    return table_.Read(number, tablespace);
  }

 private:
  NwSizesTable& table_;
  Status failure_;
};

}  // namespace

Status NwConnection::Open(const ConnectionProfile& profile, const LogonOverrides& overrides,
                          const DestinationFileNotice& notice) {
  const std::string destination_file = kDestinationFileHead + profile.destination;
  bool called = false;
  bool opened = false;
  // Only a file that can be opened is a destination file, as with the
  // classic library.
  if (std::FILE* file = OpenBinaryFile(destination_file); file != nullptr) {
    std::fclose(file);
    // The file's lines go to this one logon: no shared file is written.
    notice(profile.destination);
    NwParameters lines;
    if (ReadDestinationFile(destination_file, &lines)) {
      called = true;
      opened = client_.Open(DestinationLogonParameters(profile, overrides, lines));
    }
  } else {
    called = true;
    opened = client_.Open(ProfileLogonParameters(profile, overrides));
  }
  if (called) trace_.Trace(opened ? ++opened_ : 0, "RfcOpenConnection called");
  if (opened) return Status::Ok();
  std::string failed = Message(MessageId::kOpenFailed, {profile.destination});
  // A destination file that cannot be read reaches no library call.
  if (called) failed += client_.OpenFailureDetail();
  return Status::Error(failed);
}

Status NwConnection::ReadSystemInfo(SystemInfo* info) {
  Status status = client_.ReadSystemInfo(info);
  trace_.Trace(opened_, "RfcInvoke called", "RFC_SYSTEM_INFO");
  return status;
}

Status NwConnection::MeasureCurrentSizes(MeasurementSink& sink) {
  NwSizesTable table;
  Status status = client_.CallCurrentSizes(&table);
  trace_.Trace(opened_, "RfcInvoke called", "DB_ORA_CURRENT_SIZES");
  if (status.ok()) {
    NwTable rows(table);
    status = ReportTablespaces(rows, sink);
  }
  // Released also after a failure; a failed release ends the run in the error report.
  Status released = table.Release();
  if (!released.ok()) return released;
  return status;
}

void NwConnection::Close() { client_.Close(); }

void NwConnection::WriteErrorReport(DocumentWriter& document, std::string_view operation) {
  const NwError& error = client_.last_error();
  std::string status =
      "code " + std::to_string(error.code) + ", group " + std::to_string(error.group);
  const std::string report =
      ErrorReportText(ErrorReportFields{operation, error.key, status, error.message, description_});
  client_.Close();
  document.ErrorReport(report);
}

}  // namespace vaultgauge
