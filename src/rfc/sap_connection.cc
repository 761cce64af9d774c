#include "rfc/sap_connection.h"

#include "platform/platform.h"
#include "rfc/classic_connection.h"
#include "rfc/nw_connection.h"
#include "util/messages.h"

namespace vaultgauge {

namespace {

// Whether `status` is the loader's error 1061 for `file_name`: the library is
// not there at all, as opposed to one that lacks an entry point.
bool NotLoaded(const Status& status, const std::string& file_name) {
  return status.message() == Message(MessageId::kLibraryNotLoaded, {file_name});
}

}  // namespace

Status LoadSapConnection(RfcLibraryChoice choice, const TracePoints& trace,
                         std::unique_ptr<SapConnection>* connection) {
  const std::string classic_name = RfcLibraryFileName();
  if (choice != RfcLibraryChoice::kNetWeaver) {
    std::unique_ptr<RfcLibrary> classic;
    Status status = RfcLibrary::Load(&classic);
    if (status.ok()) {
      *connection = std::make_unique<ClassicConnection>(std::move(classic), trace);
      return Status::Ok();
    }
    // Only a classic library that is not there gives way to the other one.
    if (choice == RfcLibraryChoice::kClassic || !NotLoaded(status, classic_name)) return status;
  }

  const std::string name = NwRfcLibraryFileName();
  std::unique_ptr<NwRfcLibrary> library;
  Status status = NwRfcLibrary::Load(&library);
  if (!status.ok()) {
    if (choice == RfcLibraryChoice::kAny && NotLoaded(status, name)) {
      return Status::Error(Message(MessageId::kLibraryNotLoaded, {classic_name + " or " + name}));
    }
    return status;
  }
  const std::string version = library->VersionText();
  trace.Trace(RFC_HANDLE_NULL, "RFC library loaded", name + " " + version);
  *connection =
      std::make_unique<NwConnection>(std::move(library), "NetWeaver RFC library " + version, trace);
  return Status::Ok();
}

}  // namespace vaultgauge
