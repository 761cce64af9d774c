// The sensor's RFC steps over SAP's classic RFC library, as they have always
// been taken: the trace file completes failed steps, the library's error
// handler writes the error report.
#ifndef VAULTGAUGE_RFC_CLASSIC_CONNECTION_H_
#define VAULTGAUGE_RFC_CLASSIC_CONNECTION_H_

#include <memory>

#include "rfc/rfc_connection.h"
#include "rfc/rfc_library.h"
#include "rfc/rfc_session.h"
#include "rfc/sap_connection.h"

namespace vaultgauge {

class ClassicConnection : public SapConnection {
 public:
  ClassicConnection(std::unique_ptr<RfcLibrary> library, const TracePoints& trace)
      : library_(std::move(library)), session_(*library_, trace), connection_(*library_) {}

  void InstallErrorReport(DocumentWriter& document) override;
  Status Open(const ConnectionProfile& profile, const LogonOverrides& overrides,
              const DestinationFileNotice& notice) override;
  Status ReadSystemInfo(SystemInfo* info) override;
  Status MeasureCurrentSizes(MeasurementSink& sink) override;
  void Close() override { connection_.Close(); }
  std::string FailureDetail(FileSystem& files) override;
  void WriteErrorReport(DocumentWriter& document, std::string_view operation) override;

 private:
  std::unique_ptr<RfcLibrary> library_;
  RfcSession session_;
  RfcConnection connection_;
  ConnectionRecords records_;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_CLASSIC_CONNECTION_H_
