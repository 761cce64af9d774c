// What the two runs work with: the inputs read before the run, which do not
// change during it, and the document, the files and the connection through
// the chosen RFC library.
#ifndef VAULTGAUGE_DRIVER_RUN_CONTEXT_H_
#define VAULTGAUGE_DRIVER_RUN_CONTEXT_H_

#include "driver/locate_profile.h"
#include "driver/parameters.h"
#include "driver/startup.h"
#include "output/document_writer.h"
#include "rfc/sap_connection.h"
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
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_RUN_CONTEXT_H_
