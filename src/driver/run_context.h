// What the two runs work with: the inputs read before the run, which do not
// change during it, and the document, the files and the connection through
// the chosen RFC library.
#ifndef VAULTGAUGE_DRIVER_RUN_CONTEXT_H_
#define VAULTGAUGE_DRIVER_RUN_CONTEXT_H_

#include "driver/locate_profile.h"
#include "driver/parameters.h"
#include "driver/startup.h"
#include "driver/watchdog.h"
#include "output/document_writer.h"
#include "rfc/sap_connection.h"
#include "rfc/trace_file.h"
#include "util/file_system.h"

namespace vaultgauge {

struct RunContext {
  const CommandLine& command_line;
  // The run's parameters: a global list's sensor line replaces the command line's.
  const Parameters& parameters;
  const ProfileLocation& location;
  DocumentWriter& document;
  FileSystem& files;
  SapConnection& connection;
  // The library's trace file as it was before the library was loaded.
  TraceFileMark trace_mark;
  Watchdog* watchdog = nullptr;  // with a time limit

  // The system the run works on from now on, for the time limit's message.
  void WorkingOn(const std::string& destination) const {
    if (watchdog != nullptr) watchdog->WorkingOn(destination);
  }
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_RUN_CONTEXT_H_
