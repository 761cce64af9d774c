// The first call on a new connection: RFC_SYSTEM_INFO, for the system's
// database and host.
#ifndef VAULTGAUGE_RFC_SYSTEM_INFO_H_
#define VAULTGAUGE_RFC_SYSTEM_INFO_H_

#include <string>

#include "rfc/rfc_session.h"
#include "util/status.h"

namespace vaultgauge {

struct SystemInfo {
  std::string database_system;  // RFCDBSYS: 10 characters, trailing blanks kept
  std::string host;             // RFCHOST: 8 characters
};

// Calls RFC_SYSTEM_INFO on `handle`. A failed call or an exception gives
// Status::RfcFailure with its error text (errors 1012 to 1015), to which the caller
// appends the trace-file text; a failed type installation gives
// Status::LibraryError("RfcInstallStructure"). `info` is filled on success only.
Status ReadSystemInfo(RfcSession& session, RFC_HANDLE handle, SystemInfo* info);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_SYSTEM_INFO_H_
