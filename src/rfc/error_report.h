// The fatal RFC error report: the failed operation, the library's last error,
// all connections closed; the run then ends with exit code 1.
#ifndef VAULTGAUGE_RFC_ERROR_REPORT_H_
#define VAULTGAUGE_RFC_ERROR_REPORT_H_

#include <string>
#include <string_view>

#include "output/document_writer.h"
#include "rfc/rfc_api.h"
#include "rfc/rfc_session.h"

namespace vaultgauge {

inline constexpr int kErrorReportExitCode = 1;

// Writes the report for the failed `operation` through `document` and closes
// every connection. The driver calls it for a Status::LibraryError and then
// exits with kErrorReportExitCode.
void WriteRfcErrorReport(RfcApi& api, DocumentWriter& document, std::string_view operation);

// The message of the library's last error in this process.
std::string LastErrorMessage(RfcApi& api);

// Installs the error report as the library's error handler (RfcEnvironment):
// when the library reports a failure, the report is written through
// `document` and the process ends at once with exit code 1. `document` must
// live until the process ends.
void InstallRfcErrorReport(RfcSession& session, DocumentWriter& document);

// The handler itself, as the library calls it. Never returns.
extern "C" void DLL_CALL_BACK_FUNCTION RfcErrorReport(RFC_CHAR* operation);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_ERROR_REPORT_H_
