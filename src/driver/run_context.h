// What the two runs work with: the inputs read before the run, which do not
// change during it, and the document, the files, the RFC library and the
// connection.
#ifndef VAULTGAUGE_DRIVER_RUN_CONTEXT_H_
#define VAULTGAUGE_DRIVER_RUN_CONTEXT_H_

#include "driver/locate_profile.h"
#include "driver/parameters.h"
#include "driver/startup.h"
#include "driver/watchdog.h"
#include "output/document_writer.h"
#include "rfc/open_connection.h"
#include "rfc/rfc_connection.h"
#include "rfc/rfc_session.h"
#include "util/file_system.h"

namespace vaultgauge {

struct RunContext {
  const CommandLine& command_line;
  // The run's parameters: a global list's sensor line replaces the command line's.
  const Parameters& parameters;
  const ProfileLocation& location;
  DocumentWriter& document;
  FileSystem& files;
  RfcSession& session;
  RfcConnection& connection;
  ConnectionRecords& records;
  Watchdog* watchdog = nullptr;  // with a time limit

  // The system the run works on from now on, for the time limit's message.
  void WorkingOn(const std::string& destination) const {
    if (watchdog != nullptr) watchdog->WorkingOn(destination);
  }
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_RUN_CONTEXT_H_
