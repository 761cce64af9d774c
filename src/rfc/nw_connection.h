// The sensor's RFC steps over SAP's NetWeaver RFC library. A failed step is
// completed by the library's own message from its error record (there is no
// trace file to scan); a failure of the library's own housekeeping ends the
// run in the classic error report, filled from that record.
#ifndef VAULTGAUGE_RFC_NW_CONNECTION_H_
#define VAULTGAUGE_RFC_NW_CONNECTION_H_

#include <memory>
#include <string>

#include "rfc/nwrfc_client.h"
#include "rfc/nwrfc_library.h"
#include "rfc/sap_connection.h"

namespace vaultgauge {

class NwConnection : public SapConnection {
 public:
  // `description` names the library and its version in the error report.
  NwConnection(std::unique_ptr<NwRfcApi> library, std::string description, const TracePoints& trace)
      : library_(std::move(library)),
        description_(std::move(description)),
        trace_(trace),
        client_(*library_) {}

  // Nothing to install: the library reports its failures by result codes.
  void InstallErrorReport(DocumentWriter&) override {}
  Status Open(const ConnectionProfile& profile, const LogonOverrides& overrides,
              const DestinationFileNotice& notice) override;
  Status ReadSystemInfo(SystemInfo* info) override;
  Status MeasureCurrentSizes(MeasurementSink& sink) override;
  void Close() override;
  // The failure's text already ends with the library's message.
  std::string FailureDetail(FileSystem&) override { return std::string(); }
  void WriteErrorReport(DocumentWriter& document, std::string_view operation) override;

 private:
  std::unique_ptr<NwRfcApi> library_;
  std::string description_;
  TracePoints trace_;
  NwRfcClient client_;
  // The trace lines number the connections from 1, as the classic handles go.
  int opened_ = 0;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_NW_CONNECTION_H_
