// The sensor's RFC steps over one RFC library: logon, system information,
// the measurement, and how the library's failures are reported. The runs use
// only this; the classic library and the NetWeaver library each implement it,
// and the sensor chooses one at start.
#ifndef VAULTGAUGE_RFC_SAP_CONNECTION_H_
#define VAULTGAUGE_RFC_SAP_CONNECTION_H_

#include <memory>
#include <string>
#include <string_view>

#include "measure/tablespace_report.h"
#include "output/document_writer.h"
#include "profile/connection_profile.h"
#include "rfc/open_connection.h"
#include "rfc/system_info.h"
#include "rfc/trace_points.h"
#include "util/file_system.h"
#include "util/status.h"

namespace vaultgauge {

// One connection at a time: every Open replaces the connection before it.
class SapConnection {
 public:
  virtual ~SapConnection() = default;

  // Makes the library's own failures end the run in the error report,
  // written through `document`, which must live until the process ends.
  virtual void InstallErrorReport(DocumentWriter& document) = 0;

  // Logs on with `profile`, or through its destination file
  // "SapRfc.<Destination>" when one lies in the working folder, telling
  // `notice` first. Error 1011 when no connection was opened.
  virtual Status Open(const ConnectionProfile& profile, const LogonOverrides& overrides,
                      const DestinationFileNotice& notice) = 0;

  // RFC_SYSTEM_INFO on the open connection. A failed call is
  // Status::RfcFailure (errors 1012 to 1015), a failed library operation
  // Status::LibraryError.
  virtual Status ReadSystemInfo(SystemInfo* info) = 0;

  // DB_ORA_CURRENT_SIZES on the open connection, its table TS handed to
  // `sink`; the failures as ReadSystemInfo's, a corrupt answer Status::Error.
  virtual Status MeasureCurrentSizes(MeasurementSink& sink) = 0;

  // Closes the open connection, if any.
  virtual void Close() = 0;

  // The text that completes the message of a failed remote step.
  virtual std::string FailureDetail(FileSystem& files) = 0;

  // The error report of a Status::LibraryError naming `operation`; closes
  // every connection. The run then ends with kErrorReportExitCode.
  virtual void WriteErrorReport(DocumentWriter& document, std::string_view operation) = 0;
};

// Which library the settings ask for: kAny tries the classic library first
// and the NetWeaver library when the classic one cannot be loaded.
enum class RfcLibraryChoice { kAny, kClassic, kNetWeaver };

// Loads the library of `choice` from the program's folder or through the
// system's search. Error 1061 names the file (both files when both were
// tried and neither loaded), error 1062 a missing entry point. The NetWeaver
// library's file and version are traced once it is loaded.
Status LoadSapConnection(RfcLibraryChoice choice, const TracePoints& trace,
                         std::unique_ptr<SapConnection>* connection);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_SAP_CONNECTION_H_
