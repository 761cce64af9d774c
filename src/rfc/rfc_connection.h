// The connection a run holds: closed once, by the run or, after a failure,
// by the driver once the error document is printed.
#ifndef VAULTGAUGE_RFC_RFC_CONNECTION_H_
#define VAULTGAUGE_RFC_RFC_CONNECTION_H_

#include "rfc/rfc_api.h"

namespace vaultgauge {

class RfcConnection {
 public:
  explicit RfcConnection(RfcApi& api) : api_(api) {}
  RfcConnection(const RfcConnection&) = delete;
  RfcConnection& operator=(const RfcConnection&) = delete;

  void Set(RFC_HANDLE handle) { handle_ = handle; }
  RFC_HANDLE handle() const { return handle_; }

  // Closes this connection only: the library takes handle 0 for all of them.
  void Close() {
    if (handle_ != RFC_HANDLE_NULL) api_.Close(handle_);
    handle_ = RFC_HANDLE_NULL;
  }

 private:
  RfcApi& api_;
  RFC_HANDLE handle_ = RFC_HANDLE_NULL;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_RFC_CONNECTION_H_
