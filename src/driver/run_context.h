// What the two runs work with: the run-wide state, the document, the files,
// the RFC library and the connection.
#ifndef VAULTGAUGE_DRIVER_RUN_CONTEXT_H_
#define VAULTGAUGE_DRIVER_RUN_CONTEXT_H_

#include "driver/sensor_state.h"
#include "output/output.h"
#include "rfc/open_connection.h"
#include "rfc/rfc_connection.h"
#include "rfc/rfc_session.h"
#include "util/file_system.h"

namespace vaultgauge {

struct RunContext {
  SensorState& state;
  Output& output;
  FileSystem& files;
  RfcSession& session;
  RfcConnection& connection;
  ConnectionRecords& records;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_RUN_CONTEXT_H_
